// The output tag; see TPOutputTag.h.
#include "engine/tags/TPOutputTag.h"

#include <charconv>
#include <exception>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "engine/Strings.h"

namespace vantrel {

namespace {

// maxrows is compared as a whole number; any other text is a failure.
int ToInteger(const std::string& text) {
  const std::string t = Trim(text);
  int value = 0;
  const char* first = t.data();
  if (!t.empty() && t[0] == '+') ++first;
  auto [end, error] = std::from_chars(first, t.data() + t.size(), value);
  if (t.empty() || error != std::errc() || end != t.data() + t.size())
    throw std::invalid_argument("'" + text + "' is not a valid integer value");
  return value;
}

// A boolean column reads as "1" or "0"; a column without a value as the empty text.
std::string ColumnText(const TQDBQuery::TField& f) { return std::string(f.Text()); }

// The current record's columns into a row list, names lower-cased.
// Speed: names keeps each column name with its lower-cased form from the rows before,
// so a column is only lower-cased again when the result set's columns changed.
void ReadRow(TQDBQuery& rs, TStringList& row, std::vector<std::pair<std::string, std::string>>& names) {
  const int n = rs.FieldCount();
  names.resize(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    auto& [name, lower] = names[static_cast<size_t>(i)];
    const std::string& current = rs.FieldName(i);
    if (current != name || (lower.empty() && !current.empty())) {
      name = current;
      lower = LowerCase(current);
    }
    row.SetValue(lower, rs.Field(i).Text());
  }
}

// Renders the tags in order and appends their texts to result (speed: straight into
// the tag's growing output, without a joined copy per group part).
// A failure drops the part's text, as a joined copy would have been dropped.
void AppendList(TPBaseTag& owner, std::string& result, const std::vector<TPBaseTag*>& tags) {
  const size_t before = result.size();
  try {
    for (TPBaseTag* t : tags) owner.AppendChild(*t, result);
  } catch (...) {
    result.resize(before);
    throw;
  }
}

}  // namespace

TPOutputTag::TPOutputTag(TPBaseTag* parent, std::string_view attributeText)
    : TPBaseTag(parent, kOutput, attributeText) {
  ExpandHashes = true;
  ClosingTags = {"/cfoutput"};
  MakeAttributeFragment();
  PreviousGroupValue.clear();
  Suppressed = false;
  Parse();
}

std::string TPOutputTag::GetValue(std::string_view Name, bool Quoted) {
  return LookupValue(Name, Quoted, Engine->CurrentRow.get());
}

bool TPOutputTag::IsDefined(std::string_view Name) { return LookupIsDefined(Name, Engine->CurrentRow.get()); }

std::string TPOutputTag::Render() {
  if (Engine->Stopped()) return std::string();
  PrepareAttributes();
  const std::string query = GetAttribute("query", "");
  const std::string maxrowsText = GetAttribute("maxrows", "0");
  const std::string group = GetAttribute("group", "");
  (void)GetAttribute("startrow", "0");
  TQDBQuery* rs = query.empty() ? nullptr : QueryList->Find(query);
  if (rs == nullptr) {
    Suppressed = false;
    return RenderChildren();
  }

  TDepthGuard guard(*Engine);
  if (!guard.Entered()) return std::string();
  std::string result;
  // A query-driven output tag inside another one keeps the outer tag's row aside
  // and gives it back when it ends, so the outer tag goes on with its own row.
  std::vector<std::pair<std::string, std::string>> columnNames;
  std::unique_ptr<TStringList> outerRow = std::move(Engine->CurrentRow);
  Engine->CurrentRow = std::make_unique<TStringList>();
  try {
    const int count = rs->RecordCount();
    if (count >= 1) {
      rs->First();
      const int maxrows = ToInteger(maxrowsText);
      const int last = maxrows > 0 && maxrows < count ? maxrows - 1 : count - 1;
      auto advance = [&](int i) {
        if (i < count - 1) rs->Next();
      };
      if (group.empty()) {
        for (int i = 0; i <= last; ++i) {
          ReadRow(*rs, *Engine->CurrentRow, columnNames);
          Suppressed = false;
          advance(i);
          for (auto& child : Children) AppendChild(*child, result);
        }
      } else {
        // The group value of a row: the last column whose name, after its first
        // ".", equals the group name; a row without one keeps the previous value.
        std::string groupColumn;
        auto groupValue = [&](const std::string& previous) {
          std::string value = previous;
          const int n = rs->FieldCount();
          for (int c = 0; c < n; ++c) {
            const std::string& full = rs->FieldName(c);
            const size_t dot = full.find('.');
            const std::string bare = dot == std::string::npos ? full : full.substr(dot + 1);
            if (SameText(bare, group)) {
              value = ColumnText(rs->Field(c));
              groupColumn = full;
            }
          }
          return value;
        };
        bool oneGroup = true;
        std::string previous;
        for (int i = 0; i <= last; ++i) {
          const std::string v = groupValue(previous);
          if (i > 0 && v != previous) oneGroup = false;
          previous = v;
          advance(i);
        }
        PreviousGroupValue.clear();
        rs->First();
        // The partition: the header before the first nested output tag, that tag,
        // and the footer after it.
        std::vector<TPBaseTag*> header, inner, footer;
        for (auto& child : Children) {
          if (inner.empty() && child->Kind == kOutput)
            inner.push_back(child.get());
          else
            (inner.empty() ? header : footer).push_back(child.get());
        }
        for (int i = 0; i <= last; ++i) {
          ReadRow(*rs, *Engine->CurrentRow, columnNames);
          if (oneGroup) {
            advance(i);
            if (!Suppressed) {
              AppendList(*this, result, header);
              Suppressed = true;
            }
            AppendList(*this, result, inner);
            if (i == count - 1) {
              Suppressed = false;
              if (!footer.empty()) {
                AppendList(*this, result, footer);
                Suppressed = true;
              }
            }
          } else {
            const std::string current = GetValue(group, false);
            Suppressed = current == PreviousGroupValue;
            PreviousGroupValue = current;
            advance(i);
            if (!Suppressed) {
              AppendList(*this, result, header);
              Suppressed = true;
            }
            AppendList(*this, result, inner);
            const bool lastRecord = i >= count - 1;
            std::string next;
            if (!lastRecord) next = ColumnText(rs->FieldByName(groupColumn));
            if (PreviousGroupValue != next || lastRecord) {
              Suppressed = false;
              if (!footer.empty()) {
                AppendList(*this, result, footer);
                Suppressed = true;
              }
            }
          }
        }
      }
    }
  } catch (const std::exception& e) {
    ReportQueryError(std::string(e.what()) + "  In Query: " + query);
  }
  Engine->CurrentRow = std::move(outerRow);
  return result;
}

}  // namespace vantrel
