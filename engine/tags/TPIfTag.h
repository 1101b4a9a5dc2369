// The if tag: renders its first branch when its condition gives exactly "true",
// otherwise every elseif branch whose condition holds, and the else branch when
// those together rendered nothing.
#pragma once

#include <memory>
#include <vector>

#include "engine/TPBaseTag.h"
#include "engine/clause/TClause.h"

namespace vantrel {

class TPIfTag : public TPBaseTag {
 public:
  TPIfTag(TPBaseTag* parent, std::string_view attributeText);
  std::string Render() override;
  std::string GetValue(std::string_view Name, bool Quoted) override { return ParentGetValue(Name, Quoted); }
  bool IsDefined(std::string_view Name) override { return ParentIsDefined(Name); }

  bool ConditionHeld = false;
  std::vector<std::unique_ptr<TPBaseTag>> ElseTags;
  std::vector<std::unique_ptr<TPBaseTag>> ElseIfTags;
  TClauseCache ConditionClause;  // the condition, tokenized once (speed)
};

// Evaluates the condition of an if or elseif tag: true exactly when the clause
// gives "true". A failure counts as "false". The tag keeps the condition's
// tokenization in kept.
bool EvaluateCondition(TPBaseTag& tag, TClauseCache& kept);

}  // namespace vantrel
