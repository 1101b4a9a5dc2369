// The elseif branch; see TPElseIfTag.h.
#include "engine/tags/TPElseIfTag.h"

#include "engine/tags/TPIfTag.h"

namespace vantrel {

TPElseIfTag::TPElseIfTag(TPBaseTag* parent, std::string_view attributeText)
    : TPBaseTag(parent, kElseIf, attributeText) {
  ExpandHashes = true;
  ClosingTags = {"/cfif", "cfelseif", "cfelse"};
  Parse();
}

std::string TPElseIfTag::Render() {
  Suppressed = Parent->Suppressed;
  if (Engine->Stopped()) return std::string();
  ConditionHeld = EvaluateCondition(*this, ConditionClause);
  return ConditionHeld ? RenderChildren() : std::string();
}

}  // namespace vantrel
