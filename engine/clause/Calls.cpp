// Function calls of the clause language: the value pass over an element list,
// argument preparation, dispatch through the function table, the list services
// SplitList and JoinList that the built-ins use, and EvaluateClause for callers
// that hold a clause as plain text.
#include "engine/Strings.h"
#include "engine/TPBaseTag.h"
#include "engine/clause/ClauseSupport.h"
#include "engine/clause/TClause.h"
#include "engine/functions/FunctionTable.h"

namespace vantrel {

namespace {
std::string Quoted(std::string_view text) {
  std::string q;
  q.reserve(text.size() + 2);
  q += '"';
  q += text;
  q += '"';
  return q;
}
}  // namespace

bool IsReservedFunctionName(std::string_view name) {
  // Speed: lower-cased in a small buffer; no function name is longer than it.
  char lower[32];
  if (name.size() > sizeof lower) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    lower[i] = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
  }
  const TFunctionRow* row = FindFunction(std::string_view(lower, name.size()));
  return row != nullptr && row->Reserved;
}

bool IsNameOrSignedNumber(std::string_view text) {
  if (text.empty() || text[0] == '"') return false;
  // Speed: the plain character tests come before the two word lookups.
  if (text.find(' ') != std::string_view::npos) return false;
  if (text.find_first_not_of("0123456789 ") == std::string_view::npos) return false;
  return !IsReservedFunctionName(text) && !IsReservedWord(text);
}

void ResolveElementValues(TClause& clause) {
  TMyStringList& elements = clause.Elements;
  const size_t count = elements.Count();
  for (size_t i = 0; i < count; ++i) {
    TMyStringList::Item& item = elements[i];
    if (item.Clause) {
      if (!item.Text.empty()) {
        item.Clause->PrepareArguments();
        item.Text = Quoted(clause.CallFunction(item.Text, *item.Clause));
      } else {
        item.Text = Quoted(item.Clause->GetResult());
      }
    }
    // Values are quoted so that they are not taken for names or operator words later.
    if (IsNameOrSignedNumber(item.Text)) item.Text = Quoted(clause.ResolveOperand(item.Text));
    clause.Engine.Charge(static_cast<long long>(item.Text.size()));
  }
}

void TClause::PrepareArguments() {
  try {
    ResolveElementValues(*this);
  } catch (...) {
    // The built-in still runs on the arguments as far as they were prepared.
    return;
  }
  EvaluateOperators();
}

std::string TClause::CallFunction(std::string_view name, TClause& arguments) {
  std::string result;
  const TFunctionRow* row = FindFunction(LowerCase(name));
  if (row != nullptr && row->Function != nullptr) row->Function(*this, arguments, result);
  if (ParentClause) result = Quoted(result);
  return result;
}

std::optional<std::vector<std::string>> TClause::SplitList(std::string_view name, std::string_view delimiter) {
  if (name.empty() || OwnerTag == nullptr) return std::nullopt;
  std::string value;
  try {
    value = OwnerTag->GetValue(name, false);
  } catch (...) {
    return std::nullopt;
  }
  // Each cut removes the piece and only the first character of the delimiter, so
  // the rest of a longer delimiter stays at the start of the next entry.
  std::vector<std::string> list;
  size_t start = 0;
  while (start < value.size()) {
    const size_t at = delimiter.empty() ? std::string::npos : value.find(delimiter, start);
    if (at == std::string::npos) {
      list.push_back(value.substr(start));
      return list;
    }
    list.push_back(value.substr(start, at - start));
    start = at + 1;
  }
  return std::nullopt;  // an empty value, or one ending with the delimiter
}

std::string TClause::JoinList(const std::optional<std::vector<std::string>>& list, std::string_view delimiter) {
  if (!list) return {};
  const std::string_view separator = delimiter.empty() ? std::string_view(",") : delimiter;
  std::string text;
  for (size_t i = 0; i < list->size(); ++i) {
    if (i > 0) text += separator;
    text += (*list)[i];
  }
  return text;
}

std::string EvaluateClause(TEngine& engine, std::string_view text, TPBaseTag* owner) {
  try {
    TTextStream stream{std::string(text)};
    TClause clause(engine, stream, nullptr, owner);
    return clause.GetResult();
  } catch (...) {
    engine.ReportError("Error Parsing Clause Results, text = " + std::string(text) + "; element count = 0");
    return {};
  }
}

}  // namespace vantrel
