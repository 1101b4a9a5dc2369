// Tests of the clause language: tokenizing, operators and evaluation, argument
// preparation, the list services and the function table.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "engine/Engine.h"
#include "engine/QueryList.h"
#include "engine/TPBaseTag.h"
#include "engine/TStringList.h"
#include "engine/clause/ClauseSupport.h"
#include "engine/clause/TClause.h"
#include "engine/functions/FunctionTable.h"
#include "PageFixture.h"

namespace vantrel {
namespace {

// The element list of a clause as text: every element in brackets, an attached
// clause in parentheses right after its element.
std::string Describe(const TClause& clause) {
  std::string s;
  for (size_t i = 0; i < clause.Elements.Count(); ++i) {
    const auto& item = clause.Elements[i];
    s += "[" + item.Text + "]";
    if (item.Clause) s += "(" + Describe(*item.Clause) + ")";
  }
  return s;
}

std::string Tokenize(TEngine& engine, const std::string& text) {
  TTextStream stream(text);
  TClause clause(engine, stream, nullptr, nullptr);
  return Describe(clause);
}

// A page with the variables x=5 and name=abc from its query string, and a
// fragment in it that resolves names through the page's variables. Clauses are
// evaluated as written.
class ClauseFixture : public PageFixture {
 protected:
  ClauseFixture() : PageFixture("\\nonexistent\\x.qsp?x=5&name=abc", {.WrapInParentheses = false}) {}

  void Set(const std::string& name, const std::string& value) { page->SetVariable(name, value); }
};

// ---- tokenizer ----

TEST(ClauseTokenizer, ElementLists) {
  TEngine engine("\\tmp\\", platform::RegionalSettings{});
  const struct {
    std::string Text;
    std::string Elements;
  } rows[] = {
      {"", ""},
      {"   ", ""},
      // A bare token that ends the text is a literal; literals keep quotes and blanks.
      {"x eq \"a b\"", "[x][eq][\"\"a b\"\"]"},
      {"len(x) gt 3", "[len]([x])[gt][\"3\"]"},
      {"f()", "[f]([])"},
      {"f(a, b )", "[f]([a][,][b][])"},
      {"(a) + (b)", "[]([a])[+][]([b])"},
      {"(a)+(b)", "[]([a])[+]([b])"},
      {"1 + a", "[1][+][\"a\"]"},
      {"(1 + a)", "[]([1][+][a])"},
      {"(f(a) b) c", "[]([f]([a])[b])[\"c\"]"},
      // The text after an unmatched ")" is ignored.
      {"a) or b", "[a]"},
      {"#x# eq 1", "[x][eq][\"1\"]"},
      // "##" in a literal is one "#".
      {"\"100##\"", "[\"\"100#\"\"]"},
      // An embedded #x# that closes the text gets no "&" after it.
      {"\"#x#\"", "[\"][&][x][\"\"\"]"},
      {"\"Total: #n# items\"", "[\"Total: ][&][n][&][\" items\"\"]"},
      {"\")\" eq \"(\"", "[\")\"][eq][\"\"(\"\"]"},
      // A comma meeting an empty token starts a token.
      {"(a ,b)", "[]([a][,b])"},
      {"(a, b)", "[]([a][,][b])"},
      // Only blank and comma separate; single quotes, tabs and "-" are token characters.
      {"(a-b 'c d' e\tf)", "[]([a-b]['c][d'][e\tf])"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE("clause: " + row.Text);
    EXPECT_EQ(Tokenize(engine, row.Text), row.Elements);
  }
}

TEST(ClauseTokenizer, NestedClauseSharesStreamAndOwner) {
  TEngine engine("\\tmp\\", platform::RegionalSettings{});
  TStringList app;
  TCookieList cookies;
  TQueryList queries;
  auto page = TPBaseTag::CreatePage(engine, "\\nonexistent\\x.qsp", nullptr, &app, &cookies, &queries);
  TTextStream stream("(f(a) b) tail");
  TClause clause(engine, stream, nullptr, page.get());
  ASSERT_EQ(clause.Elements.Count(), 2u);
  TClause* group = clause.Elements[0].Clause.get();
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->ParentClause, &clause);
  EXPECT_EQ(group->OwnerTag, page.get());
  TClause* args = group->Elements[0].Clause.get();
  ASSERT_NE(args, nullptr);
  EXPECT_EQ(args->ParentClause, group);
  EXPECT_EQ(args->OwnerTag, page.get());
  EXPECT_EQ(clause.Elements[1].Text, "\"tail\"");
  EXPECT_TRUE(stream.AtEnd());
}

TEST(ClauseTokenizer, ElementListOperations) {
  TMyStringList list;
  for (const char* text : {"a", "B", "c", "d"}) list.Add(text);
  EXPECT_EQ(list.IndexOf("b"), 1);
  EXPECT_EQ(list.IndexOf("x"), -1);
  EXPECT_EQ(list.NextItem(3), "");
  EXPECT_EQ(list.PrevItem(0), "");
  EXPECT_EQ(list.NextItem(0), "B");
  EXPECT_EQ(list.PrevItem(3), "c");
  list.DeleteNeighbours(1);  // removes c, then a
  EXPECT_EQ(list.Text(), "B\r\nd\r\n");
  list.DeleteNeighbours(0);  // only a right neighbour
  EXPECT_EQ(list.Text(), "B\r\n");
  list.DeleteNeighbours(0);
  EXPECT_EQ(list.Text(), "B\r\n");
}

// ---- evaluation ----

TEST_F(ClauseFixture, Arithmetic) {
  CheckRows({
      {"(1 + 2)", "3"},
      {"1 + 2", "3"},
      {"(5 / 2)", "2.50000"},
      {"(1 / 3)", "0.33333"},
      {"(0.1 + 0.2)", "0.30000"},
      {"(2.999999 * 1)", "3"},
      {"(7 \\ 2)", "4"},
      {"(5 \\ 2)", "2"},
      {"(-7 \\ 2)", "-4"},
      {"(7 mod 3)", "1"},
      {"(-7 mod 3)", "-1"},
      {"(6.5 mod 4)", "2"},
      {"(7.5 mod 4)", "0"},
      {"(2 ^ 10)", "1024"},
      // Every operator result is stored as its written text, five decimals at most.
      {"(2 ^ 0.5 * 2 ^ 0.5)", "1.99999"},
      // Equal words group to the left; different words follow the fixed order.
      {"(2 ^ 3 ^ 2)", "64"},
      {"(10 - 2 + 3)", "5"},
      {"(10 - 2 - 3)", "5"},
      {"(8 / 2 * 4)", "1"},
      {"(2 + 3 * 4)", "14"},
      // Halves round away from zero; a negative zero is written 0.
      {"(0.000005 * 1)", "0.00001"},
      {"(-0.000005 * 1)", "-0.00001"},
      {"(-0.000001 * 1)", "0"},
      // Whole results beyond 32 bits are written in full, beyond 64 bits in general form.
      {"(3000000000 * 2)", "6000000000"},
      {"(1e18 * 10)", "1E+19"},
      // Missing, empty and non-numeric operands give 0.
      {"(nosuch + 1)", "0"},
      {"(\"abc\" + 1)", "0"},
      {"(\"$12.50\" + 1)", "13.50000"},
      {"(\"5 apples\" + 1)", "0"},
      {"(e + 1)", "0"},
      {"(1-2 + 1)", "0"},
      {"(- 5)", "0"},
      {"(-5)", "-5"},
      {"(0 - 5)", "-5"},
      {"(5 / 0)", "0"},
      {"(0 / 0)", "0"},
      {"(7 \\ 0)", "0"},
      {"(7 mod 0)", "0"},
      {"(7 mod 0.4)", "0"},
      {"(x * 2)", "10"},
      // Failures of an operator end the operator pass: the result is empty, silently.
      {"(1e308 * 10)", ""},
      {"(-8 ^ 0.5)", ""},
      {"(0 ^ -1)", ""},
      {"(1e10 \\ 1)", ""},
      {"(1 + 1e999)", "0"},
  });
}

TEST_F(ClauseFixture, ComparisonsAndText) {
  CheckRows({
      {"(\"Abc\" eq \"abc\")", "false"},
      {"(\"Abc\" is \"abc\")", "true"},
      {"(\"Abc\" neq \"abc\")", "false"},
      {"(\"Abc\" isnot \"abd\")", "true"},
      {"(10 gt 9)", "true"},
      {"(9 gte 10)", "false"},
      {"(10 lte 10)", "true"},
      {"(\"b\" gt \"a\")", "true"},
      {"(\"B\" gt \"a\")", "true"},
      {"(\"ab\" lt \"abc\")", "true"},
      {"(10 lt \"9a\")", "true"},
      // Numeric-looking but unreadable operands compare as false both ways.
      {"(e gt 1)", "false"},
      {"(e lte 1)", "false"},
      {"(\"Hello World\" contains \"world\")", "true"},
      {"(\"abc\" contains \"\")", "false"},
      // Quotes go after the trim, so a blank inside a literal stays.
      {"(\"a \" & \"b\")", "a b"},
      {"( \"a\"  &  \"b\" )", "ab"},
      {"(name & x)", "abc5"},
      {"(1 + 2 eq 3)", "true"},
      // A concatenation producing an operator word later in the order acts as that word.
      {"(1 \"e\" & \"q\" 1)", "true"},
      // Two values with no operator: joined by CR LF, only the outer quotes go.
      {"(\"x\" \"y\")", "x\"\r\n\"y"},
  });
}

TEST_F(ClauseFixture, Logic) {
  Set("t", "TRUE");
  Set("y", "yes");
  CheckRows({
      {"(not t)", "false"},
      {"(not y)", "true"},
      {"(not x eq 5)", "false"},
      {"(not x eq 1)", "true"},
      {"((x eq 5) and (name eq \"abc\"))", "true"},
      {"((x eq 5) and (name eq \"ABC\"))", "false"},
      {"(true or false and false)", "true"},
      {"(true xor false)", "true"},
      {"(true xor true)", "false"},
      {"(yes and true)", "false"},
      {"(\"1\" or \"\")", "false"},
  });
}

TEST_F(ClauseFixture, NamesAndLiterals) {
  Set("date", "D");
  Set("chr", "C");
  Set("half", "2.50");
  CheckRows({
      {"", ""},
      {"(x)", "5"},
      {"(name)", "abc"},
      {"(NAME)", "abc"},
      {"(nosuch)", ""},
      {"#x# eq 5", "true"},
      // A name ending a top-level clause is a literal.
      {"5 eq x", "false"},
      // Reserved words and reserved function names stand for themselves.
      {"(yes)", "yes"},
      {"(true)", "true"},
      {"(date)", "date"},
      {"(chr)", "C"},
      // A minus before a name negates its value in the general format.
      {"(-x)", "-5"},
      {"(-half)", "-2.5"},
      {"(-name)", "name"},
      {"(-nosuch)", "nosuch"},
      // A blank before "(" makes a bare word and a group, not a call.
      {"(len (x))", "len\r\n\"\"5"},
      // A text wrapped in double quotes is one literal: nothing inside is evaluated.
      {"\"(2 + 3)\"", "(2 + 3)"},
      {"(\"a%0Db\")", "ab"},
  });
}

TEST_F(ClauseFixture, WithoutOwnerNamesStandForThemselves) {
  const struct {
    std::string Text;
    std::string Expected;
  } rows[] = {{"(x)", "x"}, {"(-x)", "x"}, {"(x eq \"x\")", "true"}, {"(-5)", "-5"}, {"(1 + 2)", "3"}};
  for (const auto& row : rows) {
    SCOPED_TRACE("clause: " + row.Text);
    EXPECT_EQ(EvaluateClause(engine, row.Text, nullptr), row.Expected);
  }
}

// A tag whose lookups fail: a name then stands for itself.
class TFailingTag : public TPBaseTag {
 public:
  explicit TFailingTag(TEngine* engine) : TPBaseTag(engine) {}
  std::string GetValue(std::string_view, bool) override { throw std::runtime_error("lookup failed"); }
  bool IsDefined(std::string_view) override { return true; }
};

TEST_F(ClauseFixture, FailedLookupGivesTheName) {
  TFailingTag failing(&engine);
  EXPECT_EQ(EvaluateClause(engine, "(x)", &failing), "x");
  EXPECT_EQ(EvaluateClause(engine, "(-x)", &failing), "x");
  EXPECT_EQ(EvaluateClause(engine, "(x & 1)", &failing), "x1");
  EXPECT_TRUE(errors.empty());
}

TEST(ClauseCleanResult, RemovesEncodedLineBreaksInOrder) {
  const struct {
    std::string Text;
    std::string Expected;
  } rows[] = {
      {"a%0Db", "ab"},
      {"x#$D#$Ay", "xy"},
      {"%0A%0D", ""},
      // A deletion that forms a new occurrence of the same text removes that too.
      {"a%0%0DDb", "ab"},
      // "%0D" goes before "%0A", so an occurrence formed later stays.
      {"%0%0AD", "%0D"},
      {"  a\r\nb \r\n", "a\r\nb"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE("text: " + row.Text);
    EXPECT_EQ(TClause::CleanResult(row.Text), row.Expected);
  }
}

TEST(ClauseNumbers, ReadingAndWriting) {
  const struct {
    std::string Text;
    std::optional<double> Value;
  } reads[] = {
      {"5", 5},      {" -2.5 ", -2.5}, {"+1e3", 1000}, {"1E-2", 0.01}, {".5", 0.5}, {"5.", 5},
      {"e", {}},     {"1-2", {}},      {"--", {}},    {"1e", {}},     {"", {}},    {"1,5", {}},
      {"1e999", {}}, {"1e-999", 0},
  };
  for (const auto& row : reads) {
    SCOPED_TRACE("text: " + row.Text);
    EXPECT_EQ(ReadNumber(row.Text, '.'), row.Value);
  }
  EXPECT_EQ(ReadNumber("1,5", ','), 1.5);
  EXPECT_EQ(ReadNumber("1.5", ','), std::nullopt);

  const struct {
    double Value;
    std::string Text;
  } writes[] = {
      {2.5, "2.5"},        {-3, "-3"},          {0.1 + 0.2, "0.3"}, {1e20, "1E+20"}, {1.5e-7, "1.5E-7"},
      {0.00001, "0.00001"}, {123456789012345678.0, "1.23456789012346E+17"}, {-0.0, "0"},
      {999999999999999.0, "999999999999999"},
  };
  for (const auto& row : writes) {
    SCOPED_TRACE("value: " + row.Text);
    EXPECT_EQ(FormatGeneral(row.Value, '.'), row.Text);
  }
  EXPECT_EQ(FormatGeneral(-0.25, ','), "-0,25");
  EXPECT_EQ(FilterNumber(" $12.50 ", '.'), "12.50");
  EXPECT_EQ(FilterNumber("5 apples", '.'), "5e");
}

TEST_F(ClauseFixture, IsNumberIsACharacterTest) {
  TTextStream stream("");
  TClause clause(engine, stream, nullptr, owner.get());
  for (const char* text : {"5", " -2.5 ", "e", "--", "1-2", "+E"}) EXPECT_TRUE(clause.IsNumber(text)) << text;
  for (const char* text : {"", "1,5", "5a", "$5"}) EXPECT_FALSE(clause.IsNumber(text)) << text;
  engine.Regional.DecimalSeparator = ',';
  EXPECT_TRUE(clause.IsNumber("1,5"));
  EXPECT_FALSE(clause.IsNumber("1.5"));
}

TEST_F(ClauseFixture, CommaDecimalSeparator) {
  engine.Regional.DecimalSeparator = ',';
  Set("half", "2,5");
  CheckRows({
      {"(5 / 2)", "2,50000"},
      {"(\"1,5\" + 1)", "2,50000"},
      // The period is not a number character now: $12.50 filters to 1250.
      {"(\"$12.50\" + 1)", "1251"},
      {"(1.5 + 1)", "0"},
      {"(-half)", "-2,5"},
      {"(\"1,5\" gt \"1,25\")", "true"},
  });
}

// ---- function calls ----

// Prepares the argument clause of the first element of text (a call) and
// describes it.
std::string PreparedArguments(TEngine& engine, TPBaseTag* owner, const std::string& text) {
  TTextStream stream(text);
  TClause clause(engine, stream, nullptr, owner);
  if (clause.Elements.Count() == 0 || !clause.Elements[0].Clause) return "no call";
  clause.Elements[0].Clause->PrepareArguments();
  // Evaluated calls and groups keep their attached clauses, shown in parentheses.
  return Describe(*clause.Elements[0].Clause);
}

TEST_F(ClauseFixture, PrepareArguments) {
  Set("b", "2");
  const struct {
    std::string Text;
    std::string Arguments;
  } rows[] = {
      // Arguments at even positions, separators turned into empty values at odd ones.
      {"left(name, 2)", "[\"abc\"][\"\"][2]"},
      {"f(x, b + 1)", "[\"5\"][\"\"][3]"},
      {"f(x, b )", "[\"5\"][\"\"][\"2\"][]"},
      // An argument beginning with an operator word takes the separator as its left operand.
      {"f(x, - 1)", "[\"5\"][0]"},
      {"f(x, not b)", "[\"5\"][\"\"][true]"},
      // A nested call runs first; inside an argument clause its result is quoted twice.
      // After a ")" the comma starts a token, which resolves like the separator would.
      {"f(g(x), (b))", "[\"\"\"\"]([\"5\"])[\"\"][\"\"2\"\"]([\"2\"])[]"},
      {"f(\"lit\", yes)", "[\"lit\"][\"\"][yes]"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE("clause: " + row.Text);
    EXPECT_EQ(PreparedArguments(engine, owner.get(), row.Text), row.Arguments);
  }
  engine.Regional.DecimalSeparator = ',';
  EXPECT_EQ(PreparedArguments(engine, owner.get(), "left(name, 2)"), "[\"abc\"][\",\"][2]");
}

TEST_F(ClauseFixture, SplitList) {
  TTextStream stream("");
  TClause clause(engine, stream, nullptr, owner.get());
  using List = std::optional<std::vector<std::string>>;
  const struct {
    std::string Value;
    std::string Delimiter;
    List Expected;
  } rows[] = {
      {"a,b,c", ",", List({"a", "b", "c"})},
      {"a,,b", ",", List({"a", "", "b"})},
      {"a,b,", ",", std::nullopt},
      {",", ",", std::nullopt},
      // Only the first character of a longer delimiter is removed with each piece.
      {"a, b", ", ", List({"a", " b"})},
      {"a;b", "", List({"a;b"})},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE("value: " + row.Value + " delimiter: " + row.Delimiter);
    Set("mylist", row.Value);
    EXPECT_EQ(clause.SplitList("mylist", row.Delimiter), row.Expected);
  }
  EXPECT_EQ(clause.SplitList("nosuch", ","), std::nullopt);
  EXPECT_EQ(clause.SplitList("", ","), std::nullopt);
}

TEST(ClauseJoinList, Delimiters) {
  const std::optional<std::vector<std::string>> ab = std::vector<std::string>{"a", "b"};
  EXPECT_EQ(TClause::JoinList(ab, ""), "a,b");
  EXPECT_EQ(TClause::JoinList(ab, "; "), "a; b");
  EXPECT_EQ(TClause::JoinList(std::nullopt, ","), "");
}

TEST(ClauseFunctionTable, NamesAndReservedFlags) {
  EXPECT_EQ(FunctionTable.size(), 85u);
  EXPECT_EQ(FunctionTable.front().Name, "arraymax");
  EXPECT_EQ(FunctionTable.back().Name, "verifydata");
  for (const TFunctionRow& row : FunctionTable) {
    SCOPED_TRACE(std::string(row.Name));
    EXPECT_EQ(FindFunction(row.Name), &row);
    EXPECT_EQ(IsReservedFunctionName(row.Name), row.Reserved);
  }
  for (const char* name : {"arraymax", "chr", "delocalize", "localize"}) {
    ASSERT_NE(FindFunction(name), nullptr) << name;
    EXPECT_FALSE(FindFunction(name)->Reserved) << name;
  }
  EXPECT_EQ(ReservedFunctionNames.size(), 81u);
  EXPECT_EQ(ReservedFunctionNames.front(), "asint");
  EXPECT_EQ(FindFunction("nosuch"), nullptr);
  EXPECT_EQ(FindFunction("LEN"), nullptr);  // callers look up lowered names
  EXPECT_TRUE(IsReservedFunctionName("LEN"));
  EXPECT_TRUE(IsReservedWord("CONTAINS"));
  EXPECT_FALSE(IsReservedWord("maybe"));
}

// ---- robustness ----

TEST_F(ClauseFixture, NestingDepthIsBounded) {
  auto nested = [](int depth, const std::string& core) {
    return std::string(static_cast<size_t>(depth), '(') + core + std::string(static_cast<size_t>(depth), ')');
  };
  EXPECT_EQ(Eval(nested(100, "1 + 2")), "3");
  EXPECT_EQ(Eval(nested(100000, "1 + 2")), "");
  // Text after an over-deep part is still read by the clauses around it.
  EXPECT_EQ(Eval("(" + nested(1000, "1") + " & \"z\")"), "z");
  EXPECT_EQ(engine.Depth, 0);
}

TEST_F(ClauseFixture, LongClausesStayFast) {
  std::string sum = "(1";
  for (int i = 0; i < 20000; ++i) sum += " + 1";
  sum += ")";
  EXPECT_EQ(Eval(sum), "20001");
  std::string concat = "(\"\"";
  for (int i = 0; i < 5000; ++i) concat += " & \"a\"";
  concat += ")";
  EXPECT_EQ(Eval(concat), std::string(5000, 'a'));
  // Every deletion forms the next occurrence: %0%0...%0DD...D vanishes entirely.
  std::string nested;
  for (int i = 0; i < 20000; ++i) nested += "%0";
  nested += std::string(20000, 'D');
  EXPECT_EQ(TClause::CleanResult(nested), "");
}

TEST_F(ClauseFixture, BadInputsNeitherCrashNorHang) {
  const std::vector<std::string> inputs = {
      "(", ")", "((((", "))))", ")(", "\"", "\"\"\"", "#", "##", "###", "\"#", "\"#x", "#\"", "\"#)", "\"#(\"",
      "\"#(#\"", "\"a#b#c#d\"", "f(", "f(((", "f(a,", "(,,,)", ",", "(,)", "(- - - -)", "(not)", "(not not not)",
      "(& & &)", "(\"&\" & \"\")", "(\"&\" &)", "(+)", "(x +)", "(\\)", "(mod)", "(^ ^)", "(1e999999999 + 1)",
      "(1e400 * 1)", "(-)", "(--x)", "(-#x#)", "(#)", "(#x)", "(len(len(len(x))))", "(f(g(h(", "(\"a\" \"b\" \"c\")",
      "(\xff\xfe\x80 eq \x01)", std::string("(a\0b)", 5), "(%0D%0A)", "(x eq eq eq)", "(contains contains)",
      "(\"1,5\" + \"1.5\")", "(9223372036854775807 mod -1)", "(-9e18 mod -1)", "(1e300 mod 7)", "(1e300 \\ 1e-300)",
      "(-1e308 - 1e308)", "(0 ^ 0)", "(-1 ^ 1e308)", "(1e308 ^ 2)",
  };
  for (const std::string& text : inputs) {
    SCOPED_TRACE("clause: " + text);
    (void)Eval(text);
    (void)EvaluateClause(engine, text, nullptr);
    (void)PreparedArguments(engine, owner.get(), "f(" + text);
    EXPECT_EQ(engine.Depth, 0);
  }
  std::string manyCalls;
  for (int i = 0; i < 5000; ++i) manyCalls += "f(";
  (void)Eval(manyCalls);
  std::string manyQuotes(10000, '"');
  (void)Eval(manyQuotes + "#" + manyQuotes);
  EXPECT_EQ(engine.Depth, 0);
}

}  // namespace
}  // namespace vantrel
