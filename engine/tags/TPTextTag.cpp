// A run of literal text; see TPTextTag.h.
#include "engine/tags/TPTextTag.h"

#include <string_view>

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
  const size_t n = text.size();
  // Speed: one pass over the bytes; the run is appended a stretch at a time.
  size_t i = src.Position();
  size_t stretch = i;
  while (i < n) {
    const char c = text[i];
    if (c == '<') {
      // Markup ahead ends the run before its "<"; any other "<" is text.
      char lowered[3];
      if (IsMarkupAhead(std::string_view(lowered, TTextStream::Lowered3At(text, i + 1, lowered)))) break;
    } else if (c == '#' && ExpandHashes) {
      // "##" stands for one "#"; a single "#" (also the last character) ends the run.
      if (i + 1 >= n || text[i + 1] != '#') break;
      AttributeText.append(text, stretch, i + 1 - stretch);
      i += 2;
      stretch = i;
      continue;
    }
    ++i;
  }
  AttributeText.append(text, stretch, i - stretch);
  src.Seek(i);
}

std::string TPTextTag::Render() {
  Suppressed = Parent->Suppressed;
  if (Engine->Stopped() || Suppressed) return std::string();
  return AttributeText;
}

void TPTextTag::AppendRender(std::string& out) {
  Suppressed = Parent->Suppressed;
  if (Engine->Stopped() || Suppressed) return;
  out += AttributeText;
}

}  // namespace vantrel
