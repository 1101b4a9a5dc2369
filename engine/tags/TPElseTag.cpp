// The else branch; see TPElseTag.h.
#include "engine/tags/TPElseTag.h"

namespace vantrel {

TPElseTag::TPElseTag(TPBaseTag* parent, std::string_view attributeText) : TPBaseTag(parent, kElse, attributeText) {
  MakeAttributeFragment();  // built from a stray condition text, never rendered
  ClosingTags = {"/cfif"};
  Parse();
}

std::string TPElseTag::Render() {
  Suppressed = Parent->Suppressed;
  if (Engine->Stopped()) return std::string();
  return RenderChildren();
}

}  // namespace vantrel
