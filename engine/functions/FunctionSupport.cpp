// Argument access, failure reports and number readings shared by the built-ins;
// see FunctionSupport.h.
#include "engine/functions/FunctionSupport.h"

#include <cmath>
#include <limits>
#include <stdexcept>

#include "engine/Strings.h"
#include "engine/TPBaseTag.h"
#include "engine/clause/ClauseSupport.h"
#include "engine/clause/TClause.h"

namespace vantrel {

std::size_t ArgumentCount(const TClause& arguments) { return arguments.Elements.Count(); }

bool HasArgument(const TClause& arguments, std::size_t n) {
  return n >= 1 && arguments.Elements.Count() > 2 * (n - 1);
}

std::string RawArgument(const TClause& arguments, std::size_t n) {
  if (!HasArgument(arguments, n)) throw std::out_of_range("List index out of bounds (" + std::to_string(n) + ")");
  return arguments.Elements[2 * (n - 1)].Text;
}

std::string Argument(const TClause& arguments, std::size_t n) { return StripQuotes(RawArgument(arguments, n)); }

std::string ArgumentListText(const TClause& arguments) { return arguments.Elements.Text(); }

void ReportFunctionError(const TClause& caller, std::string_view label, std::string_view listText) {
  std::string message = "Fn: ";
  message += label;
  message += '(';
  message += listText;
  message += ')';
  caller.Engine.ReportError(message);
}

void ReportFunctionError(const TClause& caller, std::string_view label, const TClause& arguments) {
  ReportFunctionError(caller, label, ArgumentListText(arguments));
}

// ---- Number readings and the failure path of the built-ins ----

namespace {

bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Rounds to the nearest whole number, an exact half going to the even neighbour.
double RoundHalfToEven(double x) {
  const double lower = std::floor(x);
  const double fraction = x - lower;
  if (fraction > 0.5) return lower + 1;
  if (fraction < 0.5) return lower;
  return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

}  // namespace

std::optional<std::int32_t> ReadWholeNumber(std::string_view text) {
  size_t p = 0;
  bool negative = false;
  if (p < text.size() && (text[p] == '+' || text[p] == '-')) negative = text[p++] == '-';
  int base = 10;
  if (p < text.size() && (text[p] == '$' || text[p] == 'x' || text[p] == 'X')) {
    base = 16;
    ++p;
  } else if (text.substr(p, 2) == "0x") {
    base = 16;
    p += 2;
  }
  if (p == text.size()) return std::nullopt;
  // Accumulated as a magnitude; the limit keeps -2147483648 readable.
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t magnitude = 0;
  for (; p < text.size(); ++p) {
    const int digit = base == 10 ? (IsDecimalDigit(text[p]) ? text[p] - '0' : -1) : HexDigitValue(text[p]);
    if (digit < 0) return std::nullopt;
    magnitude = magnitude * base + digit;
    if (magnitude > kLimit) return std::nullopt;
  }
  if (!negative && magnitude == kLimit) return std::nullopt;
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

std::optional<double> ReadRegionalNumber(std::string_view text, const platform::RegionalSettings& regional) {
  const std::string t = Trim(text);
  const char decimal = regional.DecimalSeparator;
  const std::string_view group = regional.ThousandSeparator;
  // The number is rewritten without grouping and with "." as decimal separator,
  // then read by the engine's plain number reading.
  std::string plain;
  size_t p = 0;
  if (p < t.size() && (t[p] == '+' || t[p] == '-')) plain += t[p++];
  bool anyDigit = false;
  while (p < t.size()) {
    if (IsDecimalDigit(t[p])) {
      plain += t[p++];
      anyDigit = true;
    } else if (!group.empty() && anyDigit && group[0] != decimal && t.compare(p, group.size(), group) == 0 &&
               p + group.size() < t.size() && IsDecimalDigit(t[p + group.size()])) {
      p += group.size();  // a grouping separator between two digits
    } else {
      break;
    }
  }
  if (p < t.size() && t[p] == decimal) {
    plain += '.';
    ++p;
    while (p < t.size() && IsDecimalDigit(t[p])) {
      plain += t[p++];
      anyDigit = true;
    }
  }
  if (!anyDigit) return std::nullopt;
  if (p < t.size() && (t[p] == 'e' || t[p] == 'E')) plain += t.substr(p);  // checked by ReadNumber
  else if (p != t.size()) return std::nullopt;
  return ReadNumber(plain, '.');
}

std::optional<std::int32_t> ReadRoundedNumber(std::string_view text, const platform::RegionalSettings& regional) {
  if (const std::optional<double> value = ReadRegionalNumber(text, regional)) {
    const double rounded = RoundHalfToEven(*value);
    if (rounded >= std::numeric_limits<std::int32_t>::min() && rounded <= std::numeric_limits<std::int32_t>::max())
      return static_cast<std::int32_t>(rounded);
  }
  if (const std::optional<std::int32_t> whole = ReadWholeNumber(text)) return whole;
  const std::string lower = LowerCase(text);
  if (lower == "true") return 1;
  if (lower == "false") return 0;
  return std::nullopt;
}

std::optional<double> ReadRealNumber(std::string_view text, const platform::RegionalSettings& regional) {
  if (const std::optional<double> value = ReadRegionalNumber(text, regional)) return value;
  return ReadNumber(text, regional.DecimalSeparator);
}

std::int32_t WholeArgument(const TClause& arguments, std::size_t n) {
  const std::optional<std::int32_t> value = ReadWholeNumber(Argument(arguments, n));
  if (!value) throw TFunctionFailure{};
  return *value;
}

std::int32_t RoundedArgument(const TClause& caller, const TClause& arguments, std::size_t n) {
  const std::optional<std::int32_t> value = ReadRoundedNumber(Argument(arguments, n), caller.Engine.Regional);
  if (!value) throw TFunctionFailure{};
  return *value;
}

double RealArgument(const TClause& caller, const TClause& arguments, std::size_t n) {
  const std::optional<double> value = ReadRealNumber(Argument(arguments, n), caller.Engine.Regional);
  if (!value) throw TFunctionFailure{};
  return *value;
}

void ReportFunctionMessage(const TClause& caller, const std::string& message) { caller.Engine.ReportError(message); }

}  // namespace vantrel
