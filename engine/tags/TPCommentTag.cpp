// HTML and template comments; see TPCommentTag.h.
#include "engine/tags/TPCommentTag.h"

#include "engine/Strings.h"

namespace vantrel {

TPCommentTag::TPCommentTag(TPBaseTag* parent, std::string_view) : TPBaseTag(parent, kComment, {}) {
  Parse();
}

// The comment text begins with "<!--" (already consumed) and ends once it ends with
// "-->", or in front of a nested "<!--", or at the end of the source.
void TPCommentTag::Parse() {
  AttributeText = "<!--";
  TTextStream& src = *Source;
  char c;
  while (src.Read(c)) {
    if (c == '<') {
      std::string s = src.ReadN(3);
      if (LowerCase(s) == "!--") {
        src.Back(s.size() + 1);
        return;
      }
      src.Back(s.size());
    }
    AttributeText += c;
    if (EndsWith(AttributeText, "-->")) return;
  }
}

std::string TPCommentTag::Render() {
  Suppressed = Parent->Suppressed;
  if (Engine->Stopped() || Suppressed || StartsWith(AttributeText, "<!---")) return std::string();
  return AttributeText;
}

}  // namespace vantrel
