// The loop tag: renders its body once per pass of a counter, a list, a folder's
// files or a result set. Names inside it are resolved here, its own row first.
#pragma once

#include <memory>
#include <string>

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

  // What the loop keeps from one rendering to the next.
  enum class TMode { Count, List, Folder, Query, Condition };
  TMode Mode = TMode::Count;
  std::string IndexName;
  std::string FromText, ToText, StepText;
  std::string ListText, Delimiter;
  std::string FolderText, Mask;

 private:
  // An attribute freed of one leading and one trailing double quote, then trimmed.
  std::string Attribute(std::string_view name, std::string_view def) const;
  long long Bound(const std::string& text);
  // Counts one pass against the request's budget; false once it is spent.
  bool Pass();
  std::string ResolveFolder(std::string folder) const;
  std::string RenderQuery(const std::string& queryName);
};

}  // namespace vantrel
