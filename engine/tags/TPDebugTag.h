// The debug tag: runs its body for its effects and discards the text.
#pragma once

#include "engine/TPBaseTag.h"

namespace vantrel {

class TPDebugTag : public TPBaseTag {
 public:
  TPDebugTag(TPBaseTag* parent, std::string_view attributeText);
  std::string Render() override;
  std::string GetValue(std::string_view Name, bool Quoted) override { return ParentGetValue(Name, Quoted); }
  bool IsDefined(std::string_view Name) override { return ParentIsDefined(Name); }
};

}  // namespace vantrel
