// The output tag; see TPOutputTag.h.
#include "engine/tags/TPOutputTag.h"

namespace vantrel {

TPOutputTag::TPOutputTag(TPBaseTag* parent, std::string_view attributeText)
    : TPBaseTag(parent, kOutput, attributeText) {
  ExpandHashes = true;
  ClosingTags = {"/cfoutput"};
  MakeAttributeFragment();
  PreviousGroupValue.clear();
  Suppressed = false;
  Parse();
}

std::string TPOutputTag::GetValue(std::string_view Name, bool Quoted) {
  return LookupValue(Name, Quoted, Engine->CurrentRow.get());
}

bool TPOutputTag::IsDefined(std::string_view Name) { return LookupIsDefined(Name, Engine->CurrentRow.get()); }

std::string TPOutputTag::Render() {
  if (Engine->StopRendering) return std::string();
  PrepareAttributes();
  std::string query = GetAttribute("query", "");
  if (query.empty() || QueryList->Find(query) == nullptr) {
    Suppressed = false;
    return RenderChildren();
  }
  // Rows of a result set arrive with the data layer.
  return std::string();
}

}  // namespace vantrel
