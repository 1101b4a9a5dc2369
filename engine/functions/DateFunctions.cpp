// Date and time built-ins: the current date and time, date arithmetic, the
// mask-driven date formatter and the date tests. A date is held as a day count
// since 30 December 1899 with the time of day as its fraction (a date before that
// day carries its time as a fraction below the day: -1.25 is 29 December 1899,
// 06:00). Dates are read and written in the regional formats.
#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Strings.h"
#include "engine/TPBaseTag.h"
#include "engine/clause/TClause.h"
#include "engine/functions/BuiltIns.h"
#include "engine/functions/FunctionSupport.h"

namespace vantrel {

namespace {

constexpr std::string_view kError = "ERROR";
constexpr std::int64_t kMsPerDay = 86400000;

// ---- calendar ----

// Days from 1 January 1970 to the given day of the proleptic Gregorian calendar.
constexpr std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yearOfEra = y - era * 400;
  const std::int64_t dayOfYear = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

constexpr std::int64_t kEpoch = DaysFromCivil(1899, 12, 30);
constexpr std::int64_t kFirstDay = DaysFromCivil(1, 1, 1) - kEpoch;
constexpr std::int64_t kLastDay = DaysFromCivil(9999, 12, 31) - kEpoch;

bool IsLeapYear(std::int64_t y) { return y % 4 == 0 && (y % 100 != 0 || y % 400 == 0); }

int DaysInMonth(std::int64_t y, int m) {
  static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeapYear(y) ? 29 : kDays[static_cast<size_t>(m - 1)];
}

// A moment broken into its calendar and clock parts. DayOfWeek 0 is Sunday.
struct TDateParts {
  std::int64_t Day = 0;  // the day count
  int Year = 1899, Month = 12, DayOfMonth = 30, DayOfWeek = 6;
  int Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
};

// The calendar parts of a day count; the day must lie in the years 1 to 9999.
TDateParts FromDayCount(std::int64_t day) {
  if (day < kFirstDay || day > kLastDay) throw std::range_error("date out of range");
  TDateParts p;
  p.Day = day;
  const std::int64_t z = day + kEpoch + 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t dayOfEra = z - era * 146097;
  const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t mp = (5 * dayOfYear + 2) / 153;
  p.DayOfMonth = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
  p.Month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  p.Year = static_cast<int>(yearOfEra + era * 400 + (p.Month <= 2));
  // 30 December 1899 was a Saturday.
  p.DayOfWeek = static_cast<int>(((day % 7) + 7 + 6) % 7);
  return p;
}

std::int64_t DayCount(std::int64_t y, int m, int d) { return DaysFromCivil(y, m, d) - kEpoch; }

// A day count with its time of day as one value.
double Combine(std::int64_t day, std::int64_t millisecond) {
  const double fraction = static_cast<double>(millisecond) / static_cast<double>(kMsPerDay);
  return day >= 0 ? static_cast<double>(day) + fraction : static_cast<double>(day) - fraction;
}

// The parts of a date value, to the millisecond.
TDateParts Decode(double value) {
  if (!std::isfinite(value) || value < static_cast<double>(kFirstDay) - 1 || value > static_cast<double>(kLastDay) + 1)
    throw std::range_error("date out of range");
  const double whole = std::trunc(value);
  std::int64_t ms = std::llround(std::fabs(value - whole) * static_cast<double>(kMsPerDay));
  if (ms >= kMsPerDay) ms = kMsPerDay - 1;
  TDateParts p = FromDayCount(static_cast<std::int64_t>(whole));
  p.Hour = static_cast<int>(ms / 3600000);
  p.Minute = static_cast<int>(ms / 60000 % 60);
  p.Second = static_cast<int>(ms / 1000 % 60);
  p.Millisecond = static_cast<int>(ms % 1000);
  return p;
}

// The current local date and time: the engine's clock when one is set, else the
// system clock.
TDateParts CurrentMoment(const TEngine& engine) {
  if (engine.Clock) return Decode(engine.Clock());
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  const std::int64_t day = DayCount(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  const std::int64_t msOfDay =
      (local.tm_hour * 3600 + local.tm_min * 60 + std::min(local.tm_sec, 59)) * std::int64_t{1000} + ms;
  return Decode(Combine(day, msOfDay));
}

// ---- writing ----

std::string Padded(std::int64_t value, int width) {
  std::string s = std::to_string(value);
  if (static_cast<int>(s.size()) < width) s.insert(0, static_cast<size_t>(width) - s.size(), '0');
  return s;
}

bool StartsWithNoCase(std::string_view text, size_t at, std::string_view word) {
  return text.size() - at >= word.size() && LowerCase(text.substr(at, word.size())) == word;
}

// One field of a date mask.
struct TMaskToken {
  enum Kind { Literal, Field, AmPm, AP, RegionalAmPm, DateSeparator, TimeSeparator } Type = Literal;
  char Letter = 0;  // the field letter in capitals
  int Count = 0;    // the run length of a field
  std::string Text;  // literal text, or the "am/pm" or "a/p" text as written
};

bool IsFieldLetter(char upper) {
  return upper == 'C' || upper == 'D' || upper == 'Y' || upper == 'M' || upper == 'H' || upper == 'N' ||
         upper == 'S' || upper == 'Z' || upper == 'T' || upper == 'E' || upper == 'G';
}

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }
bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Splits a mask into its fields, left to right. A run of one letter (in either
// case) is one field; quoted text is literal; a letter without meaning stands for
// itself.
std::vector<TMaskToken> SplitMask(std::string_view mask) {
  std::vector<TMaskToken> tokens;
  auto literal = [&tokens](std::string_view text) {
    if (tokens.empty() || tokens.back().Type != TMaskToken::Literal) tokens.emplace_back();
    tokens.back().Text += text;
  };
  size_t i = 0;
  while (i < mask.size()) {
    const char c = mask[i];
    if (c == '"' || c == '\'') {
      const size_t close = mask.find(c, i + 1);
      const size_t end = close == std::string_view::npos ? mask.size() : close;
      literal(mask.substr(i + 1, end - i - 1));
      i = close == std::string_view::npos ? mask.size() : close + 1;
      continue;
    }
    if (c == '/' || c == ':') {
      TMaskToken t;
      t.Type = c == '/' ? TMaskToken::DateSeparator : TMaskToken::TimeSeparator;
      tokens.push_back(t);
      ++i;
      continue;
    }
    const char upper = Upper(c);
    if (upper == 'A') {
      TMaskToken t;
      t.Letter = 'A';
      if (StartsWithNoCase(mask, i, "am/pm")) {
        t.Type = TMaskToken::AmPm;
        t.Text = mask.substr(i, 5);
      } else if (StartsWithNoCase(mask, i, "a/p")) {
        t.Type = TMaskToken::AP;
        t.Text = mask.substr(i, 3);
      } else if (StartsWithNoCase(mask, i, "ampm")) {
        t.Type = TMaskToken::RegionalAmPm;
        t.Text = mask.substr(i, 4);
      } else if (StartsWithNoCase(mask, i, "aaaa") || StartsWithNoCase(mask, i, "aaa")) {
        // Day names: written like "dddd" and "ddd".
        t.Type = TMaskToken::Field;
        t.Letter = 'D';
        t.Count = StartsWithNoCase(mask, i, "aaaa") ? 4 : 3;
        t.Text = mask.substr(i, static_cast<size_t>(t.Count));
      } else {
        t.Type = TMaskToken::Literal;
        t.Text = std::string(1, c);
      }
      i += t.Text.size();
      if (t.Type == TMaskToken::Literal) {
        literal(t.Text);
        tokens.back().Letter = 'A';
      } else {
        tokens.push_back(t);
      }
      continue;
    }
    if (IsFieldLetter(upper)) {
      size_t j = i;
      while (j < mask.size() && Upper(mask[j]) == upper) ++j;
      TMaskToken t;
      t.Type = TMaskToken::Field;
      t.Letter = upper;
      t.Count = static_cast<int>(j - i);
      tokens.push_back(t);
      i = j;
      continue;
    }
    literal(mask.substr(i, 1));
    if (IsAsciiLetter(c)) tokens.back().Letter = upper;  // remembered as the last letter
    ++i;
  }
  return tokens;
}

bool IsAmPmToken(const TMaskToken& t) {
  return t.Type == TMaskToken::AmPm || t.Type == TMaskToken::AP || t.Type == TMaskToken::RegionalAmPm;
}

// Writes date values by the masks of the date formatter with the regional names,
// formats and separators.
class TDateWriter {
 public:
  TDateWriter(const platform::RegionalSettings& regional, const TDateParts& parts)
      : Regional_(regional), Parts_(parts) {}

  std::string Write(std::string_view mask) {
    std::string out;
    Append(mask.empty() ? std::string_view("c") : mask, 0, out);
    return out;
  }

 private:
  // Regional formats may refer to one another (a "c" inside a format); two levels
  // of such references are followed, deeper ones write nothing.
  static constexpr int kMaxLevel = 2;

  void AppendFormat(const std::string& format, int level, std::string& out) {
    if (level < kMaxLevel) Append(format, level + 1, out);
  }

  void Append(std::string_view mask, int level, std::string& out) {
    const std::vector<TMaskToken> tokens = SplitMask(mask);
    char lastLetter = 0;
    for (size_t k = 0; k < tokens.size(); ++k) {
      const TMaskToken& t = tokens[k];
      switch (t.Type) {
        case TMaskToken::Literal:
          out += t.Text;
          break;
        case TMaskToken::DateSeparator:
          out += Regional_.DateSeparator;
          break;
        case TMaskToken::TimeSeparator:
          out += Regional_.TimeSeparator;
          break;
        case TMaskToken::AmPm:
          out += Parts_.Hour < 12 ? t.Text.substr(0, 2) : t.Text.substr(3, 2);
          break;
        case TMaskToken::AP:
          out += Parts_.Hour < 12 ? t.Text.substr(0, 1) : t.Text.substr(2, 1);
          break;
        case TMaskToken::RegionalAmPm:
          out += Parts_.Hour < 12 ? Regional_.TimeAMString : Regional_.TimePMString;
          break;
        case TMaskToken::Field:
          AppendField(tokens, k, lastLetter, level, out);
          break;
      }
      if (t.Letter != 0) lastLetter = t.Letter;
    }
  }

  void AppendField(const std::vector<TMaskToken>& tokens, size_t k, char lastLetter, int level, std::string& out) {
    const TMaskToken& t = tokens[k];
    const int count = t.Count;
    switch (t.Letter) {
      case 'C':
        AppendFormat(Regional_.ShortDateFormat, level, out);
        if (Parts_.Hour != 0 || Parts_.Minute != 0 || Parts_.Second != 0) {
          out += ' ';
          AppendFormat(Regional_.LongTimeFormat, level, out);
        }
        break;
      case 'D':
        if (count <= 2) out += Padded(Parts_.DayOfMonth, count);
        else if (count == 3) out += Regional_.ShortDayNames[static_cast<size_t>(Parts_.DayOfWeek)];
        else if (count == 4) out += Regional_.LongDayNames[static_cast<size_t>(Parts_.DayOfWeek)];
        else if (count == 5) AppendFormat(Regional_.ShortDateFormat, level, out);
        else AppendFormat(Regional_.LongDateFormat, level, out);
        break;
      case 'Y':
        out += count <= 2 ? Padded(Parts_.Year % 100, 2) : Padded(Parts_.Year, 4);
        break;
      case 'M':
        if (lastLetter == 'H' && count <= 2) out += Padded(Parts_.Minute, count);
        else if (count <= 2) out += Padded(Parts_.Month, count);
        else if (count == 3) out += Regional_.ShortMonthNames[static_cast<size_t>(Parts_.Month - 1)];
        else out += Regional_.LongMonthNames[static_cast<size_t>(Parts_.Month - 1)];
        break;
      case 'H': {
        int hour = Parts_.Hour;
        bool twelveHour = false;
        for (size_t j = k + 1; j < tokens.size() && !twelveHour; ++j) twelveHour = IsAmPmToken(tokens[j]);
        if (twelveHour) hour = hour == 0 ? 12 : hour > 12 ? hour - 12 : hour;
        out += Padded(hour, count >= 2 ? 2 : 1);
        break;
      }
      case 'N':
        out += Padded(Parts_.Minute, count >= 2 ? 2 : 1);
        break;
      case 'S':
        out += Padded(Parts_.Second, count >= 2 ? 2 : 1);
        break;
      case 'Z':
        out += Padded(Parts_.Millisecond, count >= 3 ? 3 : count);
        break;
      case 'T':
        AppendFormat(count == 1 ? Regional_.ShortTimeFormat : Regional_.LongTimeFormat, level, out);
        break;
      case 'E':
        out += Padded(Parts_.Year, count >= 2 ? 2 : 1);
        break;
      case 'G':
        out += count == 1 ? Regional_.ShortEraName : Regional_.LongEraName;
        break;
      default:
        break;
    }
  }

  const platform::RegionalSettings& Regional_;
  const TDateParts& Parts_;
};

std::string WriteDate(const platform::RegionalSettings& regional, const TDateParts& parts, std::string_view mask) {
  return TDateWriter(regional, parts).Write(mask);
}

// ---- reading ----

// A reading position in a text; the scans skip blanks before what they read.
class TDateScanner {
 public:
  TDateScanner(std::string_view text, const platform::RegionalSettings& regional, int currentYear)
      : Text_(text), Regional_(regional), CurrentYear_(currentYear) {}

  bool AtEnd() {
    SkipBlanks();
    return Pos_ >= Text_.size();
  }

  // A date in the order of the short date format: day, month and year, or the
  // first two of the order without the year (the current year).
  std::optional<std::int64_t> ScanDate() {
    int a = 0, b = 0, c = 0, digitsA = 0, digitsB = 0, digitsC = 0;
    if (!ScanNumber(a, digitsA) || !ScanChar(Regional_.DateSeparator) || !ScanNumber(b, digitsB))
      return std::nullopt;
    const bool withYear = ScanChar(Regional_.DateSeparator);
    if (withYear && !ScanNumber(c, digitsC)) return std::nullopt;
    const char order = DateOrder();
    int year = CurrentYear_;
    int month = order == 'D' ? b : a;
    int day = order == 'D' ? a : b;
    if (withYear) {
      int yearDigits = digitsC;
      if (order == 'Y') {
        year = a;
        yearDigits = digitsA;
        month = b;
        day = c;
      } else {
        year = c;
      }
      if (yearDigits <= 2) year = CompleteYear(year);
    }
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
      return std::nullopt;
    return DayCount(year, month, day);
  }

  // A time: hours and minutes, optional seconds and milliseconds, then optionally
  // the AM or PM text. Gives the milliseconds of the day.
  std::optional<std::int64_t> ScanTime() {
    int hour = 0, minute = 0, second = 0, millisecond = 0, unused = 0;
    if (!ScanNumber(hour, unused) || !ScanChar(Regional_.TimeSeparator) || !ScanNumber(minute, unused))
      return std::nullopt;
    if (ScanChar(Regional_.TimeSeparator)) {
      if (!ScanNumber(second, unused)) return std::nullopt;
      if (ScanChar(Regional_.TimeSeparator) || ScanChar(Regional_.DecimalSeparator)) {
        if (!ScanNumber(millisecond, unused)) return std::nullopt;
      }
    }
    int base = -1;
    if (ScanWord(Regional_.TimeAMString) || ScanWord("AM")) base = 0;
    else if (ScanWord(Regional_.TimePMString) || ScanWord("PM")) base = 12;
    if (base >= 0) {
      if (hour < 1 || hour > 12) return std::nullopt;
      hour = hour % 12 + base;
    }
    if (hour > 23 || minute > 59 || second > 59 || millisecond > 999) return std::nullopt;
    return ((hour * 60 + minute) * 60 + second) * std::int64_t{1000} + millisecond;
  }

  // Whether at least one blank stands at the position (and skips the blanks).
  bool ScanBlank() {
    const size_t before = Pos_;
    SkipBlanks();
    return Pos_ > before;
  }

 private:
  void SkipBlanks() {
    while (Pos_ < Text_.size() && Text_[Pos_] == ' ') ++Pos_;
  }

  // Up to four digits.
  bool ScanNumber(int& value, int& digits) {
    SkipBlanks();
    value = 0;
    digits = 0;
    while (Pos_ < Text_.size() && Text_[Pos_] >= '0' && Text_[Pos_] <= '9' && digits < 4) {
      value = value * 10 + (Text_[Pos_++] - '0');
      ++digits;
    }
    return digits > 0;
  }

  bool ScanChar(char c) {
    const size_t before = Pos_;
    SkipBlanks();
    if (Pos_ < Text_.size() && Text_[Pos_] == c) {
      ++Pos_;
      return true;
    }
    Pos_ = before;
    return false;
  }

  bool ScanWord(std::string_view word) {
    if (word.empty()) return false;
    const size_t before = Pos_;
    SkipBlanks();
    if (Text_.size() - Pos_ >= word.size() && SameText(Text_.substr(Pos_, word.size()), word)) {
      Pos_ += word.size();
      return true;
    }
    Pos_ = before;
    return false;
  }

  // The first of the letters d, m and y in the short date format outside quotes
  // ("D", "M" or "Y"); month first when none stands there.
  char DateOrder() const {
    const std::string& format = Regional_.ShortDateFormat;
    char quote = 0;
    for (char c : format) {
      if (quote != 0) {
        if (c == quote) quote = 0;
        continue;
      }
      if (c == '"' || c == '\'') {
        quote = c;
        continue;
      }
      const char u = Upper(c);
      if (u == 'D' || u == 'M' || u == 'Y') return u;
    }
    return 'M';
  }

  // A year of one or two digits falls in the hundred years that begin 80 years
  // before the current year.
  int CompleteYear(int twoDigits) const {
    const int start = CurrentYear_ - 80;
    int year = start - start % 100 + twoDigits;
    if (year < start) year += 100;
    return year;
  }

  std::string_view Text_;
  const platform::RegionalSettings& Regional_;
  int CurrentYear_;
  size_t Pos_ = 0;
};

enum class TReading { Date, DateTime, Time };

// Reads a whole text as a date, a date with an optional time, or a time alone.
std::optional<double> ReadDateValue(std::string_view text, TReading reading, const TEngine& engine) {
  TDateScanner scan(text, engine.Regional, CurrentMoment(engine).Year);
  std::int64_t day = 0;
  std::int64_t ms = 0;
  if (reading == TReading::Time) {
    const std::optional<std::int64_t> time = scan.ScanTime();
    if (!time) return std::nullopt;
    ms = *time;
  } else {
    const std::optional<std::int64_t> date = scan.ScanDate();
    if (!date) return std::nullopt;
    day = *date;
    if (reading == TReading::DateTime) {
      const bool blank = scan.ScanBlank();
      if (!scan.AtEnd()) {
        if (!blank) return std::nullopt;  // the time stands after a blank
        const std::optional<std::int64_t> time = scan.ScanTime();
        if (!time) return std::nullopt;
        ms = *time;
      }
    }
  }
  if (!scan.AtEnd()) return std::nullopt;
  return Combine(day, ms);
}

// isdate, isdatetime and istime.
void DateTest(TClause& caller, TClause& arguments, std::string& result, std::string_view label, TReading reading) {
  RunBuiltIn(caller, arguments, result, label, kError, [&] {
    const std::string text = Argument(arguments, 1);
    return std::string(ReadDateValue(text, reading, caller.Engine) ? "true" : "false");
  });
}

// Moves a date by whole months; the day is cut back to the last day of the
// target month.
std::int64_t AddMonths(const TDateParts& p, std::int64_t months) {
  const std::int64_t index = static_cast<std::int64_t>(p.Year) * 12 + (p.Month - 1) + months;
  const std::int64_t year = index >= 0 ? index / 12 : (index - 11) / 12;
  const int month = static_cast<int>(index - year * 12) + 1;
  if (year < 1 || year > 9999) throw std::range_error("date out of range");
  return DayCount(year, month, std::min(p.DayOfMonth, DaysInMonth(year, month)));
}

}  // namespace

void Fn_date(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltIn(caller, arguments, result, "date", kError, [&] {
    return WriteDate(caller.Engine.Regional, CurrentMoment(caller.Engine), caller.Engine.Regional.ShortDateFormat);
  });
}

void Fn_now(TClause& caller, TClause&, std::string& result) {
  try {
    result = WriteDate(caller.Engine.Regional, CurrentMoment(caller.Engine), "c");
  } catch (...) {
    result.clear();  // a clock outside the calendar's years
  }
}

void Fn_time(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltIn(caller, arguments, result, "Time", kError, [&] {
    return WriteDate(caller.Engine.Regional, CurrentMoment(caller.Engine), caller.Engine.Regional.LongTimeFormat);
  });
}

void Fn_createtimespan(TClause&, TClause&, std::string& result) { result = kError; }

void Fn_dateadd(TClause& caller, TClause& arguments, std::string& result) {
  if (ArgumentCount(arguments) < 5) return;
  const std::string part = LowerCase(Argument(arguments, 1));
  const std::string amountText = Argument(arguments, 2);
  if (part.empty() || amountText.empty()) return;
  auto fail = [&] {
    result = kError;
    ReportFunctionMessage(caller, "Fn: dateadd(" + ArgumentListText(arguments) + ") called as (" + part + "," +
                                      amountText + ")");
  };
  const std::optional<std::int32_t> amount = ReadWholeNumber(amountText);
  if (!amount) return fail();
  const std::string dateText = Trim(Argument(arguments, 3));
  if (dateText.empty()) return;
  std::optional<double> date;
  try {
    date = ReadDateValue(dateText, TReading::DateTime, caller.Engine);
  } catch (...) {
    date.reset();
  }
  if (!date) return fail();

  // A result outside the years 1 to 9999 is a failure of the clause, not of dateadd.
  const TDateParts from = Decode(*date);
  std::int64_t day = from.Day;
  if (part == "d") day += *amount;
  else if (part == "m") day = AddMonths(from, *amount);
  else if (part == "y") day = AddMonths(from, std::int64_t{*amount} * 12);
  result = WriteDate(caller.Engine.Regional, FromDayCount(day), caller.Engine.Regional.ShortDateFormat);
}

void Fn_dateformat(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltIn(caller, arguments, result, "formatdate", kError, [&] {
    const std::string dateText = Trim(Argument(arguments, 1));
    const std::string mask = Argument(arguments, 2);
    if (dateText.empty()) return std::string();
    const std::optional<double> date = ReadDateValue(dateText, TReading::DateTime, caller.Engine);
    if (!date) throw TFunctionFailure{};
    return WriteDate(caller.Engine.Regional, Decode(*date), mask);
  });
}

void Fn_isdate(TClause& caller, TClause& arguments, std::string& result) {
  DateTest(caller, arguments, result, "isdate", TReading::Date);
}

void Fn_isdatetime(TClause& caller, TClause& arguments, std::string& result) {
  DateTest(caller, arguments, result, "isdatetime", TReading::DateTime);
}

void Fn_istime(TClause& caller, TClause& arguments, std::string& result) {
  DateTest(caller, arguments, result, "istime", TReading::Time);
}

}  // namespace vantrel
