// The loop tag; see TPLoopTag.h.
#include "engine/tags/TPLoopTag.h"

#include <charconv>
#include <exception>
#include <limits>
#include <stdexcept>

#include "engine/Strings.h"
#include "platform/FileSystem.h"
#include "platform/FolderList.h"

namespace vantrel {

namespace {

bool ParseInteger(const std::string& text, long long& value) {
  const std::string t = Trim(text);
  const char* first = t.data();
  if (!t.empty() && t[0] == '+') ++first;
  auto [end, error] = std::from_chars(first, t.data() + t.size(), value);
  return !t.empty() && error == std::errc() && end == t.data() + t.size();
}

}  // namespace

TPLoopTag::TPLoopTag(TPBaseTag* parent, std::string_view attributeText) : TPBaseTag(parent, kLoop, attributeText) {
  ExpandHashes = true;
  MakeAttributeFragment();
  ClosingTags = {"/cfloop"};
  Parse();
}

std::string TPLoopTag::GetValue(std::string_view Name, bool Quoted) {
  return LookupValue(Name, Quoted, LoopRow.get());
}

bool TPLoopTag::IsDefined(std::string_view Name) { return LookupIsDefined(Name, LoopRow.get()); }

std::string TPLoopTag::Attribute(std::string_view name, std::string_view def) const {
  std::string v = GetAttribute(name, def);
  if (!v.empty() && v.front() == '"') v.erase(0, 1);
  if (!v.empty() && v.back() == '"') v.pop_back();
  size_t b = v.find_first_not_of(' ');
  size_t e = v.find_last_not_of(' ');
  return b == std::string::npos ? std::string() : v.substr(b, e - b + 1);
}

// A bound that is not an integer names a variable holding one; anything else counts 0.
long long TPLoopTag::Bound(const std::string& text) {
  long long value = 0;
  if (text.empty()) return 0;
  if (ParseInteger(text, value)) return value;
  if (ParseInteger(GetValue(text, false), value)) return value;
  return 0;
}

std::string TPLoopTag::Render() {
  Suppressed = Parent->Suppressed;
  if (Engine->Stopped() || Suppressed || !AttributeFragment) return std::string();
  PrepareAttributes();

  if (!HasAttribute("index")) {
    if (HasAttribute("query")) return RenderQuery(GetAttribute("query", ""));
    if (HasAttribute("condition")) Mode = TMode::Condition;
  } else {
    IndexName = Attribute("index", "");
    if (HasAttribute("list")) {
      Mode = TMode::List;
      Delimiter = Attribute("delimiters", ";");
      ListText = Attribute("list", "");
    } else if (HasAttribute("from")) {
      Mode = TMode::Count;
      FromText = Attribute("from", "");
      ToText = Attribute("to", "0");
      StepText = Attribute("step", "1");
    } else if (HasAttribute("dir")) {
      Mode = TMode::Folder;
      FolderText = ResolveFolder(Attribute("dir", ""));
      Mask = Attribute("mask", "*.*");
    }
  }
  const long long from = Bound(FromText);
  const long long to = Bound(ToText);
  long long step = Bound(StepText);
  if (step == 0) step = 1;

  std::string result;
  try {
    switch (Mode) {
      case TMode::Count:
        // The loop counts upward only; a negative step renders no pass.
        if (step < 0) break;
        for (long long i = from; i <= to && Pass(); ) {
          SetVariable(IndexName, std::to_string(i));
          result += RenderChildren();
          if (i > std::numeric_limits<long long>::max() - step) break;
          i += step;
        }
        break;
      case TMode::List: {
        // The delimiter is matched as a whole text; each cut removes the item and
        // the delimiter's first character only.
        std::string rest = ListText;
        for (size_t p; !Delimiter.empty() && (p = rest.find(Delimiter)) != std::string::npos && Pass();) {
          SetVariable(IndexName, rest.substr(0, p));
          rest.erase(0, p + 1);
          result += RenderChildren();
        }
        if (!Pass()) break;
        SetVariable(IndexName, rest);
        result += RenderChildren();
        break;
      }
      case TMode::Folder: {
        if (!platform::DirectoryExists(FolderText)) break;
        const std::vector<std::string> files = platform::ListFiles(FolderText, Mask);
        for (size_t p = 0; p < files.size() && Pass(); ++p) {
          SetVariable(IndexName, std::to_string(p));
          SetVariable("loopfilename", files[p]);
          result += RenderChildren();
        }
        break;
      }
      case TMode::Query:
      case TMode::Condition:
        break;
    }
  } catch (const std::exception&) {
    // the passes rendered so far are the output
  }
  return result;
}

bool TPLoopTag::Pass() { return !Engine->Exhausted && ++Engine->LoopPasses <= Engine->MaxLoopPasses; }

std::string TPLoopTag::ResolveFolder(std::string folder) const {
  for (char& c : folder)
    if (c == '/') c = '\\';
  if (StartsWith(folder, "\\"))
    return StartsWith(folder, Engine->AppFolder) ? folder : Engine->AppFolder + folder.substr(1);
  std::string d = Folder.Text();
  while (Contains(folder, "..\\")) {
    d = TrimRight(d);
    if (EndsWith(d, "\\")) d.pop_back();
    size_t slash = d.rfind('\\');
    if (slash != std::string::npos) d.resize(slash + 1);
    folder.erase(0, 3);
  }
  return d + folder;
}

std::string TPLoopTag::RenderQuery(const std::string& queryName) {
  Mode = TMode::Query;
  LoopRow = std::make_unique<TStringList>();
  std::string result;
  try {
    TQDBQuery* rs = QueryList->Find(queryName);
    if (rs == nullptr) throw EQDBError("Query not found: " + queryName);
    const int count = rs->RecordCount();
    if (count > 0) rs->First();
    for (int i = 0; i < count && Pass(); ++i) {
      const int n = rs->FieldCount();
      for (int c = 0; c < n; ++c) {
        LoopRow->SetValue(LowerCase(rs->FieldName(c)), std::string(rs->Field(c).Text()));
      }
      Suppressed = false;
      if (i < count - 1) rs->Next();
      result += RenderChildren();
    }
  } catch (const std::exception& e) {
    ReportQueryError(std::string(e.what()) + "  In Query: " + queryName);
    result.clear();
  }
  LoopRow.reset();
  return result;
}

}  // namespace vantrel
