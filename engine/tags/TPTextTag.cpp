// A run of literal text; see TPTextTag.h.
#include "engine/tags/TPTextTag.h"

#include <cstring>

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
    // The search looks at most a window ahead, so that many short runs in a long
    // text without "<" do not each search to its end.
    const size_t from = src.Position();
    const size_t window = text.size() - from < 1024 ? text.size() - from : 1024;
    const void* lt = std::memchr(text.data() + from, '<', window);
    size_t stop = lt != nullptr ? static_cast<size_t>(static_cast<const char*>(lt) - text.data()) : from + window;
    if (ExpandHashes) {
      const void* hash = std::memchr(text.data() + from, '#', stop - from);
      if (hash != nullptr) stop = static_cast<size_t>(static_cast<const char*>(hash) - text.data());
    }
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
