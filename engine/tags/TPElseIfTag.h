// An elseif branch of an if tag; its body is always parsed with ExpandHashes set.
#pragma once

#include "engine/TPBaseTag.h"
#include "engine/clause/TClause.h"

namespace vantrel {

class TPElseIfTag : public TPBaseTag {
 public:
  TPElseIfTag(TPBaseTag* parent, std::string_view attributeText);
  std::string Render() override;
  std::string GetValue(std::string_view Name, bool Quoted) override { return ParentGetValue(Name, Quoted); }
  bool IsDefined(std::string_view Name) override { return ParentIsDefined(Name); }

  bool ConditionHeld = false;
  TClauseCache ConditionClause;  // the condition, tokenized once (speed)
};

}  // namespace vantrel
