// The <cf_mail> tag: hands a message with recipients and attachments to the mail program.
#pragma once

#include "engine/TPBaseTag.h"

namespace vantrel {

class TPMailTag : public TPBaseTag {
 public:
  TPMailTag(TPBaseTag* parent, std::string_view attributeText);
  std::string Render() override;
  std::string GetValue(std::string_view Name, bool Quoted) override { return ParentGetValue(Name, Quoted); }
  bool IsDefined(std::string_view Name) override { return ParentIsDefined(Name); }
};

}  // namespace vantrel
