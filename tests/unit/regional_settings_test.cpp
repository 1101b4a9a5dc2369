// Tests of the regional settings read from ICU locale data: what a de-CH, fr-CH,
// it-CH and en-US user sees (separators, currency and its layout, date and time
// formats in the formatter's letters, names), the fallbacks, the currency layouts
// and the Windows-1252 conversion.
#include <gtest/gtest.h>

#include <string>

#include "platform/RegionalSettings.h"

namespace vantrel::platform {
namespace {

struct LocaleRow {
  std::string Id;
  char Decimal;
  std::string Thousands;
  std::string Currency;
  int CurrencyFormat;
  int NegativeCurrencyFormat;
  char DateSeparator;
  char TimeSeparator;
  std::string ShortDate;
  std::string LongDate;
  std::string ShortTime;
  std::string LongTime;
  std::string March;       // short and long month name of March
  std::string MarchLong;
  std::string Thursday;    // short and long day name of Thursday
  std::string ThursdayLong;
};

TEST(RegionalSettings, FourSwissAndAmericanUsersSeeTheirOwnSettings) {
  const LocaleRow rows[] = {
      {"de-CH", '.', "\x92", "CHF", 2, 2, '.', ':', "dd/mm/yyyy", "dddd, d. mmmm yyyy", "hh:nn", "hh:nn:ss",
       "M\xE4r", "M\xE4rz", "Do", "Donnerstag"},
      {"fr-CH", ',', "\xA0", "CHF", 3, 8, '.', ':', "dd/mm/yyyy", "dddd, d mmmm yyyy", "hh:nn", "hh:nn:ss", "mars",
       "mars", "jeu.", "jeudi"},
      {"it-CH", '.', "\x92", "CHF", 2, 2, '.', ':', "dd/mm/yyyy", "dddd, d mmmm yyyy", "hh:nn", "hh:nn:ss", "mar",
       "marzo", "gio", "gioved\xEC"},
      {"en-US", '.', ",", "$", 0, 1, '/', ':', "m/d/yyyy", "dddd, mmmm d, yyyy", "h:nn ampm", "h:nn:ss ampm", "Mar",
       "March", "Thu", "Thursday"},
  };
  for (const LocaleRow& row : rows) {
    SCOPED_TRACE("locale: " + row.Id);
    const RegionalSettings rs = RegionalSettings::FromLocale(row.Id);
    EXPECT_EQ(rs.LocaleId, row.Id);
    EXPECT_EQ(rs.DecimalSeparator, row.Decimal);
    EXPECT_EQ(rs.ThousandSeparator, row.Thousands);
    EXPECT_EQ(rs.CurrencySymbol, row.Currency);
    EXPECT_EQ(rs.CurrencyFormat, row.CurrencyFormat);
    EXPECT_EQ(rs.NegativeCurrencyFormat, row.NegativeCurrencyFormat);
    EXPECT_EQ(rs.DateSeparator, row.DateSeparator);
    EXPECT_EQ(rs.TimeSeparator, row.TimeSeparator);
    EXPECT_EQ(rs.ShortDateFormat, row.ShortDate);
    EXPECT_EQ(rs.LongDateFormat, row.LongDate);
    EXPECT_EQ(rs.ShortTimeFormat, row.ShortTime);
    EXPECT_EQ(rs.LongTimeFormat, row.LongTime);
    EXPECT_EQ(rs.ShortMonthNames[2], row.March);
    EXPECT_EQ(rs.LongMonthNames[2], row.MarchLong);
    EXPECT_EQ(rs.ShortDayNames[4], row.Thursday);
    EXPECT_EQ(rs.LongDayNames[4], row.ThursdayLong);
    EXPECT_EQ(rs.TimeAMString, "AM");
    EXPECT_EQ(rs.TimePMString, "PM");
  }
}

// The defaults are what an en-US user gets, so an engine built without a locale
// behaves like one.
TEST(RegionalSettings, DefaultsAreTheAmericanSettings) {
  const RegionalSettings defaults;
  const RegionalSettings us = RegionalSettings::FromLocale("en-US");
  EXPECT_EQ(us.DecimalSeparator, defaults.DecimalSeparator);
  EXPECT_EQ(us.ThousandSeparator, defaults.ThousandSeparator);
  EXPECT_EQ(us.CurrencySymbol, defaults.CurrencySymbol);
  EXPECT_EQ(us.CurrencyFormat, defaults.CurrencyFormat);
  EXPECT_EQ(us.NegativeCurrencyFormat, defaults.NegativeCurrencyFormat);
  EXPECT_EQ(us.DateSeparator, defaults.DateSeparator);
  EXPECT_EQ(us.TimeSeparator, defaults.TimeSeparator);
  EXPECT_EQ(us.ShortDateFormat, defaults.ShortDateFormat);
  EXPECT_EQ(us.LongDateFormat, defaults.LongDateFormat);
  EXPECT_EQ(us.ShortTimeFormat, defaults.ShortTimeFormat);
  EXPECT_EQ(us.LongTimeFormat, defaults.LongTimeFormat);
  EXPECT_EQ(us.TimeAMString, defaults.TimeAMString);
  EXPECT_EQ(us.TimePMString, defaults.TimePMString);
  EXPECT_EQ(us.ShortMonthNames, defaults.ShortMonthNames);
  EXPECT_EQ(us.LongMonthNames, defaults.LongMonthNames);
  EXPECT_EQ(us.ShortDayNames, defaults.ShortDayNames);
  EXPECT_EQ(us.LongDayNames, defaults.LongDayNames);
  EXPECT_EQ(us.ShortEraName, defaults.ShortEraName);
  EXPECT_EQ(us.LongEraName, defaults.LongEraName);
}

// Patterns with quoted words, other separators and fields the formatter has no
// letter for.
TEST(RegionalSettings, PatternTranslation) {
  const struct {
    std::string Id;
    char DateSeparator;
    char TimeSeparator;
    std::string ShortDate;
    std::string LongDate;
    std::string LongTime;
  } rows[] = {
      // Quoted words stay words, in the formatter's quotes.
      {"es-ES", '/', ':', "d/m/yyyy", "dddd, d\" de \"mmmm\" de \"yyyy", "h:nn:ss"},
      // "." separates both dates and times.
      {"fi-FI", '.', '.', "d/m/yyyy", "dddd d. mmmm yyyy", "h:nn:ss"},
      // The short date's two-digit year is written with four digits.
      {"de-DE", '.', ':', "dd/mm/yyyy", "dddd, d. mmmm yyyy", "hh:nn:ss"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE("locale: " + row.Id);
    const RegionalSettings rs = RegionalSettings::FromLocale(row.Id);
    EXPECT_EQ(rs.DateSeparator, row.DateSeparator);
    EXPECT_EQ(rs.TimeSeparator, row.TimeSeparator);
    EXPECT_EQ(rs.ShortDateFormat, row.ShortDate);
    EXPECT_EQ(rs.LongDateFormat, row.LongDate);
    EXPECT_EQ(rs.LongTimeFormat, row.LongTime);
  }
}

// An unknown id still gives complete settings (from ICU's fallback data).
TEST(RegionalSettings, UnknownLocaleGivesCompleteSettings) {
  for (const std::string id : {"zz", "xx-YY", "", "not a locale!"}) {
    SCOPED_TRACE("locale: " + id);
    const RegionalSettings rs = RegionalSettings::FromLocale(id);
    EXPECT_NE(rs.DecimalSeparator, '\0');
    EXPECT_EQ(rs.ThousandSeparator.size(), 1u);
    EXPECT_NE(rs.DateSeparator, '\0');
    EXPECT_NE(rs.TimeSeparator, '\0');
    EXPECT_FALSE(rs.ShortDateFormat.empty());
    EXPECT_FALSE(rs.LongDateFormat.empty());
    EXPECT_FALSE(rs.ShortTimeFormat.empty());
    EXPECT_FALSE(rs.LongTimeFormat.empty());
    for (const std::string& name : rs.LongMonthNames) EXPECT_FALSE(name.empty());
    for (const std::string& name : rs.ShortDayNames) EXPECT_FALSE(name.empty());
  }
}

TEST(RegionalSettings, CurrencyLayouts) {
  RegionalSettings rs;
  rs.CurrencySymbol = "CHF";
  const struct {
    int Positive;
    int Negative;
    std::string PositiveText;
    std::string NegativeText;
  } rows[] = {
      {0, 0, "CHF1.50", "(CHF1.50)"},   {1, 5, "1.50CHF", "-1.50CHF"},  {2, 2, "CHF 1.50", "CHF-1.50"},
      {3, 8, "1.50 CHF", "-1.50 CHF"},  {3, 15, "1.50 CHF", "(1.50 CHF)"}, {2, 12, "CHF 1.50", "CHF -1.50"},
      {0, 3, "CHF1.50", "CHF1.50-"},    {9, 99, "CHF1.50", "-CHF1.50"},  // out of range: the defaults
  };
  for (const auto& row : rows) {
    SCOPED_TRACE("layouts: " + std::to_string(row.Positive) + "/" + std::to_string(row.Negative));
    rs.CurrencyFormat = row.Positive;
    rs.NegativeCurrencyFormat = row.Negative;
    EXPECT_EQ(rs.CurrencyLayout("1.50", false), row.PositiveText);
    EXPECT_EQ(rs.CurrencyLayout("1.50", true), row.NegativeText);
  }
}

TEST(RegionalSettings, Windows1252Conversion) {
  EXPECT_EQ(Utf8ToAnsi("M\xC3\xA4rz \xE2\x82\xAC"), "M\xE4rz \x80");
  // Characters without a Windows-1252 form become "?".
  EXPECT_EQ(Utf8ToAnsi("a\xE2\x80\xAFz\xC5\x81"), "a?z?");
  EXPECT_EQ(AnsiToUtf8("M\xE4rz \x80"), "M\xC3\xA4rz \xE2\x82\xAC");
  EXPECT_EQ(Utf8ToAnsi(""), "");
}

}  // namespace
}  // namespace vantrel::platform
