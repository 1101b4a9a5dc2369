// Clause evaluation: GetResult, the operator pass EvaluateOperators with its fixed
// OperatorOrder, name resolution (ResolveOperand), the numeric-looking test, the
// reading and writing of number texts, the comparisons and CleanResult.
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>

#include "engine/Strings.h"
#include "engine/TPBaseTag.h"
#include "engine/clause/ClauseSupport.h"
#include "engine/clause/TClause.h"

namespace vantrel {

namespace {

// Operators are applied one word at a time in this order, each word to all of its
// occurrences (leftmost first) before the next word: every word is its own
// precedence level.
constexpr std::array<std::string_view, 21> OperatorOrder = {
    "^",  "*",  "/",  "\\", "mod", "+",  "-",   "&",   "eq",       "is",  "isnot",
    "neq", "gt", "lt", "gte", "lte", "contains", "not", "and", "or", "xor"};

// Words that are never looked up as names.
constexpr std::array<std::string_view, 25> ReservedWords = {
    "is", "isnot", "gt", "not", "and", "or", "eq", "neq", "lt", "gte", "lte", "+", "-",
    "*",  "/",     "\\", "mod", "^",   "&",  "contains", "yes", "no", "xor", "true", "false"};

// Raised by an operator that cannot produce a value (overflow, a power without a
// real value, an integer quotient out of range); it ends the operator pass.
struct TOperatorFailure {};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Equality without regard to the case of A to Z; the operator words are plain ASCII.
bool SameWord(std::string_view text, std::string_view word) {
  if (text.size() != word.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    if (c != word[i]) return false;
  }
  return true;
}

bool IsTrue(std::string_view text) { return LowerCase(text) == "true"; }
const char* TruthText(bool value) { return value ? "true" : "false"; }

// A number as decimal digits d0 d1 d2 ... meaning d0.d1d2... times 10^Exponent.
struct TDecimal {
  bool Negative = false;
  std::string Digits;
  int Exponent = 0;
};

// The value rounded to 15 significant digits.
TDecimal ToDecimal15(double value) {
  char buf[64];
  auto written = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
  std::string_view s(buf, static_cast<size_t>(written.ptr - buf));
  TDecimal d;
  size_t p = 0;
  if (p < s.size() && s[p] == '-') {
    d.Negative = true;
    ++p;
  }
  for (; p < s.size() && s[p] != 'e'; ++p)
    if (IsDigit(s[p])) d.Digits += s[p];
  ++p;  // the "e"
  bool negativeExponent = false;
  if (p < s.size() && (s[p] == '+' || s[p] == '-')) negativeExponent = s[p++] == '-';
  std::from_chars(s.data() + p, s.data() + s.size(), d.Exponent);
  if (negativeExponent) d.Exponent = -d.Exponent;
  return d;
}

bool FitsInt64(std::string_view digits) {
  constexpr std::string_view kMax = "9223372036854775807";
  return digits.size() < kMax.size() || (digits.size() == kMax.size() && digits <= kMax);
}

// Rounds to the nearest integer, an exact half going to the even neighbour.
double RoundHalfEven(double x) {
  double lower = std::floor(x);
  double fraction = x - lower;
  if (fraction > 0.5) return lower + 1;
  if (fraction < 0.5) return lower;
  return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

bool InInt64Range(double x) { return x >= -9223372036854775808.0 && x < 9223372036854775808.0; }

// "^", "*", "/", "\", "mod", "+" and "-" on the clause's two operands.
std::string Arithmetic(TClause& clause, std::string_view word) {
  const char sep = clause.Engine.Regional.DecimalSeparator;
  const std::string left = FilterNumber(clause.LeftOperand, sep);
  const std::string right = FilterNumber(clause.RightOperand, sep);
  if (!clause.IsNumber(left) || !clause.IsNumber(right)) return "0";
  const std::optional<double> a = ReadNumber(left, sep);
  const std::optional<double> b = ReadNumber(right, sep);
  if (!a || !b) return "0";

  double value = 0;
  if (word == "^") {
    const long double power = std::pow(static_cast<long double>(*a), static_cast<long double>(*b));
    // A negative base with a fractional exponent has no real value; a zero base
    // with a negative exponent and overflows have no finite one.
    if (!std::isfinite(power) || std::fabs(power) > std::numeric_limits<double>::max()) throw TOperatorFailure{};
    value = static_cast<double>(power);
  } else if (word == "*") {
    value = *a * *b;
  } else if (word == "/") {
    if (*b == 0) return "0";
    value = *a / *b;
  } else if (word == "+") {
    value = *a + *b;
  } else if (word == "-") {
    value = *a - *b;
  } else if (word == "\\") {
    if (*b == 0) return "0";
    const double quotient = RoundHalfEven(*a / *b);
    if (!std::isfinite(quotient) || quotient < std::numeric_limits<std::int32_t>::min() ||
        quotient > std::numeric_limits<std::int32_t>::max())
      throw TOperatorFailure{};
    return std::to_string(static_cast<std::int32_t>(quotient));
  } else {  // mod
    const double x = RoundHalfEven(*a);
    const double y = RoundHalfEven(*b);
    if (!InInt64Range(x) || !InInt64Range(y)) throw TOperatorFailure{};
    const auto dividend = static_cast<std::int64_t>(x);
    const auto divisor = static_cast<std::int64_t>(y);
    // A divisor of -1 always leaves 0 (and would overflow for the smallest dividend).
    if (divisor == 0 || divisor == -1) return "0";
    return std::to_string(dividend % divisor);  // truncated: the sign is the dividend's
  }
  if (!std::isfinite(value)) throw TOperatorFailure{};
  return FormatArithmeticResult(value, sep);
}

// "gt", "lt", "gte" and "lte": numbers when both sides look numeric, texts otherwise.
std::string Compare(TClause& clause, std::string_view word) {
  const std::string left = Trim(clause.LeftOperand);
  const std::string right = Trim(clause.RightOperand);
  int order;
  if (clause.IsNumber(left) && clause.IsNumber(right)) {
    const char sep = clause.Engine.Regional.DecimalSeparator;
    const std::optional<double> a = ReadNumber(left, sep);
    const std::optional<double> b = ReadNumber(right, sep);
    if (!a || !b) return "false";
    order = *a < *b ? -1 : (*a > *b ? 1 : 0);
  } else {
    // Byte by byte as unsigned values; a prefix is the smaller text.
    const int c = LowerCase(left).compare(LowerCase(right));
    order = c < 0 ? -1 : (c > 0 ? 1 : 0);
  }
  if (word == "gt") return TruthText(order > 0);
  if (word == "lt") return TruthText(order < 0);
  if (word == "gte") return TruthText(order >= 0);
  return TruthText(order <= 0);
}

// The result of one operator word on the clause's LeftOperand and RightOperand
// ("not" uses LeftOperand only).
std::string ApplyOperator(TClause& clause, std::string_view word) {
  const std::string& left = clause.LeftOperand;
  const std::string& right = clause.RightOperand;
  if (word == "^" || word == "*" || word == "/" || word == "\\" || word == "mod" || word == "+" || word == "-")
    return Arithmetic(clause, word);
  if (word == "&") {
    if (left.size() + right.size() > clause.Engine.MaxValueLength) throw std::length_error("value too long");
    return left + right;
  }
  if (word == "eq") return TruthText(left == right);
  if (word == "is") return TruthText(LowerCase(left) == LowerCase(right));
  if (word == "isnot" || word == "neq") return TruthText(LowerCase(left) != LowerCase(right));
  if (word == "gt" || word == "lt" || word == "gte" || word == "lte") return Compare(clause, word);
  if (word == "contains") return TruthText(!right.empty() && Contains(LowerCase(left), LowerCase(right)));
  if (word == "not") return TruthText(!IsTrue(left));
  if (word == "and") return TruthText(IsTrue(left) && IsTrue(right));
  if (word == "or") return TruthText(IsTrue(left) || IsTrue(right));
  return TruthText(IsTrue(left) != IsTrue(right));  // xor
}

// Applies every occurrence of one operator word, leftmost first: the operator
// element takes the result and its neighbours go ("not" takes only the element
// after it). The result is examined again, because a concatenation can produce the
// very word being applied. The list is rebuilt in one pass so that long clauses
// stay linear; on a failure it is left as far as it was reduced.
void ApplyWord(TClause& clause, std::string_view word) {
  TMyStringList& in = clause.Elements;
  const size_t n = in.Count();
  bool present = false;
  for (size_t i = 0; i < n && !present; ++i) present = SameWord(in[i].Text, word);
  if (!present) return;

  const bool unary = word == "not";
  TMyStringList out;
  size_t i = 0;
  try {
    while (i < n) {
      TMyStringList::Item& current = in[i];
      if (!SameWord(current.Text, word)) {
        out.Add(std::move(current.Text), std::move(current.Clause));
        ++i;
        continue;
      }
      const bool hasRight = i + 1 < n;
      const std::string next = hasRight ? in[i + 1].Text : std::string();
      if (unary) {
        clause.LeftOperand = StripQuotes(next);
      } else {
        clause.LeftOperand = out.Count() > 0 ? StripQuotes(out[out.Count() - 1].Text) : std::string();
        clause.RightOperand = StripQuotes(next);
      }
      current.Text = ApplyOperator(clause, word);
      clause.Engine.Charge(TEngine::kTagWork + 2 * static_cast<long long>(clause.LeftOperand.size() +
                                                                          clause.RightOperand.size()));
      if (!unary && out.Count() > 0) out.Delete(out.Count() - 1);
      if (hasRight) {
        in[i + 1] = std::move(current);  // the result takes the place of its right operand
        ++i;
      }
    }
  } catch (...) {
    for (; i < n; ++i) out.Add(std::move(in[i].Text), std::move(in[i].Clause));
    in = std::move(out);
    throw;
  }
  in = std::move(out);
}

// Speed: which words of OperatorOrder occur in the element list, one bit per word,
// found in one pass so that the operator pass skips the words that are absent.
std::uint32_t PresentWords(const TMyStringList& elements) {
  std::uint32_t present = 0;
  for (size_t i = 0; i < elements.Count(); ++i) {
    const std::string& text = elements[i].Text;
    if (text.empty() || text.size() > 8) continue;
    for (size_t k = 0; k < OperatorOrder.size(); ++k)
      if (SameWord(text, OperatorOrder[k])) present |= std::uint32_t{1} << k;
  }
  return present;
}

}  // namespace

// ---- number texts ----

std::optional<double> ReadNumber(std::string_view text, char decimalSeparator) {
  const std::string t = Trim(text);
  size_t p = 0;
  std::string plain;  // the number in the form std::from_chars reads
  if (p < t.size() && (t[p] == '+' || t[p] == '-')) {
    if (t[p] == '-') plain += '-';
    ++p;
  }
  std::string integerDigits, fractionDigits;
  while (p < t.size() && IsDigit(t[p])) integerDigits += t[p++];
  if (p < t.size() && t[p] == decimalSeparator) {
    ++p;
    while (p < t.size() && IsDigit(t[p])) fractionDigits += t[p++];
  }
  if (integerDigits.empty() && fractionDigits.empty()) return std::nullopt;
  plain += integerDigits.empty() ? "0" : integerDigits;
  if (!fractionDigits.empty()) plain += '.' + fractionDigits;

  long exponent = 0;
  if (p < t.size() && (t[p] == 'e' || t[p] == 'E')) {
    ++p;
    std::string exponentText;
    if (p < t.size() && (t[p] == '+' || t[p] == '-')) {
      if (t[p] == '-') exponentText += '-';
      ++p;
    }
    bool anyDigit = false;
    for (; p < t.size() && IsDigit(t[p]); ++p) {
      anyDigit = true;
      exponentText += t[p];
      if (exponent < 100000) exponent = exponent * 10 + (t[p] - '0');
    }
    if (!anyDigit) return std::nullopt;
    if (!exponentText.empty() && exponentText[0] == '-') exponent = -exponent;
    plain += 'e' + exponentText;
  }
  if (p != t.size()) return std::nullopt;

  double value = 0;
  const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (error == std::errc::result_out_of_range) {
    // Out of range: too large if the leading significant digit stands at or above
    // the units place once the exponent is applied, else too small (reads as zero).
    const std::string all = integerDigits + fractionDigits;
    const size_t first = all.find_first_not_of('0');
    if (first == std::string::npos) return 0.0;
    const long magnitude = static_cast<long>(integerDigits.size()) - static_cast<long>(first) - 1 + exponent;
    if (magnitude >= 0) return std::nullopt;
    return plain[0] == '-' ? -0.0 : 0.0;
  }
  if (error != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::string FormatGeneral(double value, char decimalSeparator) {
  if (value == 0 || !std::isfinite(value)) return "0";
  TDecimal d = ToDecimal15(value);
  while (d.Digits.size() > 1 && d.Digits.back() == '0') d.Digits.pop_back();
  std::string text = d.Negative ? "-" : "";
  if (d.Exponent < -5 || d.Exponent >= 15) {
    text += d.Digits[0];
    if (d.Digits.size() > 1) text += decimalSeparator + d.Digits.substr(1);
    text += d.Exponent < 0 ? "E-" : "E+";
    text += std::to_string(std::abs(d.Exponent));
  } else if (d.Exponent >= 0) {
    const auto integerLength = static_cast<size_t>(d.Exponent) + 1;
    std::string digits = d.Digits;
    if (digits.size() < integerLength) digits.append(integerLength - digits.size(), '0');
    text += digits.substr(0, integerLength);
    if (digits.size() > integerLength) text += decimalSeparator + digits.substr(integerLength);
  } else {
    text += '0';
    text += decimalSeparator;
    text.append(static_cast<size_t>(-d.Exponent - 1), '0');
    text += d.Digits;
  }
  return text;
}

std::string FormatArithmeticResult(double value, char decimalSeparator) {
  if (!std::isfinite(value)) throw std::range_error("arithmetic result is not finite");
  if (value == 0) return "0";
  TDecimal d = ToDecimal15(value);

  // Round the decimal digits to 5 decimals, halves away from zero.
  const long keep = static_cast<long>(d.Exponent) + 1 + 5;  // digits down to the 10^-5 place
  if (keep <= 0) {
    if (keep < 0 || d.Digits[0] < '5') return "0";
    d.Digits.assign(1, '1');
    d.Exponent = -5;
  } else if (static_cast<size_t>(keep) < d.Digits.size()) {
    const bool roundUp = d.Digits[static_cast<size_t>(keep)] >= '5';
    d.Digits.resize(static_cast<size_t>(keep));
    if (roundUp) {
      long i = keep - 1;
      for (; i >= 0 && d.Digits[static_cast<size_t>(i)] == '9'; --i) d.Digits[static_cast<size_t>(i)] = '0';
      if (i >= 0) {
        ++d.Digits[static_cast<size_t>(i)];
      } else {
        d.Digits.insert(d.Digits.begin(), '1');
        ++d.Exponent;
      }
    }
  }

  auto digitAt = [&d](long place) {  // the digit for 10^place
    const long index = d.Exponent - place;
    return index >= 0 && static_cast<size_t>(index) < d.Digits.size() ? d.Digits[static_cast<size_t>(index)] : '0';
  };
  std::string integerPart;
  for (long place = d.Exponent; place >= 0; --place) integerPart += digitAt(place);
  std::string fraction;
  for (long place = -1; place >= -5; --place) fraction += digitAt(place);

  const std::string sign = d.Negative ? "-" : "";
  if (fraction == "00000") {
    // A whole result is written without decimals: in full while it fits a 64-bit
    // integer, beyond that in the general format.
    if (integerPart.empty() || integerPart.find_first_not_of('0') == std::string::npos) return "0";
    if (FitsInt64(integerPart)) return sign + integerPart;
    return FormatGeneral(value, decimalSeparator);
  }
  if (integerPart.empty()) integerPart.assign(1, '0');
  std::string text = sign;
  text.append(integerPart).append(1, decimalSeparator).append(fraction);
  return text;
}

std::string FilterNumber(std::string_view text, char decimalSeparator) {
  std::string kept;
  for (char c : text)
    if (c == decimalSeparator || c == '+' || c == '-' || IsDigit(c) || c == 'E' || c == 'e') kept += c;
  return Trim(kept);
}

bool IsReservedWord(std::string_view word) {
  // Speed: compared in place; SameWord lowers A to Z as LowerCase does.
  for (std::string_view reserved : ReservedWords)
    if (SameWord(word, reserved)) return true;
  return false;
}

// ---- TClause ----

bool TClause::IsNumber(std::string_view text) const {
  if (text.empty()) return false;
  const char sep = Engine.Regional.DecimalSeparator;
  for (char c : text)
    if (!(c == ' ' || c == '+' || c == '-' || IsDigit(c) || c == 'E' || c == 'e' || c == sep)) return false;
  return true;
}

std::string TClause::ResolveOperand(std::string_view text) {
  std::string t = Trim(text);
  if (IsNumber(t)) return t;
  const bool negate = !t.empty() && t[0] == '-';
  if (negate) t.erase(0, 1);

  std::string result;
  std::string value;
  if (OwnerTag == nullptr) {
    result = t;  // without an owner a name stands for itself
  } else {
    try {
      const std::string name = Trim(t);
      if (OwnerTag->IsDefined(name)) value = OwnerTag->GetValue(name, false);
      result = value;
    } catch (...) {
      result = t;
      value.clear();
    }
  }
  if (negate) {
    const std::optional<double> number = ReadNumber(value, Engine.Regional.DecimalSeparator);
    // An undefined or non-numeric value leaves the name without its minus.
    result = number ? FormatGeneral(-*number, Engine.Regional.DecimalSeparator) : t;
  }
  return result;
}

std::string TClause::CleanResult(std::string_view text) {
  std::string s(text);
  for (std::string_view pattern : {"%0D", "%0A", "#$D", "#$A"}) {
    // A deletion can join the pieces of a new occurrence just before it, so the
    // search resumes a little before the deleted one.
    size_t from = 0;
    for (size_t at; (at = s.find(pattern, from)) != std::string::npos;) {
      s.erase(at, pattern.size());
      from = at >= pattern.size() - 1 ? at - (pattern.size() - 1) : 0;
    }
  }
  return Trim(s);
}

std::string TClause::EvaluateOperators() {
  try {
    // Only the words that occur are applied, in OperatorOrder; after a word has
    // changed the list the list is examined again, since a result (a concatenation)
    // can be a word later in the order.
    std::uint32_t present = PresentWords(Elements);
    for (size_t k = 0; k < OperatorOrder.size(); ++k) {
      if ((present & (std::uint32_t{1} << k)) == 0) continue;
      ApplyWord(*this, OperatorOrder[k]);
      present = PresentWords(Elements);
    }
  } catch (...) {
    return {};
  }
  if (Elements.Count() == 0) return {};
  if (Elements.Count() == 1) return Elements[0].Text;
  return Elements.Text();
}

std::string TClause::GetResult() {
  TDepthGuard guard(Engine);
  if (!guard.Entered() || Elements.Count() == 0) return {};
  // The element list as tokenized, for the failure message. Speed: a clause copied
  // from a kept tokenization reads it from there, and only when it fails.
  std::string listText;
  if (Tokens_ == nullptr) listText = Elements.Text();

  std::string result;
  try {
    ResolveElementValues(*this);
    result = StripQuotes(Elements.Count() <= 1 ? Elements[0].Text : EvaluateOperators());
    Engine.Charge(4 * static_cast<long long>(result.size()));  // a value is copied a few times
    if (result.size() > Engine.MaxValueLength) throw std::length_error("value too long");
  } catch (...) {
    if (Tokens_ != nullptr) listText = Tokens_->Elements.Text();
    Engine.ReportError("Error Parsing Clause Results, text = " + listText +
                       "; element count = " + std::to_string(Elements.Count()));
    result.clear();
  }
  result = CleanResult(result);
  if (ParentClause) return '"' + result + '"';
  return result;
}

}  // namespace vantrel
