// An HTML or template comment. HTML comments pass through to the page; a template
// comment, which begins with three dashes, renders nothing.
#pragma once

#include "engine/TPBaseTag.h"

namespace vantrel {

class TPCommentTag : public TPBaseTag {
 public:
  explicit TPCommentTag(TPBaseTag* parent, std::string_view attributeText = {});
  std::string Render() override;
  void Parse() override;
  std::string GetValue(std::string_view Name, bool Quoted) override { return ParentGetValue(Name, Quoted); }
  bool IsDefined(std::string_view Name) override { return ParentIsDefined(Name); }
};

}  // namespace vantrel
