// A run of literal text; see TPTextTag.h.
#include "engine/tags/TPTextTag.h"

#include "engine/Strings.h"
#include "engine/tags/AllTags.h"

namespace vantrel {

TPTextTag::TPTextTag(TPBaseTag* parent) : TPBaseTag(parent, kText, {}) {
  AttributeText.clear();
  Parse();
}

// The run goes on until markup begins ("<cf", "</cf", "<!--") or, with ExpandHashes
// set, until a "#" that is not doubled.
void TPTextTag::Parse() {
  TTextStream& src = *Source;
  const std::string& text = src.Text();
  char c;
  while (!src.AtEnd()) {
    // Speed: a stretch without "<" (and without "#" where hashes expand) cannot end
    // the run and is appended at once rather than character by character.
    const size_t from = src.Position();
    size_t stop = from;
    while (stop < text.size() && text[stop] != '<' && !(text[stop] == '#' && ExpandHashes)) ++stop;
    if (stop > from) {
      AttributeText.append(text, from, stop - from);
      src.Seek(stop);
      continue;
    }
    src.Read(c);
    if (c == '#' && ExpandHashes) {
      char d;
      if (!src.Read(d)) {
        src.Back(1);
        return;
      }
      if (d != '#') {
        src.Back(2);
        return;
      }
      AttributeText += '#';
      continue;
    }
    if (c == '<') {
      char lowered[3];
      if (IsMarkupAhead(std::string_view(lowered, src.PeekLowered3(lowered)))) {
        src.Back(1);
        return;
      }
    }
    AttributeText += c;
  }
}

std::string TPTextTag::Render() {
  Suppressed = Parent->Suppressed;
  if (Engine->Stopped() || Suppressed) return std::string();
  return AttributeText;
}

}  // namespace vantrel
