// Services shared by the built-in functions: access to the prepared arguments by
// position, the failure report handed to the engine's error hook, the wrapper that
// turns any failure of a built-in into its fallback result, and the three readings
// of numbers from argument texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/RegionalSettings.h"

namespace vantrel {

class TClause;

// ---- Argument access and reports ----
// Argument n (counted from 1) is the entry at index 2(n-1) of the prepared argument
// clause; the entries between arguments are what became of the separators.
// Optional arguments are recognised by the entry count alone.

// The number of entries of the argument clause, separators included.
std::size_t ArgumentCount(const TClause& arguments);
// Whether argument n is present: more than 2(n-1) entries.
bool HasArgument(const TClause& arguments, std::size_t n);
// The entry of argument n as prepared; throws std::out_of_range when it is missing.
std::string RawArgument(const TClause& arguments, std::size_t n);
// Argument n through StripQuotes; throws std::out_of_range when it is missing.
std::string Argument(const TClause& arguments, std::size_t n);
// The argument list text of the reports: every entry followed by CR LF.
std::string ArgumentListText(const TClause& arguments);
// Hands "Fn: " + label + "(" + listText + ")" to the engine's error hook.
void ReportFunctionError(const TClause& caller, std::string_view label, std::string_view listText);
void ReportFunctionError(const TClause& caller, std::string_view label, const TClause& arguments);

// ---- Number readings (shared by the string, list and numeric families) ----

// Whole-number reading: an optional sign ("+" or "-") followed by decimal digits,
// or followed by one of the prefixes "$", "x", "X" or "0x" and hexadecimal digits
// (0-9, A-F in either case), so "$1F" reads 31 and "-x10" reads -16. The value must
// lie in the signed 32-bit range. Anything else (blanks, a fraction, an empty text)
// gives none.
std::optional<std::int32_t> ReadWholeNumber(std::string_view text);

// A number in the notation of the regional settings: blanks around it, an optional
// sign, digits in which the thousands separator may stand between two digits, the
// decimal separator with fraction digits, and an optional exponent ("e" or "E",
// optional sign, digits). At least one digit must stand before the exponent. A value
// beyond the double range gives none; one too small for it reads as 0.
std::optional<double> ReadRegionalNumber(std::string_view text, const platform::RegionalSettings& regional);

// Rounded reading: the regional notation, rounded to the nearest whole number with
// an exact half going to the even neighbour (2.5 gives 2, 3.5 gives 4), which must
// lie in the signed 32-bit range; failing that the whole-number reading; failing
// that "true" and "false" in any letter case, reading 1 and 0.
std::optional<std::int32_t> ReadRoundedNumber(std::string_view text, const platform::RegionalSettings& regional);

// Real reading: the regional notation; failing that a plain number with the
// regional decimal separator and an optional exponent (blanks around it allowed).
std::optional<double> ReadRealNumber(std::string_view text, const platform::RegionalSettings& regional);

// ---- Failure path of the built-ins ----

// Raised inside a built-in to take its failure path.
struct TFunctionFailure {};

// Hands a composed message to the engine's error hook.
void ReportFunctionMessage(const TClause& caller, const std::string& message);

// Argument n read by one of the number readings (the caller's regional settings
// for the rounded and real ones); TFunctionFailure when it does not read,
// std::out_of_range when it is missing.
std::int32_t WholeArgument(const TClause& arguments, std::size_t n);
std::int32_t RoundedArgument(const TClause& caller, const TClause& arguments, std::size_t n);
double RealArgument(const TClause& caller, const TClause& arguments, std::size_t n);

// Runs the body of a built-in, which returns the result text. Any failure inside it
// (a missing argument, a number that does not read, any other exception) leaves
// failValue as the result and reports "Fn: " + label + "(" + argument list text +
// ")". The list text is taken when the failure happens.
template <typename Body>
void RunBuiltIn(const TClause& caller, const TClause& arguments, std::string& result, std::string_view label,
                std::string_view failValue, Body&& body) {
  try {
    result = std::forward<Body>(body)();
  } catch (...) {
    result = failValue;
    try {
      ReportFunctionError(caller, label, arguments);
    } catch (...) {
      // A failing error hook cannot change the answer.
    }
  }
}

// As RunBuiltIn, for the few built-ins whose report has a form of its own:
// composeReport returns the whole message.
template <typename Body, typename Compose>
void RunBuiltInReporting(const TClause& caller, std::string& result, std::string_view failValue, Body&& body,
                         Compose&& composeReport) {
  try {
    result = std::forward<Body>(body)();
  } catch (...) {
    result = failValue;
    try {
      ReportFunctionMessage(caller, std::forward<Compose>(composeReport)());
    } catch (...) {
      // A failing error hook cannot change the answer.
    }
  }
}

}  // namespace vantrel
