// String built-ins: measuring, cutting, searching, replacing, encoding for HTML,
// URLs and SQL, tokenising, comparing, and the product-code functions fullupc,
// validupc and verifydata. Each reads its arguments by position, answers its
// fallback result on any failure and reports "Fn: " + label + "(" + arguments + ")".
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/Strings.h"
#include "engine/TPBaseTag.h"
#include "engine/clause/TClause.h"
#include "engine/functions/BuiltIns.h"
#include "engine/functions/FunctionSupport.h"

namespace vantrel {

namespace {

constexpr std::string_view kError = "ERROR";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsAsciiAlphanumeric(char c) { return IsAsciiLetter(c) || IsDigit(c); }

// Removes every occurrence of pattern, including occurrences that earlier removals
// bring together, as if the first occurrence were removed and the search restarted
// from the beginning until none is left. The pattern never overlaps itself, so one
// pass that drops the pattern whenever the output ends with it gives the same text.
std::string RemoveAllRepeatedly(std::string_view text, std::string_view pattern) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    out += c;
    if (EndsWith(out, pattern)) out.resize(out.size() - pattern.size());
  }
  return out;
}

// Replaces old by replacement in text, finding old in the searchable form of text
// (the same length, byte for byte comparable with the searchable form of old).
// Occurrences are taken from the left without overlap; only the first one unless all.
std::string ReplaceOccurrences(std::string_view text, std::string_view searchText, std::string_view searchOld,
                               std::string_view replacement, bool all) {
  if (searchOld.empty()) return std::string(text);
  std::string out;
  size_t from = 0;
  for (;;) {
    const size_t at = searchText.find(searchOld, from);
    if (at == std::string_view::npos) break;
    out.append(text.substr(from, at - from));
    out.append(replacement);
    from = at + searchOld.size();
    if (!all) break;
  }
  out.append(text.substr(from));
  return out;
}

// mid and copy: count characters from start; a start below 1 counts as 1.
std::string MidText(const std::string& text, std::int32_t start, std::int32_t count) {
  const auto length = static_cast<std::int64_t>(text.size());
  const std::int64_t s = std::max<std::int64_t>(start, 1);
  if (s > length || count < 0) return {};
  return text.substr(static_cast<size_t>(s - 1), static_cast<size_t>(count));
}

void RunMid(TClause& caller, TClause& arguments, std::string& result, std::string_view label) {
  if (ArgumentCount(arguments) == 0) {
    result = kError;
    return;
  }
  RunBuiltIn(caller, arguments, result, label, kError, [&] {
    const std::string text = Argument(arguments, 1);
    const std::int32_t start = WholeArgument(arguments, 2);
    const std::int32_t count = WholeArgument(arguments, 3);
    return MidText(text, start, count);
  });
}

// find and pos: the substring in the text at or after start (rounded reading).
void RunFind(TClause& caller, TClause& arguments, std::string& result, std::string_view label) {
  RunBuiltIn(caller, arguments, result, label, kError, [&]() -> std::string {
    const std::string part = Argument(arguments, 1);
    const std::string text = Argument(arguments, 2);
    const std::int64_t start = HasArgument(arguments, 3) ? RoundedArgument(caller, arguments, 3) : 1;
    if (part.empty() || text.empty() || start < 1) return "0";
    if (start - 1 + static_cast<std::int64_t>(part.size()) > static_cast<std::int64_t>(text.size())) return "0";
    const size_t at = text.find(part, static_cast<size_t>(start - 1));
    return at == std::string::npos ? "0" : std::to_string(at + 1);
  });
}

// delete and removechars: count characters removed from start; outside the text, or
// with a count of 0 or below, the text comes back unchanged.
void RunDelete(TClause& caller, TClause& arguments, std::string& result) {
  if (ArgumentCount(arguments) < 5) {
    result = kError;
    return;
  }
  RunBuiltIn(caller, arguments, result, "delete", kError, [&] {
    std::string text = Argument(arguments, 1);
    const std::int64_t start = WholeArgument(arguments, 2);
    const std::int64_t count = WholeArgument(arguments, 3);
    const auto length = static_cast<std::int64_t>(text.size());
    if (start < 1 || start > length || count <= 0) return text;
    text.erase(static_cast<size_t>(start - 1), static_cast<size_t>(std::min(count, length - start + 1)));
    return text;
  });
}

// replace and replacenocase. Without regard to case, old is found with the letter
// pairs of the Windows-1252 character set, accented letters included.
void RunReplace(TClause& caller, TClause& arguments, std::string& result, std::string_view label,
                bool ignoreCase) {
  RunBuiltIn(caller, arguments, result, label, kError, [&] {
    const std::string text = Argument(arguments, 1);
    const std::string old = Argument(arguments, 2);
    const std::string replacement = Argument(arguments, 3);
    // Only the exact text "all" replaces every occurrence.
    const bool all = HasArgument(arguments, 4) ? Argument(arguments, 4) == "all" : true;
    if (!ignoreCase) return ReplaceOccurrences(text, text, old, replacement, all);
    return ReplaceOccurrences(text, AnsiLowerCase(text), AnsiLowerCase(old), replacement, all);
  });
}

// comparestr and comparetext report the two texts they compared.
void RunCompare(TClause& caller, TClause& arguments, std::string& result, std::string_view label,
                bool ignoreCase) {
  std::string first;
  std::string second;
  RunBuiltInReporting(
      caller, result, kError,
      [&]() -> std::string {
        first = Argument(arguments, 1);
        second = Argument(arguments, 2);
        const bool same = ignoreCase ? LowerCase(first) == LowerCase(second) : first == second;
        return same ? "true" : "false";
      },
      [&] {
        return "Fn: " + std::string(label) + "(" + ArgumentListText(arguments) + ") called as (" + first + ", " +
               second + ")";
      });
}

// The tokens of text cut at every character of delimiters; two delimiters in a row
// enclose an empty token, and the text after the last delimiter is the last token.
std::string TokenAt(std::string_view text, std::string_view delimiters, double index) {
  if (!(index >= 1) || index != std::floor(index)) return {};
  if (index > static_cast<double>(text.size()) + 1) return {};  // more than there can be tokens
  const auto wanted = static_cast<size_t>(index);
  size_t ended = 0;  // tokens ended so far
  size_t tokenStart = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (delimiters.find(text[i]) == std::string_view::npos) continue;
    if (ended == wanted - 1) return std::string(text.substr(tokenStart, i - tokenStart));
    ++ended;
    tokenStart = i + 1;
  }
  if (ended == wanted - 1) return std::string(text.substr(tokenStart));
  return {};
}

// The value of a "%" escape: a digit counts its value, a character from ":" to "F"
// its code minus 55 (so A to F count 10 to 15); a character below "0" is skipped and
// a character after "F" (lower-case letters too) ends the value.
char EscapedCharacter(std::string_view digits) {
  unsigned value = 0;
  for (char c : digits) {
    const auto u = static_cast<unsigned char>(c);
    if (u < '0') continue;
    if (u > 'F') break;
    value = value * 16 + (u <= '9' ? u - '0' : u - 55);
  }
  return static_cast<char>(value & 0xFF);
}

// verifydata: whether data matches mask; see Fn_verifydata.
bool MatchesMask(std::string data, std::string_view mask, std::int32_t limit) {
  if (data.empty() || mask.empty()) return false;
  if (limit > 0 && static_cast<size_t>(limit) < data.size()) data.resize(static_cast<size_t>(limit));

  // Positions as indexes; a walk stops when the mask or the data would advance past
  // its last character. The mask is advanced (and examined) first.
  size_t i = 0;
  size_t j = 0;
  bool matched = false;
  bool maskUsedUp = false;
  bool dataUsedUp = false;
  // Moves the mask by steps characters and, when consume, the data by one.
  auto advance = [&](size_t steps, bool consume) {
    matched = consume;
    if (i + steps >= mask.size()) {
      maskUsedUp = true;
      return;
    }
    i += steps;
    if (!consume) return;
    if (j + 1 >= data.size()) {
      dataUsedUp = true;
      return;
    }
    ++j;
  };

  while (!maskUsedUp && !dataUsedUp) {
    const char m = mask[i];
    const char d = data[j];
    switch (m) {
      case '#': advance(1, d == '+' || d == '-'); break;
      case '0':
        if (!IsDigit(d)) return false;
        advance(1, true);
        break;
      case '9': advance(1, IsDigit(d)); break;
      case '?':
      case '@': advance(1, true); break;
      case 'A':
        if (!IsAsciiAlphanumeric(d)) return false;
        advance(1, true);
        break;
      case 'a': advance(1, IsAsciiAlphanumeric(d)); break;
      case 'C':
        if (!IsAsciiLetter(d)) return false;
        advance(1, true);
        break;
      case 'c': advance(1, IsAsciiLetter(d)); break;
      case '\\':
        if (i + 1 >= mask.size()) return false;
        advance(2, d == mask[i + 1]);
        break;
      case '|':
        if (i + 1 >= mask.size()) return false;
        if (d != mask[i + 1]) return false;
        advance(2, true);
        break;
      default: return false;
    }
  }
  if (!matched) return false;
  if (maskUsedUp) {
    if (j + 1 == data.size()) return true;
    return data.find_first_not_of(' ', j) == std::string::npos;
  }
  // The data is used up while mask characters remain.
  if (limit != -1) return true;
  return mask.substr(i).find_first_of("AC0?|") == std::string_view::npos;
}

}  // namespace

void Fn_len(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltIn(caller, arguments, result, "len", kError, [&] { return std::to_string(Argument(arguments, 1).size()); });
}

void Fn_left(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltIn(caller, arguments, result, "left", kError, [&]() -> std::string {
    const std::string text = Argument(arguments, 1);
    const std::int32_t count = WholeArgument(arguments, 2);
    if (count <= 0) return {};
    return text.substr(0, static_cast<size_t>(count));
  });
}

void Fn_right(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltIn(caller, arguments, result, "right", kError, [&]() -> std::string {
    const std::string text = Argument(arguments, 1);
    const std::int32_t count = WholeArgument(arguments, 2);
    if (count <= 0) return {};
    const size_t keep = std::min(text.size(), static_cast<size_t>(count));
    return text.substr(text.size() - keep);
  });
}

void Fn_mid(TClause& caller, TClause& arguments, std::string& result) { RunMid(caller, arguments, result, "Mid"); }

void Fn_copy(TClause& caller, TClause& arguments, std::string& result) { RunMid(caller, arguments, result, "Copy"); }

void Fn_find(TClause& caller, TClause& arguments, std::string& result) { RunFind(caller, arguments, result, "Find"); }

void Fn_pos(TClause& caller, TClause& arguments, std::string& result) { RunFind(caller, arguments, result, "Pos"); }

void Fn_findoneof(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltIn(caller, arguments, result, "FindOneOf", kError, [&]() -> std::string {
    const std::string set = Argument(arguments, 1);
    const std::string text = Argument(arguments, 2);
    const std::int64_t start = HasArgument(arguments, 3) ? RoundedArgument(caller, arguments, 3) : 1;
    if (start > static_cast<std::int64_t>(text.size())) return "0";
    // Positions below 1 are never a match, so a start below 1 behaves like 1.
    for (size_t i = static_cast<size_t>(std::max<std::int64_t>(start, 1)) - 1; i < text.size(); ++i)
      if (set.find(text[i]) != std::string::npos) return std::to_string(i + 1);
    return "0";
  });
}

void Fn_spanexcluding(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltIn(caller, arguments, result, "spanexcluding", kError, [&] {
    const std::string text = Argument(arguments, 1);
    const std::string set = Argument(arguments, 2);
    const size_t at = text.find_first_of(set);
    return at == std::string::npos ? text : text.substr(0, at);
  });
}

void Fn_insert(TClause& caller, TClause& arguments, std::string& result) {
  if (ArgumentCount(arguments) < 5) return;  // the empty text
  RunBuiltIn(caller, arguments, result, "insert", kError, [&] {
    const std::string part = Argument(arguments, 1);
    std::string text = Argument(arguments, 2);
    const std::int64_t position = WholeArgument(arguments, 3);
    const std::int64_t at = std::clamp<std::int64_t>(position, 1, static_cast<std::int64_t>(text.size()) + 1);
    text.insert(static_cast<size_t>(at - 1), part);
    return text;
  });
}

void Fn_delete(TClause& caller, TClause& arguments, std::string& result) { RunDelete(caller, arguments, result); }

void Fn_removechars(TClause& caller, TClause& arguments, std::string& result) {
  RunDelete(caller, arguments, result);
}

void Fn_replace(TClause& caller, TClause& arguments, std::string& result) {
  RunReplace(caller, arguments, result, "replace", false);
}

void Fn_replacenocase(TClause& caller, TClause& arguments, std::string& result) {
  RunReplace(caller, arguments, result, "replacenocase", true);
}

void Fn_ucase(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltIn(caller, arguments, result, "ucase", kError, [&] { return UpperCase(Argument(arguments, 1)); });
}

void Fn_lcase(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltIn(caller, arguments, result, "lcase", kError, [&] { return LowerCase(Argument(arguments, 1)); });
}

void Fn_trim(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltIn(caller, arguments, result, "Trim", kError, [&] { return Trim(Argument(arguments, 1)); });
}

void Fn_quoted(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltIn(caller, arguments, result, "Quoted", kError, [&] { return '"' + Argument(arguments, 1) + '"'; });
}

void Fn_safequote(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltIn(caller, arguments, result, "safequote", kError,
             [&] { return ReplaceAll(Argument(arguments, 1), "\"", "&QUOT;"); });
}

void Fn_sqlsafe(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltIn(caller, arguments, result, "sqlsafe", kError, [&] { return ReplaceAll(Argument(arguments, 1), "'", "''"); });
}

void Fn_htmleditformat(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltIn(caller, arguments, result, "htmleditformat", kError, [&] {
    std::string text = ReplaceAll(Argument(arguments, 1), "&", "&amp;");
    text = ReplaceAll(text, "<", "&lt;");
    text = ReplaceAll(text, ">", "&gt;");
    return ReplaceAll(text, "\"", "&QUOT;");
  });
}

void Fn_urlencodedformat(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltIn(caller, arguments, result, "urlencodeformat", kError, [&] {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char c : Argument(arguments, 1)) {
      if (IsAsciiAlphanumeric(c) || c == '-' || c == '.' || c == '_') {
        out += c;
      } else if (c == ' ') {
        out += "&nbsp;";  // blanks stay blanks while encoding and are written as &nbsp;
      } else {
        const auto u = static_cast<unsigned char>(c);
        out += '%';
        out += kHex[u >> 4];
        out += kHex[u & 0x0F];
      }
    }
    return out;
  });
}

void Fn_urldecodedformat(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltIn(caller, arguments, result, "urldecodeformat", kError, [&] {
    // A plus sign is escaped first so that it survives the decoding as itself.
    const std::string text = ReplaceAll(Argument(arguments, 1), "+", "%2B");
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
      const char c = text[i];
      if (c == '%' && i + 2 < text.size()) {
        out += EscapedCharacter(std::string_view(text).substr(i + 1, 2));
        i += 2;
      } else if (c == '&') {
        out += "\r\n";
      } else {
        out += c;  // a "%" without two characters after it stays itself
      }
    }
    return out;
  });
}

void Fn_cleantext(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltIn(caller, arguments, result, "cleantext", kError,
             [&] { return RemoveAllRepeatedly(RemoveAllRepeatedly(Argument(arguments, 1), "%0D"), "%0A"); });
}

void Fn_comparestr(TClause& caller, TClause& arguments, std::string& result) {
  if (ArgumentCount(arguments) != 3) {
    result = kError;
    return;
  }
  RunCompare(caller, arguments, result, "comparestr", false);
}

void Fn_comparetext(TClause& caller, TClause& arguments, std::string& result) {
  if (ArgumentCount(arguments) != 3) {
    result = "false";
    return;
  }
  RunCompare(caller, arguments, result, "comparetext", true);
}

void Fn_concat(TClause& caller, TClause& arguments, std::string& result) {
  // Every entry of the argument list is joined, separators included: a prepared
  // separator is empty, or "," when the comma is the decimal separator. The list is
  // used up by the call.
  const std::string listText = ArgumentListText(arguments);
  RunBuiltInReporting(
      caller, result, kError,
      [&] {
        TMyStringList& items = arguments.Elements;
        if (items.Count() == 0) throw TFunctionFailure{};
        std::string text = StripQuotes(items[0].Text);
        for (size_t i = 1; i < items.Count(); ++i) text += StripQuotes(items[i].Text);
        while (items.Count() > 0) items.Delete(items.Count() - 1);
        return text;
      },
      [&] { return "Fn: concat(" + StripQuotes(listText) + ")"; });
}

void Fn_gettoken(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltIn(caller, arguments, result, "GetToken", kError, [&] {
    const std::string text = Argument(arguments, 1);
    const double index = RealArgument(caller, arguments, 2);
    std::string delimiters = HasArgument(arguments, 3) ? Argument(arguments, 3) : std::string("  \t\n");
    // A comma can never delimit.
    delimiters.erase(std::remove(delimiters.begin(), delimiters.end(), ','), delimiters.end());
    return TokenAt(text, delimiters, index);
  });
}

void Fn_chr(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltIn(caller, arguments, result, "chr", kError, [&] {
    const std::int32_t code = WholeArgument(arguments, 1);
    return std::string(1, static_cast<char>(static_cast<std::uint32_t>(code) & 0xFF));
  });
}

void Fn_fullupc(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltIn(caller, arguments, result, "fullupc", kError, [&]() -> std::string {
    const std::string digits = Argument(arguments, 1);
    if (digits.size() != 11) return {};
    // UPC-A check digit: three times the digits at odd positions plus the digits at
    // even positions; the check digit tops the sum up to a multiple of ten.
    int sum = 0;
    for (size_t i = 0; i < digits.size(); ++i) {
      if (!IsDigit(digits[i])) throw TFunctionFailure{};
      const int digit = digits[i] - '0';
      sum += i % 2 == 0 ? 3 * digit : digit;
    }
    const int check = (10 - sum % 10) % 10;
    return digits + static_cast<char>('0' + check);
  });
}

void Fn_validupc(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltIn(caller, arguments, result, "validupc", kError,
             [&] { return std::string(Argument(arguments, 1).size() == 11 ? "true" : "false"); });
}

// verifydata(data, mask, limit). Mask characters: "#" an optional sign; "0" a
// required digit, "9" an optional one; "?" and "@" any character; "A" a required
// letter or digit, "a" an optional one; "C" a required letter, "c" an optional one;
// "\x" an optional x; "|x" a required x. An optional element that does not match
// moves the mask on alone. A limit above 0 cuts the data to that many characters;
// with a limit of -1, data that ends before the mask does must leave no required
// element behind.
void Fn_verifydata(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltIn(caller, arguments, result, "verifydata", kError, [&] {
    const std::string data = Argument(arguments, 1);
    const std::string mask = Argument(arguments, 2);
    const std::int32_t limit = RoundedArgument(caller, arguments, 3);
    return std::string(MatchesMask(data, mask, limit) ? "true" : "false");
  });
}

}  // namespace vantrel
