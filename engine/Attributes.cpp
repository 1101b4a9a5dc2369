// Tag attributes: the attribute text is rendered as a fragment (resolving #...#),
// split into name=value lines by ParseAttributes, and resolved by
// EvaluateAttributes (quotes removed, variables looked up, clauses evaluated).
#include <exception>

#include "engine/Strings.h"
#include "engine/TPBaseTag.h"
#include "engine/clause/TClause.h"

namespace vantrel {

std::string StripQuotes(std::string_view Text) {
  if (Text.empty()) return std::string();
  // Speed: the ends are found on the text itself and one copy is made.
  size_t b = 0, e = Text.size();
  while (e > 0 && static_cast<unsigned char>(Text[e - 1]) <= ' ') --e;
  while (b < e && static_cast<unsigned char>(Text[b]) <= ' ') ++b;
  // Single quotes go first, so a double-quoted text keeps single quotes at its ends.
  for (char q : {'\'', '"'}) {
    while (b < e && Text[b] == q) ++b;
    while (e > b && Text[e - 1] == q) --e;
  }
  return std::string(Text.substr(b, e - b));
}

std::string TPBaseTag::StripQuotes(std::string_view Text) { return vantrel::StripQuotes(Text); }

std::string TPBaseTag::GetAttribute(std::string_view Name, std::string_view Default) const {
  int i = Attributes.IndexOfName(Name);
  return i < 0 ? std::string(Default) : Attributes[static_cast<size_t>(i)].Value;
}

bool TPBaseTag::HasAttribute(std::string_view Name) const { return Attributes.HasName(Name); }

bool TPBaseTag::PrepareAttributes() {
  if (!AttributeFragment) return false;
  ParseAttributes(AttributeFragment->Render());
  EvaluateAttributes();
  return true;
}

// An unquoted value runs to the next "'" or to the end of the text: blanks do not
// end it. A double-quoted value runs to its closing double quote.
void TPBaseTag::ParseAttributes(std::string_view Text) {
  if (Text.empty()) return;
  Attributes.Clear();
  TTextStream stream{std::string(Text)};
  char c;
  while (!stream.AtEnd()) {
    std::string name;
    while (stream.Read(c)) {
      if (c == ' ') continue;
      name += c;
      if (c == '=') break;
    }
    name = LowerCase(name);
    if (!name.empty()) name.pop_back();
    while (stream.Read(c) && c == ' ') {
    }
    stream.Back(1);
    std::string rest = stream.Text().substr(stream.Position());
    if (StartsWith(rest, "''")) rest = vantrel::StripQuotes(rest);
    stream = TTextStream(rest);
    std::string value;
    if (stream.Read(c)) {
      value += c;
      if (c == '"') {
        while (stream.Read(c)) {
          value += c;
          if (c == '"') break;
        }
      } else {
        while (stream.Read(c)) {
          value += c;
          if (c == '"') {
            while (stream.Read(c)) {
              value += c;
              if (c == '"') break;
            }
          }
          if (c == '\'') break;
        }
      }
    }
    Attributes.Add(Trim(name), Trim(value));
  }
  // A name that occurs twice carries the first line's value on both lines.
  for (size_t i = 0; i < Attributes.Count(); ++i) {
    Attributes[i].Name = LowerCase(Attributes[i].Name);
    Attributes[i].Value = Attributes.Value(Attributes[i].Name);
  }
}

void TPBaseTag::EvaluateAttributes() {
  std::vector<std::string> names;
  for (const auto& line : Attributes.Lines()) names.push_back(line.Name);
  try {
    for (const std::string& name : names) {
      std::string v = Attributes.Value(name);
      if (v.empty()) return;
      if (v.front() == '\'') {
        v.erase(0, 1);
        if (v.empty()) return;
        if (v.back() == '\'') v.pop_back();
        if (v.empty()) continue;
      } else if (v.back() == '\'') {
        v.pop_back();
        if (v.empty()) continue;
      }
      std::string newValue;
      const char first = v.front();
      if (first == '#') {
        // A hash expression the fragment did not resolve.
        v = v.size() >= 2 ? v.substr(1, v.size() - 2) : std::string();
        newValue = vantrel::StripQuotes(GetValue(v, false));
      } else if (first == '(') {
        // Every substitution renders in double quotes and the whole text is
        // wrapped in them, so the clause receives one literal and computes nothing.
        try {
          auto fragment = CreateFragment(v, this, true, true);
          newValue = EvaluateClause(*Engine, fragment->Render(), Parent);
        } catch (const std::exception&) {
          newValue.clear();
        }
      } else if (first == '"' || !Contains(v, "(")) {
        newValue = vantrel::StripQuotes(v);
        if (newValue.empty()) newValue = " ";  // a quoted empty value stays, as one blank
      } else {
        newValue = GetValue(v, false);
      }
      int i = Attributes.IndexOfName(name);
      if (i >= 0) Attributes.ReplaceValue(static_cast<size_t>(i), newValue);
    }
  } catch (const std::exception&) {
    // the lines not yet evaluated keep their text
  }
}

}  // namespace vantrel
