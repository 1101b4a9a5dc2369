// The param tag: gives a variable a default value when it has none that is not blank.
#pragma once

#include "engine/TPBaseTag.h"

namespace vantrel {

class TPParamTag : public TPBaseTag {
 public:
  TPParamTag(TPBaseTag* parent, std::string_view attributeText);
  std::string Render() override;
  std::string GetValue(std::string_view Name, bool Quoted) override { return ParentGetValue(Name, Quoted); }
  bool IsDefined(std::string_view Name) override { return ParentIsDefined(Name); }
};

}  // namespace vantrel
