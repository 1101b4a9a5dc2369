// Regional settings of the user's locale, read once per run from ICU locale data
// and converted to Windows-1252 text, the engine's character set: number
// separators, the currency and its layout, date and time formats in the mask
// letters of the date formatter, separators, AM/PM texts, month, day and era names.
// The defaults are the settings of en-US.
#pragma once

#include <array>
#include <string>

namespace vantrel::platform {

struct RegionalSettings {
  std::string LocaleId = "en-US";

  // ---- numbers ----
  char DecimalSeparator = '.';
  std::string ThousandSeparator = ",";

  // ---- currency ----
  std::string CurrencySymbol = "$";
  // Layout of a positive amount: 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $".
  int CurrencyFormat = 0;
  // Layout of a negative amount: 0 "($1)", 1 "-$1", 2 "$-1", 3 "$1-", 4 "(1$)",
  // 5 "-1$", 6 "1-$", 7 "1$-", 8 "-1 $", 9 "-$ 1", 10 "1 $-", 11 "$ 1-", 12 "$ -1",
  // 13 "1- $", 14 "($ 1)", 15 "(1 $)".
  int NegativeCurrencyFormat = 1;

  // ---- dates and times ----
  // The formats are written in the letters of the date formatter (d, m, y, h, n,
  // s, z, ampm, g; "/" and ":" stand for the two separators, quoted text for
  // itself).
  char DateSeparator = '/';
  char TimeSeparator = ':';
  std::string ShortDateFormat = "m/d/yyyy";
  std::string LongDateFormat = "dddd, mmmm d, yyyy";
  std::string ShortTimeFormat = "h:nn ampm";
  std::string LongTimeFormat = "h:nn:ss ampm";
  std::string TimeAMString = "AM";
  std::string TimePMString = "PM";
  // January first.
  std::array<std::string, 12> ShortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::array<std::string, 12> LongMonthNames = {"January", "February", "March",     "April",   "May",      "June",
                                                "July",    "August",   "September", "October", "November", "December"};
  // Sunday first.
  std::array<std::string, 7> ShortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  std::array<std::string, 7> LongDayNames = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday",
                                             "Saturday"};
  // The era of the Gregorian calendar's current years.
  std::string ShortEraName = "AD";
  std::string LongEraName = "Anno Domini";

  // An unsigned amount text (digits and separators already written) placed in the
  // currency layout with the currency symbol.
  std::string CurrencyLayout(const std::string& amount, bool negative) const;

  // Reads the settings of an ICU locale id such as "en-US" or "de-CH". An unknown
  // id gets ICU's fallback data (the root locale or ICU's default locale); a separator that is not one Windows-1252
  // character falls back to "." (decimal), "," (thousands), "/" (date) or ":"
  // (time).
  static RegionalSettings FromLocale(const std::string& localeId);

  // The locale id from LC_ALL, LC_NUMERIC or LANG ("de_CH.UTF-8" -> "de-CH"),
  // else "en-US".
  static std::string LocaleIdFromEnvironment();
};

// UTF-8 text to Windows-1252 bytes; characters without a mapping become "?".
std::string Utf8ToAnsi(const std::string& utf8);
// Windows-1252 bytes to UTF-8 text.
std::string AnsiToUtf8(const std::string& ansi);

}  // namespace vantrel::platform
