// The loop tag; see TPLoopTag.h.
#include "engine/tags/TPLoopTag.h"

namespace vantrel {

TPLoopTag::TPLoopTag(TPBaseTag* parent, std::string_view attributeText) : TPBaseTag(parent, kLoop, attributeText) {
  ExpandHashes = true;
  ClosingTags = {"/cfloop"};
  MakeAttributeFragment();
  Parse();
}

std::string TPLoopTag::GetValue(std::string_view Name, bool Quoted) {
  return LookupValue(Name, Quoted, LoopRow.get());
}

bool TPLoopTag::IsDefined(std::string_view Name) { return LookupIsDefined(Name, LoopRow.get()); }

std::string TPLoopTag::Render() { return std::string(); }

}  // namespace vantrel
