// The query tag: runs its rendered body as one SQL statement against a named database.
#pragma once

#include "engine/TPBaseTag.h"

namespace vantrel {

class TPQueryTag : public TPBaseTag {
 public:
  TPQueryTag(TPBaseTag* parent, std::string_view attributeText);
  std::string Render() override;
  std::string GetValue(std::string_view Name, bool Quoted) override { return ParentGetValue(Name, Quoted); }
  bool IsDefined(std::string_view Name) override { return ParentIsDefined(Name); }
};

}  // namespace vantrel
