// Numeric and locale built-ins: rounding and integer conversion, the square root,
// a random number, the mask-driven number formatter, the number tests and the
// conversion between the regional decimal separator and the point. The date and
// time built-ins are in DateFunctions.cpp.
#include <bit>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <string_view>

#include "engine/Strings.h"
#include "engine/TPBaseTag.h"
#include "engine/clause/ClauseSupport.h"
#include "engine/clause/TClause.h"
#include "engine/functions/BuiltIns.h"
#include "engine/functions/FunctionSupport.h"

namespace vantrel {

namespace {

constexpr std::string_view kError = "ERROR";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Rounds to the nearest whole number, an exact half going to the even neighbour.
double RoundHalfToEven(double x) {
  const double lower = std::floor(x);
  const double fraction = x - lower;
  if (fraction > 0.5) return lower + 1;
  if (fraction < 0.5) return lower;
  return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

// A whole value in decimal; values outside the signed 64-bit range are a failure.
std::string WholeText(double whole) {
  if (!std::isfinite(whole) || whole < -9223372036854775808.0 || whole >= 9223372036854775808.0)
    throw TFunctionFailure{};
  return std::to_string(static_cast<std::int64_t>(whole));
}

// The message of asint and ceiling: the argument list and the argument as read.
std::string CalledAsReport(std::string_view label, const TClause& arguments, const std::string& argument) {
  return "Fn: " + std::string(label) + "(" + ArgumentListText(arguments) + ") called as (" + argument + ")";
}

// asint and int: the rounded reading in decimal.
void RoundedBuiltIn(TClause& caller, TClause& arguments, std::string& result, std::string_view label,
                    bool reportCalledAs) {
  auto body = [&] { return std::to_string(RoundedArgument(caller, arguments, 1)); };
  if (!reportCalledAs) {
    RunBuiltIn(caller, arguments, result, label, kError, body);
    return;
  }
  RunBuiltInReporting(caller, result, kError, body, [&] {
    return CalledAsReport(label, arguments, HasArgument(arguments, 1) ? Argument(arguments, 1) : std::string());
  });
}

// ---- numberformat ----

// Keeps the digits, "+", "-", "E", "e" and the decimal separator, then trims.
std::string CleanNumber(std::string_view text, char decimalSeparator) {
  std::string kept;
  for (char c : text)
    if (IsDigit(c) || c == '+' || c == '-' || c == 'E' || c == 'e' || c == decimalSeparator) kept += c;
  return Trim(kept);
}

// The cleaned number in extended precision, so that 18 significant digits can be
// written; the double read by the real reading serves when that fails.
long double ExtendedValue(const std::string& cleaned, char decimalSeparator, double fallback) {
  std::string plain;
  for (char c : cleaned) {
    if (c == '+') continue;
    plain += c == decimalSeparator ? '.' : c;
  }
  long double value = 0;
  const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (error != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value)) return fallback;
  return value;
}

// Inserts the thousands separator between every group of three digits.
std::string Grouped(const std::string& digits, const std::string& separator) {
  std::string out;
  const size_t n = digits.size();
  for (size_t i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) out += separator;
    out += digits[i];
  }
  return out;
}

// The magnitude of value written with the given number of decimals, rounded from
// its first 18 significant digits with halves away from zero. Sets allZero when
// nothing but zeros was written.
// The first 18 significant digits of a nonzero magnitude and the decimal exponent
// of the first of them.
void SignificantDigits(long double value, std::string& digits, long& exponent) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.17Le", std::fabs(value));
  // buf is d.ddddddddddddddddde[+-]xx: 18 significant digits and an exponent.
  const std::string text(buf);
  const size_t e = text.find('e');
  digits = text.substr(0, 1) + text.substr(2, e - 2);
  exponent = std::strtol(text.c_str() + e + 1, nullptr, 10);
}

// Speed: the significant digits of a plain decimal text (digits with at most one
// point, no sign or exponent) of at most 18 significant digits, read straight from
// the text. Extended precision keeps 18 significant digits of any such decimal, so
// these are the digits the formatter writes for its extended value. False when the
// text is not of that form or the value is zero.
bool PlainDecimalDigits(std::string_view text, char point, std::string& digits, long& exponent) {
  size_t integerLength = text.size();
  bool seenPoint = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == point && !seenPoint) {
      seenPoint = true;
      integerLength = i;
    } else if (c < '0' || c > '9') {
      return false;
    }
  }
  digits.clear();
  long firstPosition = 0;  // the position of the first significant digit: 0 for units
  bool started = false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (i == integerLength) continue;
    const char c = text[i];
    if (!started) {
      if (c == '0') continue;
      started = true;
      const long place = i < integerLength ? static_cast<long>(integerLength - i) - 1
                                           : -static_cast<long>(i - integerLength);
      firstPosition = place;
    }
    digits += c;
  }
  if (!started) return false;
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
  if (digits.size() > 18 || firstPosition < -4000 || firstPosition > 4000) return false;
  digits.append(18 - digits.size(), '0');
  exponent = firstPosition;
  return true;
}

std::string FixedMagnitude(long double value, std::string_view plainText, size_t decimals, bool grouping,
                           const platform::RegionalSettings& regional, bool& allZero) {
  std::string integerDigits = "0";
  std::string fraction(decimals, '0');
  if (value != 0) {
    std::string digits;
    long exponent = 0;
    if (!PlainDecimalDigits(plainText, regional.DecimalSeparator, digits, exponent))
      SignificantDigits(value, digits, exponent);
    // Place the digits: the integer part holds exponent+1 of them.
    std::string whole, frac;
    if (exponent >= 0) {
      const auto integerLength = static_cast<size_t>(exponent) + 1;
      if (digits.size() < integerLength) digits.append(integerLength - digits.size(), '0');
      whole = digits.substr(0, integerLength);
      frac = digits.substr(integerLength);
    } else {
      whole = "0";
      frac = std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
    }
    bool roundUp = false;
    if (frac.size() > decimals) {
      roundUp = frac[decimals] >= '5';
      frac.resize(decimals);
    } else {
      frac.append(decimals - frac.size(), '0');
    }
    if (roundUp) {
      std::string all = whole + frac;
      size_t i = all.size();
      while (i > 0 && all[i - 1] == '9') all[--i] = '0';
      if (i == 0) {
        all.insert(all.begin(), '1');
        whole = all.substr(0, whole.size() + 1);
      } else {
        ++all[i - 1];
        whole = all.substr(0, whole.size());
      }
      frac = all.substr(whole.size());
    }
    const size_t firstNonZero = whole.find_first_not_of('0');
    integerDigits = firstNonZero == std::string::npos ? "0" : whole.substr(firstNonZero);
    fraction = frac;
  }
  allZero = integerDigits == "0" && fraction.find_first_not_of('0') == std::string::npos;
  std::string out = grouping ? Grouped(integerDigits, regional.ThousandSeparator) : integerDigits;
  if (decimals > 0) out += regional.DecimalSeparator + fraction;
  return out;
}

std::string NumberFormat(TClause& caller, TClause& arguments) {
  const std::string number = Argument(arguments, 1);
  const std::string mask = Argument(arguments, 2);
  if (number.empty() || mask.empty()) return number;
  const platform::RegionalSettings& regional = caller.Engine.Regional;
  const char decimal = regional.DecimalSeparator;
  const std::string cleaned = CleanNumber(number, decimal);
  const std::optional<double> read = ReadRealNumber(cleaned, regional);
  if (!read) throw TFunctionFailure{};
  const long double value = ExtendedValue(cleaned, decimal, *read);
  // 18 significant digits cannot show a whole part of 19 digits or more: such
  // values are written in the general number format.
  if (std::fabs(value) >= 1e18L) return FormatGeneral(*read, decimal);

  const bool negative = value < 0;
  // The cleaned text without its sign, for reading the digits straight from it.
  std::string_view magnitudeText = cleaned;
  if (!magnitudeText.empty() && (magnitudeText[0] == '-' || magnitudeText[0] == '+')) magnitudeText.remove_prefix(1);
  bool allZero = false;
  if (!regional.CurrencySymbol.empty() && Contains(mask, regional.CurrencySymbol)) {
    const std::string amount = FixedMagnitude(value, magnitudeText, 2, true, regional, allZero);
    return regional.CurrencyLayout(amount, negative && !allZero);
  }
  const size_t point = mask.find(decimal);
  const size_t decimals = point == std::string::npos ? 0 : mask.size() - point - 1;
  const bool grouping = !regional.ThousandSeparator.empty() && Contains(mask, regional.ThousandSeparator);
  const std::string magnitude = FixedMagnitude(value, magnitudeText, decimals, grouping, regional, allZero);
  return negative && !allZero ? "-" + magnitude : magnitude;
}

// ---- randrange ----

// A fraction 0 <= r < 1 from a generator seeded afresh: from the engine's clock
// when one is set, else from the system clock's finest tick.
double FreshRandomFraction(const TEngine& engine) {
  std::uint64_t seed;
  if (engine.Clock) {
    seed = std::bit_cast<std::uint64_t>(engine.Clock());
  } else {
    seed = static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
  }
  std::mt19937_64 generator(seed);
  return static_cast<double>(generator() >> 11) * 0x1.0p-53;
}

}  // namespace

void Fn_asint(TClause& caller, TClause& arguments, std::string& result) {
  RoundedBuiltIn(caller, arguments, result, "asint", true);
}

void Fn_int(TClause& caller, TClause& arguments, std::string& result) {
  RoundedBuiltIn(caller, arguments, result, "int", false);
}

void Fn_ceiling(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltInReporting(
      caller, result, kError, [&] { return WholeText(std::ceil(RealArgument(caller, arguments, 1))); },
      [&] {
        return CalledAsReport("ceiling", arguments, HasArgument(arguments, 1) ? Argument(arguments, 1) : std::string());
      });
}

void Fn_floor(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltIn(caller, arguments, result, "floor", kError,
             [&] { return WholeText(std::floor(RealArgument(caller, arguments, 1))); });
}

void Fn_round(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltIn(caller, arguments, result, "round", kError,
             [&] { return WholeText(RoundHalfToEven(RealArgument(caller, arguments, 1))); });
}

void Fn_mod(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltIn(caller, arguments, result, "Mod", kError, [&] {
    const std::int64_t dividend = RoundedArgument(caller, arguments, 1);
    const std::int64_t divisor = RoundedArgument(caller, arguments, 2);
    if (divisor == 0) throw TFunctionFailure{};
    return std::to_string(dividend % divisor);  // truncated: the sign is the dividend's
  });
}

void Fn_sqr(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltIn(caller, arguments, result, "sqr", kError, [&] {
    const double value = RealArgument(caller, arguments, 1);
    if (value < 0) throw TFunctionFailure{};
    return FormatGeneral(std::sqrt(value), caller.Engine.Regional.DecimalSeparator);
  });
}

void Fn_randrange(TClause& caller, TClause& arguments, std::string& result) {
  double low = 0;
  double high = 0;
  try {
    low = RealArgument(caller, arguments, 1);
    high = RealArgument(caller, arguments, 2);
  } catch (...) {
    // A number that cannot be read reports under the function's own name.
    RunBuiltIn(caller, arguments, result, "randrange", kError, []() -> std::string { throw TFunctionFailure{}; });
    return;
  }
  RunBuiltIn(caller, arguments, result, "randange", kError, [&] {
    const double r = FreshRandomFraction(caller.Engine);
    return WholeText(std::floor(low + (high + 1 - low) * r));
  });
}

void Fn_numberformat(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltIn(caller, arguments, result, "NumberFormat", kError, [&] { return NumberFormat(caller, arguments); });
}

void Fn_iswhole(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltIn(caller, arguments, result, "iswhole", kError, [&] {
    const std::string value = caller.ResolveOperand(Argument(arguments, 1));
    const std::optional<double> number = ReadRealNumber(value, caller.Engine.Regional);
    if (!number) throw TFunctionFailure{};
    const double magnitude = std::fabs(*number);
    return std::string(magnitude > std::trunc(magnitude) ? "false" : "true");
  });
}

void Fn_isnumeric(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltIn(caller, arguments, result, "isnumeric", kError,
             [&] { return std::string(caller.IsNumber(Argument(arguments, 1)) ? "true" : "false"); });
}

void Fn_localize(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltIn(caller, arguments, result, "localize", kError, [&] {
    const char decimal = caller.Engine.Regional.DecimalSeparator;
    std::string text = Argument(arguments, 1);
    for (char& c : text)
      if (c == '.') c = decimal;
    return text;
  });
}

void Fn_delocalize(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltIn(caller, arguments, result, "delocalize", kError, [&] {
    const char decimal = caller.Engine.Regional.DecimalSeparator;
    std::string text = Argument(arguments, 1);
    for (char& c : text)
      if (c == decimal) c = '.';
    return text;
  });
}

}  // namespace vantrel
