// The include tag: runs another template in place of the tag, with the including page's variables.
#pragma once

#include "engine/TPBaseTag.h"

namespace vantrel {

class TPIncludeTag : public TPBaseTag {
 public:
  TPIncludeTag(TPBaseTag* parent, std::string_view attributeText);
  std::string Render() override;
  std::string GetValue(std::string_view Name, bool Quoted) override { return ParentGetValue(Name, Quoted); }
  bool IsDefined(std::string_view Name) override { return ParentIsDefined(Name); }
};

}  // namespace vantrel
