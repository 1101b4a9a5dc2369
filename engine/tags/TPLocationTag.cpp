// The location tag; see TPLocationTag.h.
#include "engine/tags/TPLocationTag.h"

#include "engine/Strings.h"

namespace vantrel {

TPLocationTag::TPLocationTag(TPBaseTag* parent, std::string_view attributeText)
    : TPBaseTag(parent, kLocation, attributeText) {
  MakeAttributeFragment();
}

std::string TPLocationTag::Render() {
  Suppressed = Parent->Suppressed;
  if (Engine->Stopped() || Suppressed) return std::string();
  if (!PrepareAttributes()) return std::string();
  if (!HasAttribute("url")) return std::string();
  std::string url = GetAttribute("url", "");
  Engine->StopRendering = true;
  SetLocation(url);
  if (!StartsWith(url, "/")) {
    // Leading climbs are dropped: the host maps the redirect from the application folder.
    while (Contains(url, "../")) url.erase(0, 3);
    SetLocation(url);
  }
  return std::string();
}

}  // namespace vantrel
