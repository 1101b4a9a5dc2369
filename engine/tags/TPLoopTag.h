// The loop tag: renders its body once per pass of a counter, a list, a folder's
// files or a result set. Names inside it are resolved here, its own row first.
#pragma once

#include <memory>

#include "engine/TPBaseTag.h"

namespace vantrel {

class TPLoopTag : public TPBaseTag {
 public:
  TPLoopTag(TPBaseTag* parent, std::string_view attributeText);
  std::string Render() override;
  std::string GetValue(std::string_view Name, bool Quoted) override;
  bool IsDefined(std::string_view Name) override;

  // The row of a loop over a result set; none otherwise.
  std::unique_ptr<TStringList> LoopRow;
};

}  // namespace vantrel
