// The cookie tag; see TPCookieTag.h.
#include "engine/tags/TPCookieTag.h"

namespace vantrel {

TPCookieTag::TPCookieTag(TPBaseTag* parent, std::string_view attributeText)
    : TPBaseTag(parent, kCookie, attributeText) {
  MakeAttributeFragment();
}

std::string TPCookieTag::Render() {
  Suppressed = Parent->Suppressed;
  if (Engine->Stopped() || Suppressed) return std::string();
  if (!PrepareAttributes()) return std::string();
  std::string name = GetAttribute("name", "");
  std::string value = GetAttribute("value", "");
  Cookies->SetValue(name, value);
  Cookies->Changed = true;
  return std::string();
}

}  // namespace vantrel
