// The cookie tag: stores a name=value line in the run's cookie list.
#pragma once

#include "engine/TPBaseTag.h"

namespace vantrel {

class TPCookieTag : public TPBaseTag {
 public:
  TPCookieTag(TPBaseTag* parent, std::string_view attributeText);
  std::string Render() override;
  std::string GetValue(std::string_view Name, bool Quoted) override { return ParentGetValue(Name, Quoted); }
  bool IsDefined(std::string_view Name) override { return ParentIsDefined(Name); }
};

}  // namespace vantrel
