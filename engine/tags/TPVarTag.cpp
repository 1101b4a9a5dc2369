// The variable tag; see TPVarTag.h.
#include "engine/tags/TPVarTag.h"

#include "engine/Strings.h"

namespace vantrel {

TPVarTag::TPVarTag(TPBaseTag* parent, std::string_view attributeText) : TPBaseTag(parent, kVariable, attributeText) {}

std::string TPVarTag::Render() {
  Suppressed = Parent->Suppressed;
  if (Engine->Stopped() || Suppressed) return std::string();
  std::string result;
  if (QuoteOutput) result += '"';
  result += GetValue(Trim(AttributeText), false);
  if (QuoteOutput) result += '"';
  return result;
}

}  // namespace vantrel
