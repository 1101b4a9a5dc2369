// The function tag that stands for #name(...)# in a body with ExpandHashes set.
#pragma once

#include "engine/TPBaseTag.h"
#include "engine/clause/TClause.h"

namespace vantrel {

class TPFnTag : public TPBaseTag {
 public:
  TPFnTag(TPBaseTag* parent, std::string_view attributeText);
  std::string Render() override;
  std::string GetValue(std::string_view Name, bool Quoted) override { return ParentGetValue(Name, Quoted); }
  bool IsDefined(std::string_view Name) override { return ParentIsDefined(Name); }

 private:
  TClauseCache Clause_;  // the tag's text, tokenized once (speed)
};

}  // namespace vantrel
