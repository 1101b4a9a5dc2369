// Scopes, name resolution and quote stripping, where a page cannot show the result:
// IsDefined, DeleteVariable, the list rules and the error reports.
#include <gtest/gtest.h>

#include "engine/TPBaseTag.h"

namespace vantrel {
namespace {

class ScopesTest : public ::testing::Test {
 protected:
  TEngine engine{"\\app\\", platform::RegionalSettings{}};
  TStringList app;
  TCookieList cookies;
  TQueryList queries;
  std::vector<std::string> errors;

  std::unique_ptr<TPBaseTag> Page(const char* path = "\\nowhere\\p.qsp") {
    engine.OnError = [this](const std::string& m) { errors.push_back(m); };
    return TPBaseTag::CreatePage(engine, path, nullptr, &app, &cookies, &queries);
  }
};

TEST(StripQuotes, Table) {
  const std::pair<const char*, const char*> rows[] = {
      {"", ""},           {"  abc \r\n", "abc"}, {"'abc'", "abc"},   {"\"abc\"", "abc"},
      {"\"'a'\"", "'a'"}, {"'\"a\"'", "a"},      {"'''", ""},        {"''x", "x"},
      {"\"a\" b\"", "a\" b"}, {" ' x ' ", " x "},
  };
  for (const auto& [in, out] : rows) {
    SCOPED_TRACE(in);
    EXPECT_EQ(StripQuotes(in), out);
  }
}

TEST(ListRules, EmptyValueRemovesExistingLineButKeepsNewOne) {
  TStringList l;
  l.SetValue("Y", "");
  EXPECT_TRUE(l.HasName("y"));
  EXPECT_EQ(l.Text(), "Y=\r\n");
  l.SetValue("y", "1");
  EXPECT_EQ(l.Value("Y"), "1");
  l.SetValue("y", "");
  EXPECT_FALSE(l.HasName("y"));
  l.AddLine("a=1");
  l.AddLine("A=2");
  EXPECT_EQ(l.Value("a"), "1");  // the first line with a name wins
}

TEST_F(ScopesTest, ResolveAndDefine) {
  auto page = Page("\\nowhere\\p.qsp?x=5&id=7");
  page->SetVariable("X", "1");
  EXPECT_EQ(page->GetValue("x", false), "1");
  EXPECT_EQ(page->GetValue("'x'", false), "1");
  EXPECT_EQ(page->GetValue("#x#", true), "\"1\"");
  EXPECT_EQ(page->GetValue("nosuch", true), "\"\"");
  EXPECT_TRUE(page->IsDefined("x"));
  EXPECT_FALSE(page->IsDefined("(1+2)"));  // never evaluated as a clause

  page->SetVariable("session.LangID", "2");
  EXPECT_EQ(page->GetValue("application.langid", false), "2");
  EXPECT_TRUE(page->IsDefined("session.langid"));
  page->SetVariable("cookie.c", "v");
  EXPECT_FALSE(page->IsDefined("cookie.c"));

  // A column of the current row hides a page variable unless the column is empty.
  engine.CurrentRow = std::make_unique<TStringList>();
  engine.CurrentRow->Add("id", "row");
  engine.CurrentRow->Add("x", "");
  EXPECT_EQ(page->GetValue("id", false), "row");
  EXPECT_EQ(page->GetValue("x", false), "1");
  engine.CurrentRow.reset();
  EXPECT_EQ(page->GetValue("id", false), "7");
}

TEST_F(ScopesTest, DeleteVariable) {
  auto page = Page();
  page->SetVariable("x", "1");
  page->SetVariable("session.s", "1");
  cookies.Add("c", "1");
  EXPECT_FALSE(page->DeleteVariable("x"));  // a plain name deletes nothing
  EXPECT_TRUE(page->DeleteVariable("local.x"));
  EXPECT_FALSE(page->IsDefined("x"));
  EXPECT_TRUE(page->DeleteVariable("application.s"));
  EXPECT_TRUE(page->DeleteVariable("cookie.c"));
  EXPECT_FALSE(page->DeleteVariable("cookie.c"));
  EXPECT_FALSE(page->DeleteVariable(""));
}

TEST_F(ScopesTest, IsParamDefinedTreatsBlankAsMissing) {
  auto page = Page();
  page->SetVariable("blank", "  ");
  page->SetVariable("full", "v");
  EXPECT_EQ(page->IsParamDefined("blank"), "false");
  EXPECT_EQ(page->IsParamDefined("'full'"), "true");
  EXPECT_EQ(page->IsParamDefined("missing"), "false");
}

TEST_F(ScopesTest, MissingScopeIsReportedNotFatal) {
  auto page = Page();
  page->AppVariables = nullptr;
  EXPECT_EQ(page->GetValue("session.x", true), "\"\"");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "Get Variable Error: Variable = session.x");
  EXPECT_FALSE(page->IsDefined("session.x"));
  page->SetVariable("session.x", "1");  // ignored
  page->Cookies = nullptr;
  EXPECT_FALSE(page->DeleteVariable("cookie.x"));
  EXPECT_EQ(errors.back(), "Delete Variable Error: Variable = cookie.x");
}

TEST_F(ScopesTest, QueryStringEntriesAndReferrer) {
  auto page = Page("\\nowhere\\Sub\\Page.qsp?a=1");
  EXPECT_EQ(page->Folder.Text(), "\\nowhere\\Sub\\");
  EXPECT_EQ(page->FileName.Text(), "Page.qsp");
  EXPECT_EQ(app.Value("referrer"), "\\nowhere\\Sub\\Page.qsp");
  EXPECT_EQ(app.Value("cgiformdata"), "a=1");
  auto second = Page("\\nowhere\\Other.qsp");
  EXPECT_FALSE(app.HasName("cgiformdata"));  // the empty query string removes the entry
}

}  // namespace
}  // namespace vantrel
