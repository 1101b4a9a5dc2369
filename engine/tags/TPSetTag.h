// The set tag (<cfset> and <cfsetq>): evaluates the expression after the first "="
// and stores it under the name before it.
#pragma once

#include "engine/TPBaseTag.h"
#include "engine/clause/TClause.h"

namespace vantrel {

class TPSetTag : public TPBaseTag {
 public:
  struct NoFragment {};
  // <cfset>: also builds an attribute fragment, which is never rendered.
  TPSetTag(TPBaseTag* parent, std::string_view attributeText);
  // <cfsetq>: the same tag without an attribute fragment.
  TPSetTag(TPBaseTag* parent, std::string_view attributeText, NoFragment);
  std::string Render() override;
  std::string GetValue(std::string_view Name, bool Quoted) override { return ParentGetValue(Name, Quoted); }
  bool IsDefined(std::string_view Name) override { return ParentIsDefined(Name); }

 private:
  TClauseCache Clause_;  // the expression, tokenized once (speed)
};

}  // namespace vantrel
