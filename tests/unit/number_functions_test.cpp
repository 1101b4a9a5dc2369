// Tests of the numeric, date and locale built-ins, called through clauses on a
// page: rounding and integer conversion, the square root, random numbers, the
// number formatter, the number tests, localize and delocalize, the current date
// and time from a fixed clock, date arithmetic, the date formatter and the date
// tests, in en-US, de-CH and de-DE settings. Failure rows check the fallback value
// and the exact report.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "engine/Engine.h"
#include "engine/QueryList.h"
#include "engine/TPBaseTag.h"
#include "engine/TStringList.h"
#include "engine/clause/TClause.h"
#include "PageFixture.h"

namespace vantrel {
namespace {

// 5 March 2009, 14:07:09.250 as a day count with the time as its fraction.
constexpr double kDay20090305 = 39877;
constexpr double kMoment = kDay20090305 + (((14 * 60 + 7) * 60 + 9) * 1000 + 250) / 86400000.0;

// A page with x=5 from its query string, names resolving through a fragment in
// it, a fixed clock and the messages of the error hook collected.
class NumberFunctions : public PageFixture {
 protected:
  NumberFunctions() : PageFixture("\\nonexistent\\x.qsp?x=5") {
    engine.Clock = [this] { return clock; };
  }

  void UseLocale(const std::string& id) { engine.Regional = platform::RegionalSettings::FromLocale(id); }

  double clock = kMoment;
};

TEST_F(NumberFunctions, RoundingAndWholeNumbers) {
  CheckRows({
      // asint and int round (halves to even) rather than truncate.
      {"asint(\"2.5\")", "2", ""},
      {"int(3.5)", "4", ""},
      {"int(3.7)", "4", ""},
      {"int(\"2.5\")", "2", ""},
      {"asint(-3.7)", "-4", ""},
      {"asint(\"1,234.4\")", "1234", ""},  // regional grouping
      {"asint(\"$1F\")", "31", ""},        // the whole-number reading after the regional one
      {"asint(\"TRUE\")", "1", ""},
      {"asint(\"x\")", "ERROR", "Fn: asint(\"x\"\r\n) called as (x)"},
      {"asint(\"3000000000\")", "ERROR", "Fn: asint(\"3000000000\"\r\n) called as (3000000000)"},
      {"int(\"x\")", "ERROR", "Fn: int(\"x\"\r\n)"},
      {"ceiling(2.1)", "3", ""},
      {"ceiling(-2.1)", "-2", ""},
      {"ceiling(-0.5)", "0", ""},
      {"ceiling(\"abc\")", "ERROR", "Fn: ceiling(\"abc\"\r\n) called as (abc)"},
      {"floor(-2.1)", "-3", ""},
      {"floor(\" 2.9 \")", "2", ""},
      {"floor(\"x\")", "ERROR", "Fn: floor(\"x\"\r\n)"},
      {"round(\"0.5\")", "0", ""},
      {"round(1.5)", "2", ""},
      {"round(-2.5)", "-2", ""},
      {"round(\"9e18\")", "9000000000000000000", ""},
      {"round(\"1e19\")", "ERROR", "Fn: round(\"1e19\"\r\n)"},  // beyond the 64-bit range
      {"mod(7, 3)", "1", ""},
      {"mod(\"-7\", 3)", "-1", ""},
      {"mod(7.5, \"2\")", "0", ""},  // 8 mod 2
      {"mod(-2147483648, -1)", "0", ""},
      {"mod(7, 0)", "ERROR", "Fn: Mod(7\r\n\"\"\r\n0\r\n)"},
      {"mod(7)", "ERROR", "Fn: Mod(7\r\n)"},
      {"sqr(16)", "4", ""},
      {"sqr(2)", "1.4142135623731", ""},
      {"sqr(-1)", "ERROR", "Fn: sqr(\"-1\"\r\n)"},
  });
}

TEST_F(NumberFunctions, NumberTestsAndSeparators) {
  CheckRows({
      {"iswhole(\"4\")", "true", ""},
      {"iswhole(\"4.5\")", "false", ""},
      {"iswhole(\"-3\")", "true", ""},
      {"iswhole(\"-3.5\")", "false", ""},
      // The argument is resolved once more: the literal x names the variable x.
      {"iswhole(\"x\")", "true", ""},
      {"iswhole(undefinedname)", "ERROR", "Fn: iswhole(\"\"\r\n)"},
      {"isnumeric(\"12E3\")", "true", ""},
      {"isnumeric(\"1-2\")", "true", ""},
      {"isnumeric(\"12a\")", "false", ""},
      {"isnumeric(\"\")", "false", ""},
      {"isnumeric(\"1,5\")", "false", ""},
      {"isnumeric()", "false", ""},  // one empty argument
      {"asint()", "ERROR", "Fn: asint(\r\n) called as ()"},
      // With "." as the decimal separator both leave the text alone.
      {"localize(\"1234.5\")", "1234.5", ""},
      {"delocalize(\"1,5\")", "1,5", ""},
  });
}

TEST_F(NumberFunctions, NumberFormatWithPointAndComma) {
  CheckRows({
      {"numberformat(\"1234.5\", \"##,####0.00\")", "1,234.50", ""},
      {"numberformat(\"1234.5\", \"0\")", "1235", ""},
      {"numberformat(\"1234.5\", \"0.000\")", "1234.500", ""},
      {"numberformat(\"1234.5\", \"\")", "1234.5", ""},
      {"numberformat(\"\", \"0.00\")", "", ""},
      {"numberformat(\"abc\", \"0.00\")", "ERROR", "Fn: NumberFormat(\"abc\"\r\n\"\"\r\n\"0.00\"\r\n)"},
      {"numberformat(\"1234.5\")", "ERROR", "Fn: NumberFormat(\"1234.5\"\r\n)"},
      // Cleaning drops blanks, grouping and currency characters.
      {"numberformat(\" $1,234.5 \", \"0.0\")", "1234.5", ""},
      {"numberformat(\"-1234.567\", \"$##,####0.00\")", "-$1,234.57", ""},
      {"numberformat(\"1234.567\", \"$\")", "$1,234.57", ""},
      // Halves away from zero on the decimal digits, with carries.
      {"numberformat(\"0.005\", \"0.00\")", "0.01", ""},
      {"numberformat(\"1.005\", \"0.00\")", "1.01", ""},
      {"numberformat(\"-2.5\", \"0\")", "-3", ""},
      {"numberformat(\"999.996\", \"##,####0.00\")", "1,000.00", ""},
      {"numberformat(\"-0.001\", \"0.00\")", "0.00", ""},
      {"numberformat(\"12345678901234567\", \",\")", "12,345,678,901,234,567", ""},
      // Digits read from plain texts agree with the extended value's 18 digits.
      {"numberformat(\"2.50000000000000000000000\", \"0\")", "3", ""},
      {"numberformat(\"00012.345\", \"0.00\")", "12.35", ""},
      {"numberformat(\".5\", \"0\")", "1", ""},
      {"numberformat(\"5.\", \"0.0\")", "5.0", ""},
      {"numberformat(\"0.123456789012345675\", \"0.00000000000000000\")", "0.12345678901234568", ""},
      {"numberformat(\"-0.000000000000000000000125\", \"0.0000000000000000000000\")",
       "-0.0000000000000000000001", ""},
      {"numberformat(\"1.000000000000000005\", \"0.000000000000000000\")", "1.000000000000000000", ""},
      {"numberformat(\"99999999999999999.95\", \"0.0\")", "100000000000000000.0", ""},
      {"numberformat(\"1e20\", \"0\")", "1E+20", ""},
      {"numberformat(\"1-2\", \"0\")", "ERROR", "Fn: NumberFormat(\"1-2\"\r\n\"\"\r\n\"0\"\r\n)"},
  });
  // Comma as decimal separator, point as thousands separator: the point of the
  // number is removed when cleaning.
  UseLocale("de-DE");
  CheckRows({
      {"numberformat(\"1234.5\", \"##.####0,00\")", "12.345,00", ""},
      {"localize(\"1234.5\")", "1234,5", ""},
      {"numberformat(localize(\"1234.5\"), \"##.####0,00\")", "1.234,50", ""},
      {"delocalize(\"1,5\")", "1.5", ""},
      {"sqr(2)", "1,4142135623731", ""},
      {"isnumeric(\"1,5\")", "true", ""},
      {"isnumeric(\"1.5\")", "false", ""},
      {"numberformat(\"-1234,5\", \"\x80\")", "-1.234,50 \x80", ""},
  });
  UseLocale("de-CH");
  CheckRows({
      {"numberformat(\"1234.5\", \"CHF 0.00\")", "CHF 1\x92" "234.50", ""},
      {"numberformat(\"-1234.5\", \"CHF\")", "CHF-1\x92" "234.50", ""},
      {"numberformat(\"1234.5\", \"0\x92" "0.0\")", "1\x92" "234.5", ""},
  });
}

TEST_F(NumberFunctions, RandRange) {
  // A new generator at every call: the same clock moment gives the same value.
  const std::string first = Eval("randrange(1, 1000000)");
  EXPECT_EQ(Eval("randrange(1, 1000000)"), first);
  clock += 1.0 / 86400000;  // one millisecond later
  EXPECT_NE(Eval("randrange(1, 1000000)"), first);

  // On the system clock every value of a small range comes out, and no other.
  engine.Clock = nullptr;
  std::set<std::string> seen;
  for (int i = 0; i < 600; ++i) seen.insert(Eval("randrange(1, 6)"));
  EXPECT_EQ(seen, (std::set<std::string>{"1", "2", "3", "4", "5", "6"}));
  EXPECT_TRUE(errors.empty());

  CheckRows({
      {"randrange(5, 5)", "5", ""},
      {"randrange(\"a\", 2)", "ERROR", "Fn: randrange(\"a\"\r\n\"\"\r\n2\r\n)"},
      {"randrange(1)", "ERROR", "Fn: randrange(1\r\n)"},
      // A value beyond the 64-bit range is the other failure.
      {"randrange(\"1e300\", \"2e300\")", "ERROR", "Fn: randange(\"1e300\"\r\n\"\"\r\n\"2e300\"\r\n)"},
  });
}

TEST_F(NumberFunctions, CurrentDateAndTime) {
  CheckRows({
      {"date()", "3/5/2009", ""},
      {"now()", "3/5/2009 2:07:09 PM", ""},
      {"time()", "2:07:09 PM", ""},
      {"createtimespan(1, 2, 3)", "ERROR", ""},
  });
  clock = kDay20090305;  // midnight: now leaves the time out
  CheckRows({{"now()", "3/5/2009", ""}, {"time()", "12:00:00 AM", ""}});
  UseLocale("de-CH");
  clock = kMoment;
  CheckRows({{"date()", "05.03.2009", ""}, {"now()", "05.03.2009 14:07:09", ""}, {"time()", "14:07:09", ""}});
}

TEST_F(NumberFunctions, DateAdd) {
  const std::string reportX = "Fn: dateadd(\"m\"\r\n\"\"\r\n\"x\"\r\n\"\"\r\n\"1/31/2009\"\r\n) called as (m,x)";
  CheckRows({
      {"dateadd(\"m\", 1, \"1/31/2009\")", "2/28/2009", ""},
      {"dateadd(\"m\", 1, \"1/31/2008\")", "2/29/2008", ""},
      {"dateadd(\"m\", -13, \"3/31/2009\")", "2/29/2008", ""},
      {"dateadd(\"y\", 1, \"2/29/2008\")", "2/28/2009", ""},
      {"dateadd(\"D\", 1, \"1/31/2009\")", "2/1/2009", ""},
      {"dateadd(\"d\", -31, \" 3/1/2009 10:00 \")", "1/29/2009", ""},
      {"dateadd(\"w\", 1, \"1/31/2009\")", "1/31/2009", ""},
      {"dateadd(\"m\", 1, \"2/5\")", "3/5/2009", ""},  // the current year
      {"dateadd(\"d\", \"$10\", \"1/1/2009\")", "1/17/2009", ""},
      {"dateadd(\"m\", \"x\", \"1/31/2009\")", "ERROR", reportX},
      {"dateadd(\"m\", 1, \"31/31/2009\")", "ERROR",
       "Fn: dateadd(\"m\"\r\n\"\"\r\n1\r\n\"\"\r\n\"31/31/2009\"\r\n) called as (m,1)"},
      {"dateadd(\"m\", 1)", "", ""},
      {"dateadd(\"m\", 1, \"\")", "", ""},
      {"dateadd(\"\", 1, \"1/1/2009\")", "", ""},
  });
  // A result outside the calendar's years fails the whole clause.
  errors.clear();
  EXPECT_EQ(Eval("dateadd(\"y\", 9000, \"1/1/2009\")"), "");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].rfind("Error Parsing Clause Results", 0), 0u);
}

TEST_F(NumberFunctions, DateFormat) {
  const std::string d = "\"3/5/2009 14:07:09.250\", ";
  CheckRows({
      {"dateformat(" + d + "\"dd.mm.yyyy hh:nn\")", "05.03.2009 14:07", ""},
      {"dateformat(" + d + "\"d/m/yy\")", "5/3/09", ""},
      {"dateformat(" + d + "\"h:mm am/pm\")", "2:07 pm", ""},
      {"dateformat(" + d + "\"H:MM AM/pm\")", "2:07 pm", ""},
      {"dateformat(\"3/5/2009 9:05\", \"h:mm AM/pm a/P\")", "9:05 AM a", ""},
      {"dateformat(\"3/5/2009 0:05\", \"hh:nn ampm\")", "12:05 AM", ""},
      {"dateformat(" + d + "\"hh nn ss\")", "14 07 09", ""},
      // "m" means minutes only right after an hour field.
      {"dateformat(" + d + "\"h dd mm\")", "14 05 03", ""},
      {"dateformat(" + d + "\"h 'x' m\")", "14 x 7", ""},
      {"dateformat(" + d + "\"\")", "3/5/2009 2:07:09 PM", ""},
      {"dateformat(\"3/5/2009\", \"c\")", "3/5/2009", ""},
      {"dateformat(" + d + "\"ddddd|dddddd\")", "3/5/2009|Thursday, March 5, 2009", ""},
      {"dateformat(" + d + "\"ddd dddd mmm mmmm aaa aaaa\")", "Thu Thursday Mar March Thu Thursday", ""},
      {"dateformat(" + d + "\"t|tt|ampm\")", "2:07 PM|2:07:09 PM|PM", ""},
      {"dateformat(" + d + "\"z zz zzz\")", "250 250 250", ""},
      {"dateformat(\"3/5/2009 14:07:09:7\", \"z|zz|zzz\")", "7|07|007", ""},
      {"dateformat(" + d + "\"y yy yyy yyyy\")", "09 09 2009 2009", ""},
      {"dateformat(" + d + "\"g|gg|e\")", "AD|Anno Domini|2009", ""},
      {"dateformat(" + d + "\"DdDd MmMm YyYy q\")", "Thursday March 2009 q", ""},
      {"dateformat(" + d + "\"'dd' 'm/y' d x\")", "dd m/y 5 x", ""},
      {"dateformat(\"\", \"dd\")", "", ""},
      {"dateformat(\"3/5/2009\")", "ERROR", "Fn: formatdate(\"3/5/2009\"\r\n)"},
      {"dateformat(\"2/30/2009\", \"d\")", "ERROR", "Fn: formatdate(\"2/30/2009\"\r\n\"\"\r\n\"d\"\r\n)"},
  });
  UseLocale("de-CH");
  CheckRows({
      {"dateformat(\"5.3.2009 14:07:09\", \"dddddd\")", "Donnerstag, 5. M\xE4rz 2009", ""},
      {"dateformat(\"5.3.2009 14:07:09\", \"d/m/yy t\")", "5.3.09 14:07", ""},
      {"dateformat(\"5.3.2009\", \"ddd mmm\")", "Do M\xE4r", ""},
  });
  UseLocale("fr-CH");
  CheckRows({{"dateformat(\"5.3.2009\", \"dddd d mmmm\")", "jeudi 5 mars", ""}});
  UseLocale("it-CH");
  CheckRows({{"dateformat(\"2.3.2009\", \"dddd d mmmm\")", "luned\xEC 2 marzo", ""}});
  // Quoted words in a regional format, and "." as time separator.
  UseLocale("es-ES");
  CheckRows({{"dateformat(\"5/3/2009\", \"dddddd\")", "jueves, 5 de marzo de 2009", ""}});
  UseLocale("fi-FI");
  CheckRows({
      {"dateformat(\"5.3.2009 14.07.09\", \"c\")", "5.3.2009 14.07.09", ""},
      {"istime(\"14.07\")", "true", ""},
      {"istime(\"14:07\")", "false", ""},
  });
}

TEST_F(NumberFunctions, DateTests) {
  CheckRows({
      {"isdate(\"2/28/2009\")", "true", ""},
      {"isdate(\"2/29/2008\")", "true", ""},
      {"isdate(\"2/29/2009\")", "false", ""},
      {"isdate(\"13/1/2009\")", "false", ""},
      {"isdate(\"2/28\")", "true", ""},
      {"isdate(\"1/1/09\")", "true", ""},
      {"isdate(\"1/1/0\")", "true", ""},
      {"isdate(\"1/1/0000\")", "false", ""},
      {"isdate(\"1/1/12345\")", "false", ""},
      {"isdate(\"2/28/2009 10:00\")", "false", ""},
      {"isdate(\"\")", "false", ""},
      {"isdate()", "false", ""},
      {"istime(\"25:00\")", "false", ""},
      {"istime(\"14:07\")", "true", ""},
      {"istime(\"14:07:09\")", "true", ""},
      {"istime(\"2:07 PM\")", "true", ""},
      {"istime(\"2:07pm\")", "true", ""},
      {"istime(\"13:07 PM\")", "false", ""},
      {"istime(\"14:60\")", "false", ""},
      {"istime(\"14\")", "false", ""},
      {"isdatetime(\"3/5/2009 14:07\")", "true", ""},
      {"isdatetime(\"3/5/2009\")", "true", ""},
      {"isdatetime(\"14:07\")", "false", ""},
      {"isdatetime(\"3/5/2009 14:07 x\")", "false", ""},
  });
  // Day-month-year order with "." as date separator.
  UseLocale("de-CH");
  CheckRows({
      {"isdate(\"31.02.2009\")", "false", ""},
      {"isdate(\"28.02.2009\")", "true", ""},
      {"isdate(\"2/28/2009\")", "false", ""},
      {"dateadd(\"m\", 1, \"31.01.2009\")", "28.02.2009", ""},
  });
}

TEST_F(NumberFunctions, TwoDigitYearsFallInTheHundredYearsFromEightyBack) {
  CheckRows({
      {"dateformat(\"1/1/28\", \"yyyy\")", "2028", ""},
      {"dateformat(\"1/1/29\", \"yyyy\")", "1929", ""},
      {"dateformat(\"1/1/099\", \"yyyy\")", "0099", ""},
  });
}

// None of these may crash or hang; each gives some text.
TEST_F(NumberFunctions, BadInputs) {
  const std::string longMask(20000, 'd');
  const std::string longNumber(5000, '9');
  const std::vector<std::string> clauses = {
      "asint()", "int(\"\")", "ceiling(\"1e400\")", "floor(\"-1e308\")", "round(\"nan\")", "round(\"-\")",
      "mod(\"2147483647\", \"-2147483648\")", "sqr(\"1e308\")", "sqr()", "randrange(\"-1e308\", \"1e308\")",
      "randrange(2147483647, -2147483648)", "numberformat(\"1e308\", \"##,####0.00\")",
      "numberformat(\"" + longNumber + "\", \"0.0\")", "numberformat(\"1\", \"0." + std::string(3000, '0') + "\")",
      "numberformat(\"e\", \"0\")", "numberformat(\"-\", \"$\")", "iswhole(\"1e400\")", "dateadd(\"d\", 2147483647, \"1/1/2009\")",
      "dateadd(\"m\", -2147483648, \"1/1/2009\")", "dateadd(\"y\", 2147483647, \"1/1/2009\")",
      "dateformat(\"1/1/2009\", \"" + longMask + "\")", "dateformat(\"1/1/2009\", \"'unterminated\")",
      "dateformat(\"12/31/9999 23:59:59:999\", \"c zzz\")", "dateformat(\"1/1/1\", \"dddddd g e\")",
      "isdate(\"99999999/99999999/99999999\")", "istime(\"99999:99999:99999:99999\")",
      "isdatetime(\"1/1/2009 \")", "isdate(\"/\")", "istime(\"::\")", "dateadd(\"m\", 1, \"//\")",
  };
  for (const std::string& clause : clauses) {
    SCOPED_TRACE("clause: " + clause);
    Eval(clause);
  }
  // A clock outside the calendar's years is no failure of now().
  clock = 1e12;
  EXPECT_EQ(Eval("now()"), "");
  EXPECT_EQ(Eval("date()"), "ERROR");
  EXPECT_EQ(Eval("isdate(\"1/1/2009\")"), "ERROR");
}

}  // namespace
}  // namespace vantrel
