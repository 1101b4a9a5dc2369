// See TPFileTag.h.
#include "engine/tags/TPFileTag.h"

namespace vantrel {

TPFileTag::TPFileTag(TPBaseTag* parent, std::string_view attributeText) : TPBaseTag(parent, kFile, attributeText) {
  MakeAttributeFragment();
}

std::string TPFileTag::Render() { return std::string(); }

}  // namespace vantrel
