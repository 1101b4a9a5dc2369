// See TPFileTag2.h.
#include "engine/tags/TPFileTag2.h"

namespace vantrel {

TPFileTag2::TPFileTag2(TPBaseTag* parent, std::string_view attributeText) : TPBaseTag(parent, kFile2, attributeText) {
  ClosingTags = {"/cf_file"};
  MakeAttributeFragment();
  Parse();
}

std::string TPFileTag2::Render() { return std::string(); }

}  // namespace vantrel
