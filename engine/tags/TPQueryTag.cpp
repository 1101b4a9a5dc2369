// See TPQueryTag.h.
#include "engine/tags/TPQueryTag.h"

namespace vantrel {

TPQueryTag::TPQueryTag(TPBaseTag* parent, std::string_view attributeText) : TPBaseTag(parent, kQuery, attributeText) {
  ExpandHashes = true;
  ClosingTags = {"/cfquery"};
  MakeAttributeFragment();
  Parse();
}

std::string TPQueryTag::Render() { return std::string(); }

}  // namespace vantrel
