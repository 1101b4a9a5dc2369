// The set tag; see TPSetTag.h.
#include "engine/tags/TPSetTag.h"

#include <exception>

#include "engine/Strings.h"
#include "engine/clause/TClause.h"

namespace vantrel {

TPSetTag::TPSetTag(TPBaseTag* parent, std::string_view attributeText) : TPBaseTag(parent, kSet, attributeText) {
  MakeAttributeFragment();
}

TPSetTag::TPSetTag(TPBaseTag* parent, std::string_view attributeText, NoFragment)
    : TPBaseTag(parent, kSet, attributeText) {}

std::string TPSetTag::Render() {
  Suppressed = Parent->Suppressed;
  if (Engine->Stopped() || Suppressed) return std::string();
  // Only the first "=" splits: a = b = c stores "b = c" evaluated under a.
  std::string name, expression;
  size_t eq = AttributeText.find('=');
  if (eq == std::string::npos) {
    expression = Trim(AttributeText);
  } else {
    name = Trim(AttributeText.substr(0, eq));
    expression = Trim(AttributeText.substr(eq + 1));
  }
  std::string value;
  if (!AttributeText.empty()) {
    try {
      value = Clause_.Evaluate(*Engine, expression, Parent);
    } catch (const std::exception&) {
      value = "sClause";
    }
  }
  SetVariable(name, value);
  return std::string();
}

}  // namespace vantrel
