// The function tag; see TPFnTag.h.
#include "engine/tags/TPFnTag.h"

#include <exception>

#include "engine/clause/TClause.h"

namespace vantrel {

TPFnTag::TPFnTag(TPBaseTag* parent, std::string_view attributeText) : TPBaseTag(parent, kFunction, attributeText) {}

std::string TPFnTag::Render() {
  Suppressed = Parent->Suppressed;
  if (Engine->Stopped() || Suppressed) return std::string();
  std::string result;
  if (QuoteOutput) result += '"';
  if (!AttributeText.empty()) {
    try {
      result += Clause_.Evaluate(*Engine, AttributeText, Parent);
    } catch (const std::exception&) {
      result += "no";  // a call that fails renders "no"
    }
  }
  if (QuoteOutput) result += '"';
  return result;
}

}  // namespace vantrel
