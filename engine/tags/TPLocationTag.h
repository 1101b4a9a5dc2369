// The location tag: stops all rendering of the request and records a redirect target.
#pragma once

#include "engine/TPBaseTag.h"

namespace vantrel {

class TPLocationTag : public TPBaseTag {
 public:
  TPLocationTag(TPBaseTag* parent, std::string_view attributeText);
  std::string Render() override;
  std::string GetValue(std::string_view Name, bool Quoted) override { return ParentGetValue(Name, Quoted); }
  bool IsDefined(std::string_view Name) override { return ParentIsDefined(Name); }
};

}  // namespace vantrel
