// The else branch of an if tag.
#pragma once

#include "engine/TPBaseTag.h"

namespace vantrel {

class TPElseTag : public TPBaseTag {
 public:
  TPElseTag(TPBaseTag* parent, std::string_view attributeText);
  std::string Render() override;
  std::string GetValue(std::string_view Name, bool Quoted) override { return ParentGetValue(Name, Quoted); }
  bool IsDefined(std::string_view Name) override { return ParentIsDefined(Name); }
};

}  // namespace vantrel
