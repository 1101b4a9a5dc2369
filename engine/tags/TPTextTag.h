// A run of literal text. Inside a body with ExpandHashes set, "##" stands for one "#".
#pragma once

#include "engine/TPBaseTag.h"

namespace vantrel {

class TPTextTag : public TPBaseTag {
 public:
  explicit TPTextTag(TPBaseTag* parent);
  std::string Render() override;
  void AppendRender(std::string& out) override;
  void Parse() override;
  std::string GetValue(std::string_view Name, bool Quoted) override { return ParentGetValue(Name, Quoted); }
  bool IsDefined(std::string_view Name) override { return ParentIsDefined(Name); }
};

}  // namespace vantrel
