// The <cf_file> tag: writes its rendered body to a file, optionally asking the user for the file name.
#pragma once

#include "engine/TPBaseTag.h"

namespace vantrel {

class TPFileTag2 : public TPBaseTag {
 public:
  TPFileTag2(TPBaseTag* parent, std::string_view attributeText);
  std::string Render() override;
  std::string GetValue(std::string_view Name, bool Quoted) override { return ParentGetValue(Name, Quoted); }
  bool IsDefined(std::string_view Name) override { return ParentIsDefined(Name); }
};

}  // namespace vantrel
