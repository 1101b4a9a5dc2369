// Helpers shared by the clause sources and available to the built-ins: number
// texts written and read with the regional decimal separator, and the pass that
// replaces the calls, groups and names of an element list by their values.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

class TClause;

// Reads a number: optional sign, digits, optional decimal separator and fraction
// digits, optional exponent ("e" or "E", optional sign, digits); blanks and control
// characters around it are allowed. At least one digit must stand before the
// exponent. Anything else, and a value beyond the double range, gives none; a value
// too small for a double reads as zero.
std::optional<double> ReadNumber(std::string_view text, char decimalSeparator);

// The general number format: at most 15 significant digits, no trailing zeros, the
// decimal separator, and exponent form (such as 1,5E+20 or 1E-6) only when the
// value is 10^15 or more or below 10^-5 in magnitude.
std::string FormatGeneral(double value, char decimalSeparator);

// The written form of an arithmetic result: rounded to 15 significant digits, then
// to 5 decimals (halves away from zero). A value whose 5 decimals are all zero is
// written as a whole number; others with exactly 5 decimals. Throws
// std::range_error for a value that is not finite.
std::string FormatArithmeticResult(double value, char decimalSeparator);

// Keeps only the decimal separator, "+", "-", digits, "E" and "e", then trims.
std::string FilterNumber(std::string_view text, char decimalSeparator);

// Whether text is a name or signed number for the value pass: non-empty, not a
// literal, not a reserved word or function name, not only digits and blanks, and
// without blanks.
bool IsNameOrSignedNumber(std::string_view text);

// Replaces every call, group and name of the clause's elements by its value in
// double quotes. Failures propagate to the caller.
void ResolveElementValues(TClause& clause);

}  // namespace vantrel
