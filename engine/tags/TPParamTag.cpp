// The param tag; see TPParamTag.h.
#include "engine/tags/TPParamTag.h"

namespace vantrel {

TPParamTag::TPParamTag(TPBaseTag* parent, std::string_view attributeText) : TPBaseTag(parent, kParam, attributeText) {
  MakeAttributeFragment();
}

std::string TPParamTag::Render() {
  Suppressed = Parent->Suppressed;
  if (Engine->Stopped() || Suppressed) return std::string();
  if (!PrepareAttributes()) return std::string();
  std::string name = GetAttribute("name", "");
  std::string def = GetAttribute("default", "");
  if (!name.empty() && IsParamDefined(name) == "false") SetVariable(name, def);
  return std::string();
}

}  // namespace vantrel
