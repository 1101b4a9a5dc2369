// See TPMailTag.h.
#include "engine/tags/TPMailTag.h"

namespace vantrel {

TPMailTag::TPMailTag(TPBaseTag* parent, std::string_view attributeText) : TPBaseTag(parent, kMail, attributeText) {
  ClosingTags = {"/cf_mail"};
  MakeAttributeFragment();
  Parse();
}

std::string TPMailTag::Render() { return std::string(); }

}  // namespace vantrel
