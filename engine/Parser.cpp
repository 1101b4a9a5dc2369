// The template parser: reads the characters of Source one at a time and turns them
// into Children: text runs, comments, tags with their bodies, and the variable and
// function tags that stand for #name# and #name(...)# where ExpandHashes is set.
// A tag with a body parses it in its own constructor, reading on from the same
// stream, so nested tags of the same name match naturally.
#include <exception>

#include "engine/Strings.h"
#include "engine/TagTable.h"
#include "engine/tags/AllTags.h"

namespace vantrel {

namespace {

bool IsMarkupStart(std::string_view lowered3) {
  return lowered3.substr(0, 2) == "cf" || lowered3 == "/cf" || lowered3 == "!--";
}

}  // namespace

bool IsMarkupAhead(std::string_view lowered3) { return IsMarkupStart(lowered3); }

// Parse: until the end of Source, or until one of ClosingTags is met. Any failure
// ends the parse of this object; malformed markup never raises to the caller.
void TPBaseTag::Parse() {
  TDepthGuard guard(*Engine);
  if (!guard.Entered() || Source == nullptr) return;
  TTextStream& src = *Source;
  try {
    char c;
    while (src.Read(c)) {
      // Substitution: #name# and #name(...)#.
      if (c == '#' && ExpandHashes) {
        char d;
        if (!src.Read(d)) continue;
        if (d == '#') continue;  // a pair of "#" met by the parser itself is dropped
        std::string text(1, d);
        bool endedHash = false, endedParen = false;
        char e;
        while (src.Read(e)) {
          text += e;
          if (e == '#') { endedHash = true; break; }
          if (e == '(') { endedParen = true; break; }
        }
        if (endedHash) {
          text.pop_back();
          Children.push_back(std::make_unique<TPVarTag>(this, text));
        } else if (endedParen) {
          int depth = 1;
          while (depth > 0 && src.Read(e)) {
            text += e;
            if (e == '(') ++depth;
            else if (e == ')') --depth;
          }
          Children.push_back(std::make_unique<TPFnTag>(this, text));
          src.Read(e);  // the closing "#"
        }
        continue;
      }

      if (c == '<') {
        // Closing tags end this object's body; a prefix match on the stream.
        for (const std::string& t : ClosingTags) {
          if (src.AheadIs(t)) {
            if (Kind == kElse || Kind == kElseIf) {
              src.Back(1);  // the enclosing if tag reads "<" and the name again
            } else {
              src.Seek(src.Position() + t.size());
              char gt;
              src.Read(gt);
            }
            return;
          }
        }
        char lowered[3];
        const size_t ahead = src.PeekLowered3(lowered);
        const std::string_view l3(lowered, ahead);
        if (!IsMarkupStart(l3)) {
          src.Back(1);
          Children.push_back(std::make_unique<TPTextTag>(this));
          continue;
        }
        src.Seek(src.Position() + ahead);
        // The tag text runs to the first ">" outside quotes; "'" and the double
        // quote open a quoted stretch, and either closes it.
        std::string tagText;
        if (l3 != "!--") {
          src.Back(1);
          char quote = 0;
          char t;
          while (src.Read(t)) {
            tagText += t;
            if (quote != 0) {
              if (t == '\'' || t == '"') quote = 0;
            } else if (t == '\'' || t == '"') {
              quote = t;
            } else if (t == '>') {
              break;
            }
          }
        }
        std::string name, attributes;
        if (tagText.empty()) {
          name = "comment";
        } else {
          size_t blank = tagText.find(' ');
          if (blank == std::string::npos) {
            name = LowerCase(tagText.substr(0, tagText.size() - 1));
          } else {
            name = LowerCase(tagText.substr(0, blank));
            attributes = tagText.substr(blank + 1);
            if (!attributes.empty()) attributes.pop_back();
          }
        }
        const TTagRow* row = FindTag(name);
        if (row == nullptr || row->Make == nullptr) continue;  // makes nothing: dropped
        if ((row->Code == kIf || row->Code == kElseIf) && !StartsWith(attributes, "("))
          attributes = "(" + attributes + ")";
        std::unique_ptr<TPBaseTag> tag = row->Make(this, attributes);
        if (row->Code == kElse) {
          if (Kind == kIf) {
            static_cast<TPIfTag*>(this)->ElseTags.push_back(std::move(tag));
          } else if (Kind == kElseIf && Parent != nullptr && Parent->Kind == kIf) {
            static_cast<TPIfTag*>(Parent)->ElseTags.push_back(std::move(tag));
          }
          continue;  // an else tag anywhere else is made and dropped
        }
        if (row->Code == kElseIf) {
          if (Kind == kIf) {
            static_cast<TPIfTag*>(this)->ElseIfTags.push_back(std::move(tag));
            continue;
          }
          return;  // an elseif outside an if tag ends the parse of this object
        }
        Children.push_back(std::move(tag));
        continue;
      }

      src.Back(1);
      Children.push_back(std::make_unique<TPTextTag>(this));
    }
  } catch (const std::exception&) {
    // the parse of this object ends here
  }
}

}  // namespace vantrel
