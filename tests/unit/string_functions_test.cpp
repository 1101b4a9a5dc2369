// Tests of the string built-ins and of the three number readings they share with
// the numeric family: each row is a clause evaluated on a page, its result and the
// report it must hand to the error hook (or none).
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/Engine.h"
#include "engine/QueryList.h"
#include "engine/TPBaseTag.h"
#include "engine/TStringList.h"
#include "engine/clause/TClause.h"
#include "engine/functions/FunctionSupport.h"
#include "engine/functions/FunctionTable.h"
#include "PageFixture.h"

namespace vantrel {
namespace {

platform::RegionalSettings CommaSettings() {
  platform::RegionalSettings regional;
  regional.DecimalSeparator = ',';
  regional.ThousandSeparator = ".";
  return regional;
}

// A page with the variables t=abc, blank=" b ", crlf="a" CR LF "b" and sign="#9", and a
// fragment on it that owns the clauses.
class StringFunctions : public PageFixture {
 protected:
  explicit StringFunctions(platform::RegionalSettings regional = {})
      : PageFixture("\\nowhere\\p.qsp?t=abc", {.Regional = std::move(regional)}) {
    page->SetVariable("blank", " b ");
    page->SetVariable("crlf", "a\r\nb");
    page->SetVariable("sign", "#9");
  }

  // Runs a built-in directly on prepared entries (separators "" put between them),
  // for results that the clause evaluation would trim, unquote or clean.
  std::string Call(const std::string& name, const std::vector<std::string>& entries) {
    TTextStream empty;
    TClause caller(engine, empty, nullptr, owner.get());
    TClause arguments(engine, empty, nullptr, owner.get());
    for (size_t i = 0; i < entries.size(); ++i) {
      if (i > 0) arguments.Elements.Add("\"\"");
      arguments.Elements.Add(entries[i]);
    }
    std::string result;
    FindFunction(name)->Function(caller, arguments, result);
    return result;
  }
};

class StringFunctionsComma : public StringFunctions {
 protected:
  StringFunctionsComma() : StringFunctions(CommaSettings()) {}
};

// ---- number readings ----

TEST(NumberReadings, WholeNumber) {
  const struct {
    std::string Text;
    std::optional<std::int32_t> Value;
  } rows[] = {
      {"0", 0},        {"42", 42},      {"-7", -7},       {"+7", 7},        {"$1F", 31},
      {"x1f", 31},     {"X10", 16},     {"0x10", 16},     {"-$10", -16},    {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1}, {"$7FFFFFFF", 2147483647},
      {"2147483648", std::nullopt},     {"$80000000", std::nullopt},        {"99999999999999999999", std::nullopt},
      {"1.5", std::nullopt},            {"1e3", std::nullopt},              {"", std::nullopt},
      {"-", std::nullopt},              {"$", std::nullopt},                {"0x", std::nullopt},
      {"0X10", std::nullopt},           {" 5", std::nullopt},               {"5 ", std::nullopt},
      {"$1G", std::nullopt},            {"true", std::nullopt},             {"1,000", std::nullopt},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE("text: " + row.Text);
    EXPECT_EQ(ReadWholeNumber(row.Text), row.Value);
  }
}

TEST(NumberReadings, Rounded) {
  const platform::RegionalSettings point;
  const platform::RegionalSettings comma = CommaSettings();
  const struct {
    const platform::RegionalSettings& Regional;
    std::string Text;
    std::optional<std::int32_t> Value;
  } rows[] = {
      {point, "2.5", 2},           {point, "3.5", 4},           {point, "-2.5", -2},      {point, "-3.7", -4},
      {point, "1.4999", 1},        {point, " 12 ", 12},         {point, "1,234", 1234},   {point, "1,234.5", 1234},
      {point, "1.5e1", 15},        {point, "+4", 4},            {point, ".5", 0},         {point, "$1F", 31},
      {point, "TRUE", 1},          {point, "False", 0},         {point, "2147483647.4", 2147483647},
      {comma, "2,5", 2},           {comma, "1.234,6", 1235},    {comma, "3.5", 35},
      {point, "2147483647.5", std::nullopt},  {point, "1e10", std::nullopt},  {point, "", std::nullopt},
      {point, "abc", std::nullopt},           {point, "1,", std::nullopt},    {point, ",1", std::nullopt},
      {point, "1e", std::nullopt},            {point, "yes", std::nullopt},   {comma, "2.5e", std::nullopt},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE("text: " + row.Text + " with decimal separator " + row.Regional.DecimalSeparator);
    EXPECT_EQ(ReadRoundedNumber(row.Text, row.Regional), row.Value);
  }
}

TEST(NumberReadings, Real) {
  const platform::RegionalSettings point;
  const platform::RegionalSettings comma = CommaSettings();
  const struct {
    const platform::RegionalSettings& Regional;
    std::string Text;
    std::optional<double> Value;
  } rows[] = {
      {point, "1.5", 1.5},      {point, "-0.25", -0.25}, {point, "1,000.5", 1000.5}, {point, "2E3", 2000.0},
      {point, " 7 ", 7.0},      {point, "1.", 1.0},      {point, ".5", 0.5},         {comma, "1,5", 1.5},
      {comma, "1.000,5", 1000.5},
      {point, "1e999", std::nullopt}, {point, "x", std::nullopt},  {point, "", std::nullopt},
      {point, "true", std::nullopt},  {point, "$1F", std::nullopt}, {point, "inf", std::nullopt},
      {point, "nan", std::nullopt},   {comma, "1.5", 15.0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE("text: " + row.Text + " with decimal separator " + row.Regional.DecimalSeparator);
    EXPECT_EQ(ReadRealNumber(row.Text, row.Regional), row.Value);
  }
}

// ---- fallback results and report heads ----

// Every string built-in called with no entries at all: the missing first argument
// is a failure with its fallback and report, except where the call is answered as a
// test of the argument count.
TEST_F(StringFunctions, MissingArguments) {
  const struct {
    std::string Name;
    std::string Expected;
    std::string Reported;  // empty: no report
  } rows[] = {
      {"len", "ERROR", "Fn: len()"},
      {"left", "ERROR", "Fn: left()"},
      {"right", "ERROR", "Fn: right()"},
      {"mid", "ERROR", ""},
      {"copy", "ERROR", ""},
      {"find", "ERROR", "Fn: Find()"},
      {"pos", "ERROR", "Fn: Pos()"},
      {"findoneof", "ERROR", "Fn: FindOneOf()"},
      {"spanexcluding", "ERROR", "Fn: spanexcluding()"},
      {"insert", "", ""},
      {"delete", "ERROR", ""},
      {"removechars", "ERROR", ""},
      {"replace", "ERROR", "Fn: replace()"},
      {"replacenocase", "ERROR", "Fn: replacenocase()"},
      {"ucase", "ERROR", "Fn: ucase()"},
      {"lcase", "ERROR", "Fn: lcase()"},
      {"trim", "ERROR", "Fn: Trim()"},
      {"quoted", "ERROR", "Fn: Quoted()"},
      {"safequote", "ERROR", "Fn: safequote()"},
      {"sqlsafe", "ERROR", "Fn: sqlsafe()"},
      {"htmleditformat", "ERROR", "Fn: htmleditformat()"},
      {"urlencodedformat", "ERROR", "Fn: urlencodeformat()"},
      {"urldecodedformat", "ERROR", "Fn: urldecodeformat()"},
      {"cleantext", "ERROR", "Fn: cleantext()"},
      {"comparestr", "ERROR", ""},
      {"comparetext", "false", ""},
      {"concat", "ERROR", "Fn: concat()"},
      {"gettoken", "ERROR", "Fn: GetToken()"},
      {"chr", "ERROR", "Fn: chr()"},
      {"fullupc", "ERROR", "Fn: fullupc()"},
      {"validupc", "ERROR", "Fn: validupc()"},
      {"verifydata", "ERROR", "Fn: verifydata()"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE("function: " + row.Name);
    errors.clear();
    EXPECT_EQ(Call(row.Name, {}), row.Expected);
    if (row.Reported.empty()) {
      EXPECT_TRUE(errors.empty());
    } else {
      ASSERT_EQ(errors.size(), 1u);
      EXPECT_EQ(errors[0], row.Reported);
    }
  }
}

// An empty pair of parentheses holds one empty argument.
TEST_F(StringFunctions, EmptyParenthesesHoldOneEmptyArgument) {
  CheckRows({
      {"len()", "0"},
      {"validupc()", "false"},
      {"chr()", "ERROR", "Fn: chr(\r\n)"},
      {"mid()", "ERROR", "Fn: Mid(\r\n)"},
  });
}

// ---- cutting and measuring ----

TEST_F(StringFunctions, LengthAndCutting) {
  CheckRows({
      {"len(\"ab\")", "2"},  // the quotes of a literal do not count
      {"LEN(t)", "3"},
      {"len(\"\")", "0"},
      {"left(\"abc\", 2)", "ab"},
      {"left(\"abc\", 5)", "abc"},
      {"left(\"abc\", 0)", ""},
      {"left(\"abc\", \"-2\")", ""},
      {"left(\"abc\", \"$2\")", "ab"},
      {"left(\"abc\", 1.5)", "ERROR", Report("left", {"\"abc\"", "\"1.5\""})},
      {"left(\"abc\")", "ERROR", Report("left", {"\"abc\""})},
      {"right(\"abc\", 2)", "bc"},
      {"right(\"abc\", 9)", "abc"},
      {"right(\"abc\", 0)", ""},
      {"right(\"abc\", \"x\")", "ERROR", Report("right", {"\"abc\"", "\"x\""})},
      {"mid(\"abcdef\", 0, 2)", "ab"},
      {"mid(\"abcdef\", 2, 3)", "bcd"},
      {"mid(\"abc\", 4, 1)", ""},
      {"mid(\"abc\", 2, 99)", "bc"},
      {"mid(\"abc\", 2, \"-1\")", ""},
      {"mid(\"abc\", \"x\", 1)", "ERROR", Report("Mid", {"\"abc\"", "\"x\"", "1"})},
      {"mid(\"abc\", 1)", "ERROR", Report("Mid", {"\"abc\"", "1"})},
      {"copy(\"abcdef\", 3, 2)", "cd"},
      {"copy(\"abc\", 1, \"y\")", "ERROR", Report("Copy", {"\"abc\"", "1", "\"y\""})},
  });
}

TEST_F(StringFunctions, Searching) {
  CheckRows({
      {"find(\"b\", \"abcb\")", "2"},
      {"find(\"b\", \"abcb\", 3)", "4"},
      {"find(\"\", \"abc\")", "0"},
      {"find(\"b\", \"\")", "0"},
      {"find(\"b\", \"abcb\", 0)", "0"},
      {"find(\"b\", \"abcb\", 1.5)", "2"},   // rounded: 2
      {"find(\"c\", \"abcb\", 2.5)", "3"},   // an exact half goes to the even 2
      {"find(\"bc\", \"abc\", 3)", "0"},     // cannot fit
      {"find(\"B\", \"abc\")", "0"},
      {"find(\"b\", \"abcb\", \"true\")", "2"},
      {"find(\"b\", \"abcb\", \"x\")", "ERROR", Report("Find", {"\"b\"", "\"abcb\"", "\"x\""})},
      {"find(\"b\")", "ERROR", Report("Find", {"\"b\""})},
      {"pos(\"c\", \"abcb\")", "3"},
      {"pos(\"c\", \"abc\", \"q\")", "ERROR", Report("Pos", {"\"c\"", "\"abc\"", "\"q\""})},
      {"findoneof(\"xc\", \"abcd\")", "3"},
      {"findoneof(\"a\", \"abc\", 9)", "0"},
      {"findoneof(\"ab\", \"abab\", 2)", "2"},
      {"findoneof(\"a\", \"abc\", \"-5\")", "1"},
      {"findoneof(\"\", \"abc\")", "0"},
      {"findoneof(\"a\", \"abc\", \"z\")", "ERROR", Report("FindOneOf", {"\"a\"", "\"abc\"", "\"z\""})},
      {"spanexcluding(\"abc\", \"c\")", "ab"},
      {"spanexcluding(\"abc\", \"x\")", "abc"},
      {"spanexcluding(\"abc\", \"a\")", ""},
      {"spanexcluding(\"abc\")", "ERROR", Report("spanexcluding", {"\"abc\""})},
  });
}

TEST_F(StringFunctions, InsertingAndDeleting) {
  CheckRows({
      {"insert(\"X\", \"abc\", 1)", "Xabc"},
      {"insert(\"X\", \"abc\", 3)", "abXc"},
      {"insert(\"X\", \"abc\", 4)", "abcX"},
      {"insert(\"X\", \"abc\", 9)", "abcX"},
      {"insert(\"X\", \"abc\", 0)", "Xabc"},
      {"insert(\"X\", \"abc\")", ""},  // fewer than three arguments: no report
      {"insert(\"X\", \"abc\", \"p\")", "ERROR", Report("insert", {"\"X\"", "\"abc\"", "\"p\""})},
      {"delete(\"abcdef\", 2, 3)", "aef"},
      {"delete(\"abcdef\", 0, 1)", "abcdef"},
      {"delete(\"abcdef\", 7, 1)", "abcdef"},
      {"delete(\"abcdef\", 2, 0)", "abcdef"},
      {"delete(\"abcdef\", 2, 99)", "a"},
      {"delete(\"abcdef\", 6, 1)", "abcde"},
      {"delete(\"abcdef\", 2)", "ERROR"},  // fewer than three arguments: no report
      {"delete(\"abc\", \"s\", 1)", "ERROR", Report("delete", {"\"abc\"", "\"s\"", "1"})},
      {"removechars(\"abcdef\", 3, 2)", "abef"},
      {"removechars(\"abcdef\", 3)", "ERROR"},
      {"removechars(\"abc\", 1, \"n\")", "ERROR", Report("delete", {"\"abc\"", "1", "\"n\""})},
  });
}

TEST_F(StringFunctions, Replacing) {
  CheckRows({
      {"replace(\"aXbXc\", \"X\", \"-\")", "a-b-c"},
      {"replace(\"aXbXc\", \"X\", \"-\", \"one\")", "a-bXc"},
      {"replace(\"aXbXc\", \"X\", \"-\", \"ALL\")", "a-bXc"},
      {"replace(\"aXbXc\", \"X\", \"-\", \"all\")", "a-b-c"},
      {"replace(\"aXbxc\", \"x\", \"-\")", "aXb-c"},
      {"replace(\"aaa\", \"aa\", \"b\")", "ba"},       // no overlap
      {"replace(\"aXb\", \"X\", \"XX\")", "aXXb"},     // inserted text is not searched again
      {"replace(\"abc\", \"\", \"-\")", "abc"},
      {"replace(\"abc\", \"b\", \"\")", "ac"},
      {"replace(\"abc\", \"b\")", "ERROR", Report("replace", {"\"abc\"", "\"b\""})},
      {"replacenocase(\"aXbxc\", \"x\", \"-\")", "a-b-c"},
      {"replacenocase(\"aXbxc\", \"X\", \"-\", \"first\")", "a-bxc"},
      {"replacenocase(\"\xC4pfel \xE4pfel\", \"\xE4\", \"ae\")", "aepfel aepfel"},  // accented letters too
      {"replacenocase(\"abc\")", "ERROR", Report("replacenocase", {"\"abc\""})},
  });
}

TEST_F(StringFunctions, CaseAndTrimming) {
  CheckRows({
      {"ucase(\"\xE4\x62\x63\")", "\xE4\x42\x43"},  // only a to z change
      {"lcase(\"\xC4\x42\x43\")", "\xC4\x62\x63"},
      {"\"[\" & trim(blank) & \"]\"", "[b]"},
      {"\"[\" & trim(\" \t b \") & \"]\"", "[b]"},
  });
}

// ---- encodings ----

TEST_F(StringFunctions, Encodings) {
  CheckRows({
      {"sqlsafe(\"x'y'z\")", "x''y''z"},
      {"htmleditformat(\"<a href=x>&amp;</a>\")", "&lt;a href=x&gt;&amp;amp;&lt;/a&gt;"},
      {"urlencodedformat(\"a b/c\")", "a&nbsp;b%2Fc"},
      {"urlencodedformat(\"Az09-._~+\xE4\")", "Az09-._%7E%2B%E4"},
      {"urldecodedformat(\"a+b%41&c\")", "a+bA\r\nc"},
      {"\"[\" & urldecodedformat(\"x%\") & \"]\"", "[x%]"},
      {"\"[\" & urldecodedformat(\"x%4\") & \"]\"", "[x%4]"},
      {"cleantext(\"a%0Db%0Ac\")", "abc"},
      {"cleantext(\"%0%0DD%0%0AA!\")", "!"},  // occurrences formed by a removal go too
  });
}

// Results that a clause would unquote, trim or clean, checked on the built-ins.
TEST_F(StringFunctions, EncodingsKeepEveryCharacter) {
  const struct {
    std::string Name;
    std::vector<std::string> Entries;
    std::string Expected;
  } rows[] = {
      {"quoted", {"\"a b\""}, "\"a b\""},
      {"safequote", {"\"a\"b\""}, "a&QUOT;b"},
      {"htmleditformat", {"\"<a title=\"t\">&\""}, "&lt;a title=&QUOT;t&QUOT;&gt;&amp;"},
      {"sqlsafe", {"it's"}, "it''s"},
      {"cleantext", {"\"%0%0AD\""}, "%0D"},  // only the pattern being removed goes
      {"cleantext", {"\"%0D%0A\""}, ""},
      {"urlencodedformat", {"\"\r\n\""}, "%0D%0A"},
      {"urldecodedformat", {"\" %20\""}, "  "},
      // Escape digits: ":" to "@" count their code minus 55, a character below "0" is
      // skipped, one after "F" (lower case too) ends the value.
      {"urldecodedformat", {"\"%4a%4G%3:%/1\""}, "\x04\x04" "3\x01"},
      {"urldecodedformat", {"\"%00\""}, std::string(1, '\0')},
      {"gettoken", {"\" a\"", "1"}, ""},
      {"trim", {"\"\x01 a\x1F\""}, "a"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE("function: " + row.Name + "(" + row.Entries[0] + ")");
    errors.clear();
    EXPECT_EQ(Call(row.Name, row.Entries), row.Expected);
    EXPECT_TRUE(errors.empty());
  }
}

// concat joins the entries as prepared and uses up the argument list.
TEST_F(StringFunctions, ConcatJoinsEveryEntry) {
  EXPECT_EQ(Call("concat", {"\"a\"", "'b'", "c"}), "abc");
  TTextStream empty;
  TClause caller(engine, empty, nullptr, owner.get());
  TClause arguments(engine, empty, nullptr, owner.get());
  for (const char* entry : {"\"x\"", ",", "\"y\""}) arguments.Elements.Add(entry);
  std::string result;
  FindFunction("concat")->Function(caller, arguments, result);
  EXPECT_EQ(result, "x,y");
  EXPECT_EQ(arguments.Elements.Count(), 0u);
}

// ---- comparing, joining, tokens, characters ----

TEST_F(StringFunctions, Comparing) {
  CheckRows({
      {"comparestr(\"a\", \"A\")", "false"},
      {"comparestr(\"a\", \"a\")", "true"},
      {"comparetext(\"a\", \"A\")", "true"},
      {"comparetext(\"\xE4\", \"\xC4\")", "false"},  // only A to Z and a to z fold
      {"comparetext(\"ab\", \"abc\")", "false"},
      {"comparestr(\"a\")", "ERROR"},       // not exactly two arguments: no report
      {"comparestr(\"a\", \"b\", \"c\")", "ERROR"},
      {"comparetext(\"a\")", "false"},
  });
}

TEST_F(StringFunctions, Concat) {
  CheckRows({
      {"concat(\"ab\", \"cd\")", "abcd"},
      {"concat(\"ab\", t, \"'x'\")", "ababc'x'"},  // single quotes inside double quotes stay
      {"concat(\"ab\")", "ab"},
  });
}

TEST_F(StringFunctionsComma, ConcatKeepsCommaSeparators) {
  CheckRows({
      {"concat(\"ab\", \"cd\")", "ab,cd"},
      {"find(\"b\", \"abcb\", \"2,5\")", "2"},
  });
}

TEST_F(StringFunctions, GetToken) {
  CheckRows({
      {"gettoken(\"a  b\", 1)", "a"},
      {"gettoken(\"a  b\", 2)", ""},
      {"gettoken(\"a  b\", 3)", "b"},
      {"gettoken(\"a  b\", 4)", ""},
      {"gettoken(\"a,b\", 2, \",\")", ""},  // commas never delimit
      {"gettoken(\"a,b\", 1, \",\")", "a,b"},
      {"gettoken(\"a;b\", 2, \";\")", "b"},
      {"gettoken(\"a;b-c\", 3, \";-\")", "c"},
      {"gettoken(\"a b\", 1.5)", ""},
      {"gettoken(\"a b\", 0)", ""},
      {"gettoken(\"a b\", \"-1\")", ""},
      {"gettoken(\"a b\", \"2e0\")", "b"},
      {"gettoken(\"a b\", \"x\")", "ERROR", Report("GetToken", {"\"a b\"", "\"x\""})},
      {"gettoken(\"a b\")", "ERROR", Report("GetToken", {"\"a b\""})},
      {"gettoken(crlf, 1) & \"]\"", "a\r]"},  // CR is no default delimiter
      {"gettoken(crlf, 2)", "b"},
  });
}

TEST_F(StringFunctions, Chr) {
  CheckRows({
      {"chr(65)", "A"},
      {"chr(321)", "A"},
      {"chr(\"-1\")", "\xFF"},
      {"chr(\"$41\")", "A"},
      {"chr(\"A\")", "ERROR", Report("chr", {"\"A\""})},
  });
}

// ---- product codes ----

TEST_F(StringFunctions, ProductCodes) {
  CheckRows({
      {"fullupc(\"03600029145\")", "036000291452"},
      {"fullupc(\"00000000000\")", "000000000000"},
      {"fullupc(\"12345678901\")", "123456789012"},
      {"fullupc(\"0360002914\")", ""},  // wrong length: no failure
      {"fullupc(\"0360002914X\")", "ERROR", Report("fullupc", {"\"0360002914X\""})},
      {"fullupc(\"0360002914 \")", "ERROR", Report("fullupc", {"\"0360002914 \""})},  // a blank in quotes stays
      {"fullupc(\"'0360002914'\")", ""},  // single quotes inside double quotes stay: 12 characters
      {"validupc(\"abcdefghijk\")", "true"},
      {"validupc(\"036000291452\")", "false"},
  });
}

TEST_F(StringFunctions, VerifyData) {
  CheckRows({
      {"verifydata(\"12-34\", \"99|-99\", 0)", "true"},
      {"verifydata(\"1a\", \"00\", 0)", "false"},
      {"verifydata(\"123\", \"99\", 0)", "false"},
      {"verifydata(\"12\", \"9999\", \"-1\")", "true"},
      {"verifydata(\"12\", \"9900\", \"-1\")", "false"},
      {"verifydata(\"12\", \"9900\", 0)", "true"},
      {"verifydata(\"12\", \"99??\", \"-1\")", "false"},
      {"verifydata(\"12\", \"99aa\", \"-1\")", "true"},
      {"verifydata(\"123\", \"99\", 2)", "true"},      // the limit cuts the data
      {"verifydata(\"+5\", sign, 0)", "true"},
      {"verifydata(\"-5\", sign, 0)", "true"},
      {"verifydata(\"5\", sign, 0)", "true"},  // the sign is optional
      {"verifydata(\"x5\", sign, 0)", "false"},
      {"verifydata(\"ab1\", \"CcA\", 0)", "true"},
      {"verifydata(\"1b\", \"Cc\", 0)", "false"},
      {"verifydata(\"x\", \"A\", 0)", "true"},
      {"verifydata(\"-\", \"A\", 0)", "false"},
      {"verifydata(\"a-b\", \"?@?\", 0)", "true"},
      {"verifydata(\"a.b\", \"c\\.c\", 0)", "true"},
      {"verifydata(\"ab\", \"c\\.c\", 0)", "true"},      // the optional "." moved the mask alone
      {"verifydata(\"a\", \"9\", 0)", "false"},
      {"verifydata(\"12\", \"9\\\", 0)", "false"},      // a backslash as last mask character
      {"verifydata(\"12\", \"9|\", 0)", "false"},
      {"verifydata(\"1\", \"9|\", 0)", "true"},       // the data ends before the "|" is examined
      {"verifydata(\"1x\", \"9|y\", 0)", "false"},
      {"verifydata(\"1\", \"X\", 0)", "false"},         // unknown mask character
      {"verifydata(\"\", \"9\", 0)", "false"},
      {"verifydata(\"1\", \"\", 0)", "false"},
      {"verifydata(\"1\", \"9\")", "ERROR", Report("verifydata", {"\"1\"", "\"9\""})},
      {"verifydata(\"1\", \"9\", \"x\")", "ERROR", Report("verifydata", {"\"1\"", "\"9\"", "\"x\""})},
  });
}

// Answers given when the data ends with blanks after the mask is used up.
TEST_F(StringFunctions, VerifyDataTrailingBlanks) {
  page->SetVariable("d1", "1  ");
  page->SetVariable("d2", "12 ");
  CheckRows({
      {"verifydata(d1, \"??\", 0)", "true"},   // the position stays on the consumed blank
      {"verifydata(d2, \"9?\", 0)", "false"},
      {"verifydata(d1, \"9\", 0)", "false"},   // ... here on the consumed "1"
  });
}

// ---- hostile arguments ----

TEST_F(StringFunctions, BadInputsNeitherCrashNorHang) {
  const std::string longText(200000, 'a');
  page->SetVariable("long", longText);
  std::string percents;
  for (int i = 0; i < 50000; ++i) percents += "%0";
  percents += std::string(50000, 'D');
  page->SetVariable("percents", percents);
  const std::vector<std::string> clauses = {
      "left(\"abc\", 2147483647)", "right(\"abc\", \"-2147483648\")", "mid(\"abc\", \"-2147483648\", 2147483647)",
      "mid(\"abc\", 2147483647, 2147483647)", "insert(\"x\", \"abc\", \"-2147483648\")",
      "insert(\"x\", \"abc\", 2147483647)", "delete(\"abc\", 2147483647, 2147483647)",
      "delete(\"abc\", 1, 2147483647)", "find(\"a\", \"abc\", 1e300)", "find(\"a\", \"abc\", \"-1e300\")",
      "findoneof(\"a\", \"abc\", 2147483647)", "gettoken(\"a b\", 1e300)", "gettoken(\"a b\", \"-1e300\")",
      "gettoken(long, 200001)", "gettoken(\"\", 1)", "chr(99999999999)", "verifydata(\"\", \"\", \"\")",
      "verifydata(long, long, \"-1\")", "verifydata(\"abc\", \"\\\\\\\", \"-1\")", "urldecodedformat(\"%\")",
      "urldecodedformat(\"%%%\")", "urldecodedformat(\"%00\")", "cleantext(percents)", "replace(long, \"a\", \"bb\")",
      "replacenocase(long, \"A\", \"\")", "urlencodedformat(long)", "fullupc(\"\")", "concat(,,,)",
      "comparestr(,)", "len(,,)", "mid(,,)", "left(\"a\",,)",
  };
  for (const std::string& clause : clauses) {
    SCOPED_TRACE("clause: " + clause);
    Eval(clause);
  }
  std::string nested = "\"a\"";
  for (int i = 0; i < 400; ++i) nested = "len(" + nested + ")";
  Eval(nested);
}

}  // namespace
}  // namespace vantrel
