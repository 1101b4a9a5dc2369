// The debug tag; see TPDebugTag.h.
#include "engine/tags/TPDebugTag.h"

namespace vantrel {

TPDebugTag::TPDebugTag(TPBaseTag* parent, std::string_view attributeText) : TPBaseTag(parent, kDebug, attributeText) {
  ExpandHashes = true;
  ClosingTags = {"/cfdebug"};
  Parse();
}

std::string TPDebugTag::Render() {
  if (Engine->Stopped()) return std::string();
  RenderChildren();  // the body runs for its effects; its text is discarded
  return std::string();
}

}  // namespace vantrel
