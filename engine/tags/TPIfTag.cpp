// The if tag and the condition evaluation it shares with the elseif tag.
#include "engine/tags/TPIfTag.h"

#include <exception>

#include "engine/clause/TClause.h"

namespace vantrel {

bool EvaluateCondition(TPBaseTag& tag, TClauseCache& kept) {
  std::string condition;
  if (!tag.AttributeText.empty()) {
    try {
      condition = kept.Evaluate(*tag.Engine, tag.AttributeText, tag.Parent);
    } catch (const std::exception&) {
      condition = "false";
    }
  }
  return condition == "true";
}

TPIfTag::TPIfTag(TPBaseTag* parent, std::string_view attributeText) : TPBaseTag(parent, kIf, attributeText) {
  QuoteOutput = false;  // no branch content is ever wrapped in quotes
  ClosingTags = {"/cfif"};
  Parse();
}

std::string TPIfTag::Render() {
  Suppressed = Parent->Suppressed;
  if (Engine->Stopped()) return std::string();
  ConditionHeld = EvaluateCondition(*this, ConditionClause);
  try {
    if (ConditionHeld) return RenderChildren();
    // Every elseif whose condition holds renders; the else branch renders when the
    // elseif branches together produced no text.
    std::string result;
    for (auto& tag : ElseIfTags) result += tag->Render();
    if (result.empty())
      for (auto& tag : ElseTags) result += tag->Render();
    return result;
  } catch (const std::exception&) {
    return std::string();
  }
}

}  // namespace vantrel
