// Variables and scopes: how names are resolved. "session." and "application." name
// the run-wide AppVariables, "cookie." the Cookies, queryname.column a column of a
// result set, and a plain name a page variable (or a column of the current row).
#include <exception>
#include <stdexcept>

#include "engine/Strings.h"
#include "engine/TPBaseTag.h"
#include "engine/clause/TClause.h"

namespace vantrel {

namespace {

// One leading and one trailing "#" are removed.
void StripHashes(std::string& n) {
  if (!n.empty() && n.front() == '#') n.erase(0, 1);
  if (!n.empty() && n.back() == '#') n.pop_back();
}

// Embedded expressions in a variable name are expanded at most this many times, so
// a value that names itself ("#x#" stored in x) cannot expand forever.
constexpr int kMaxNameExpansions = 64;

// A scope the host has not created yet is a failure of the lookup, not a crash.
template <class T>
T* Need(T* scope) {
  if (scope == nullptr) throw std::runtime_error("Variable scope not available");
  return scope;
}

}  // namespace

std::string TPBaseTag::GetValue(std::string_view Name, bool Quoted) {
  return LookupValue(Name, Quoted, Engine->CurrentRow.get());
}

bool TPBaseTag::IsDefined(std::string_view Name) { return LookupIsDefined(Name, Engine->CurrentRow.get()); }

std::string TPBaseTag::ParentGetValue(std::string_view Name, bool Quoted) {
  try {
    return Parent != nullptr ? Parent->GetValue(Name, Quoted) : std::string();
  } catch (const std::exception&) {
    return std::string();
  }
}

bool TPBaseTag::ParentIsDefined(std::string_view Name) {
  try {
    return Parent != nullptr && Parent->IsDefined(Name);
  } catch (const std::exception&) {
    return false;
  }
}

std::string TPBaseTag::LookupValue(std::string_view Name, bool Quoted, const TStringList* rowList) {
  std::string n = LowerCase(Name);
  if (n.empty()) return std::string();
  if (Contains(n, "(")) {
    // A clause; its literals arrive lower-cased like the rest of the name.
    try {
      return EvaluateClause(*Engine, n, Parent);
    } catch (const std::exception&) {
      return std::string();
    }
  }
  std::string result;
  if (Quoted) result += '"';
  try {
    n = vantrel::StripQuotes(n);
    StripHashes(n);
    // Speed: a name without "." is none of the scoped or query names below.
    if (n.find('.') == std::string::npos) {
      // A column of the current row hides a page variable unless its value is empty.
      std::string rowValue;
      if (rowList != nullptr) rowValue = rowList->Value(n);
      result += rowValue;
      if (rowValue.empty()) result += Need(LocalVariables)->Value(n);
    } else if (Contains(n, "session.")) {
      n.erase(0, 8);
      result += Need(AppVariables)->Value(n);
    } else if (Contains(n, "application.")) {
      n.erase(0, 12);
      result += Need(AppVariables)->Value(n);
    } else if (Contains(n, "cookie.")) {
      n.erase(0, 7);
      result += Need(Cookies)->Value(n);
    } else {
      size_t dot = n.find('.');
      std::string query = n.substr(0, dot);
      std::string column = n.substr(dot + 1);
      TQDBQuery* rs = QueryList != nullptr && QueryList->Count() > 0 ? QueryList->Find(query) : nullptr;
      if (rs != nullptr) {
        try {
          if (column == "recordcount") {
            result += std::to_string(rs->RecordCount());
          } else {
            result += rs->FieldByName(column).Text();
          }
        } catch (const std::exception& e) {
          ReportQueryError(std::string(e.what()) + "  In Query: " + query + ", Looking for variable " + column);
        }
      }
    }
  } catch (const std::exception&) {
    ReportError("Get Variable Error: Variable = " + std::string(Name));
  }
  if (Quoted) result += '"';
  return result;
}

bool TPBaseTag::LookupIsDefined(std::string_view Name, const TStringList* rowList) {
  try {
    std::string n = vantrel::StripQuotes(LowerCase(Name));
    if (n.empty()) return false;
    StripHashes(n);
    // Speed: a name without "." is none of the scoped or query names below.
    if (n.find('.') == std::string::npos) {
      if (rowList != nullptr && rowList->HasName(n)) return true;
      return Need(LocalVariables)->HasName(n);
    }
    if (Contains(n, "session.")) return Need(AppVariables)->HasName(n.substr(n.size() < 8 ? n.size() : 8));
    if (Contains(n, "application.")) return Need(AppVariables)->HasName(n.substr(n.size() < 12 ? n.size() : 12));
    if (Contains(n, "cookie.")) return Need(Cookies)->HasName(n.substr(n.size() < 7 ? n.size() : 7));
    return QueryList != nullptr && QueryList->Count() > 0 && QueryList->IndexOf(n.substr(0, n.find('.'))) >= 0;
  } catch (const std::exception&) {
    return false;
  }
}

void TPBaseTag::SetVariable(std::string_view Name, std::string_view Value) {
  if (Name.empty()) return;
  try {
    std::string n = vantrel::StripQuotes(LowerCase(Name));
    if (!n.empty() && n.front() == '#') {
      // An indirect name: the variable between the two "#" holds the name used.
      n = n.size() >= 2 ? n.substr(1, n.size() - 2) : std::string();
      n = GetValue(n, false);
    }
    // Embedded expressions: row#i# with i holding 3 is row3; a lone "#" is dropped.
    for (int round = 0; Contains(n, "#"); ++round) {
      if (round == kMaxNameExpansions) {
        std::string cleaned;
        for (char c : n)
          if (c != '#') cleaned += c;
        n = cleaned;
        break;
      }
      size_t p = n.find('#');
      std::string a = n.substr(0, p);
      n.erase(0, p + 1);
      std::string b;
      size_t q = n.find('#');
      if (q != std::string::npos) {
        b = n.substr(0, q);
        n.erase(0, q + 1);
      }
      n = a + GetValue(b, false) + n;
    }
    if (Contains(n, "session.")) {
      n.erase(0, 8);
      Need(AppVariables)->SetValue(n, Value);
    } else if (Contains(n, "application.")) {
      n.erase(0, 12);
      Need(AppVariables)->SetValue(n, Value);
    } else if (Contains(n, "cookie.")) {
      // cookies are written only by the cookie tag
    } else {
      Need(LocalVariables)->SetValue(n, Value);
    }
  } catch (const std::exception&) {
    // failures are ignored
  }
}

bool TPBaseTag::DeleteVariable(std::string_view Name) {
  try {
    std::string n = LowerCase(Name);
    if (n.empty()) return false;
    n = vantrel::StripQuotes(n);
    if (Contains(n, "session.")) return Need(AppVariables)->Remove(n.erase(0, 8));
    if (Contains(n, "application.")) return Need(AppVariables)->Remove(n.erase(0, 12));
    if (Contains(n, "cookie.")) return Need(Cookies)->Remove(n.erase(0, 7));
    if (Contains(n, "local.")) return Need(LocalVariables)->Remove(n.erase(0, 6));
    return false;
  } catch (const std::exception&) {
    ReportError("Delete Variable Error: Variable = " + std::string(Name));
    return false;
  }
}

std::string TPBaseTag::GetCookie(std::string_view Name) {
  std::string n(Name.size() > 7 ? Name.substr(7) : std::string_view());
  return Need(Cookies)->Value(n);
}

std::string TPBaseTag::IsParamDefined(std::string_view Name) {
  try {
    std::string n = LowerCase(vantrel::StripQuotes(Name));
    if (Contains(n, "cookie.") && Need(Cookies)->Count() > 0 && !Trim(GetCookie(n)).empty()) return "true";
    if (Contains(n, "session.") && Need(AppVariables)->Count() > 0 && !Trim(GetValue(n, false)).empty()) return "true";
    if (Need(LocalVariables)->Count() > 0 && !Trim(GetValue(n, false)).empty()) return "true";
    if (Attributes.Count() > 0 && !Trim(Attributes.Value(n)).empty()) return "true";
    return "false";
  } catch (const std::exception&) {
    return "false";
  }
}

}  // namespace vantrel
