// The output tag: renders its body once, or once per row of a named result set,
// with optional grouping. Names inside it are resolved here, the current row first.
#pragma once

#include "engine/TPBaseTag.h"

namespace vantrel {

class TPOutputTag : public TPBaseTag {
 public:
  TPOutputTag(TPBaseTag* parent, std::string_view attributeText);
  std::string Render() override;
  std::string GetValue(std::string_view Name, bool Quoted) override;
  bool IsDefined(std::string_view Name) override;

  // The group column's value of the previous row; kept between rows and renderings.
  std::string PreviousGroupValue;
};

}  // namespace vantrel
