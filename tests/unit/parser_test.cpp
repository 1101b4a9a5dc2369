// Parser tests over a compact dump of the tree: text{..}, comment{..}, var{..},
// fn{..}, and tag{children} for tags, with an if tag's elseif and else branches.
#include <gtest/gtest.h>

#include <random>

#include "engine/Scramble.h"
#include "engine/Strings.h"
#include "engine/TPBaseTag.h"
#include "engine/tags/AllTags.h"

namespace vantrel {
namespace {

std::string Dump(const TPBaseTag& t);

std::string DumpChildren(const std::vector<std::unique_ptr<TPBaseTag>>& children) {
  std::string s;
  for (const auto& c : children) s += Dump(*c);
  return s;
}

std::string Dump(const TPBaseTag& t) {
  switch (t.Kind) {
    case kText: return "text{" + ReplaceAll(t.AttributeText, "\r\n", "~") + "}";
    case kComment: return "comment{" + t.AttributeText + "}";
    case kVariable: return "var{" + t.AttributeText + "}";
    case kFunction: return "fn{" + t.AttributeText + "}";
    case kIf: {
      const auto& i = static_cast<const TPIfTag&>(t);
      std::string s = "if" + t.AttributeText + "{" + DumpChildren(t.Children) + "}";
      for (const auto& e : i.ElseIfTags) s += "elseif" + e->AttributeText + "{" + DumpChildren(e->Children) + "}";
      for (const auto& e : i.ElseTags) s += "else{" + DumpChildren(e->Children) + "}";
      return s;
    }
    default: break;
  }
  static const std::pair<int, const char*> names[] = {
      {kInclude, "include"}, {kFile, "file"},   {kFile2, "_file"}, {kSet, "set"},     {kCookie, "cookie"},
      {kLocation, "location"}, {kQuery, "query"}, {kOutput, "output"}, {kLoop, "loop"}, {kParam, "param"},
      {kDebug, "debug"},     {kMail, "mail"}};
  for (const auto& [k, n] : names)
    if (t.Kind == k) return std::string(n) + "[" + t.AttributeText + "]{" + DumpChildren(t.Children) + "}";
  return "?";
}

class ParserTest : public ::testing::Test {
 protected:
  TEngine engine{"\\app\\", platform::RegionalSettings{}};
  TStringList app;
  TCookieList cookies;
  TQueryList queries;

  std::string Parse(const std::string& text) {
    auto page = TPBaseTag::CreatePage(engine, "\\nowhere\\p.qsp", nullptr, &app, &cookies, &queries);
    auto fragment = TPBaseTag::CreateFragment(text, page.get(), false, false);
    return DumpChildren(fragment->Children);
  }
};

// Template bytes become lines ended by CR LF whatever ended them (CR LF, LF or CR);
// a NUL ends the text.
TEST(TemplateLines, EveryLineEndsWithCrLf) {
  const struct {
    std::string bytes, lines;
  } rows[] = {
      {"", ""},
      {"a", "a\r\n"},
      {"a\n", "a\r\n"},
      {"a\r\nb", "a\r\nb\r\n"},
      {"a\rb\r", "a\r\nb\r\n"},
      {"a\n\rb", "a\r\n\r\nb\r\n"},
      {"a\r\r\nb\n\nc", "a\r\n\r\nb\r\n\r\nc\r\n"},
      {std::string("a\nb\0c\n", 6), "a\r\nb\r\n"},
  };
  for (const auto& row : rows) EXPECT_EQ(JoinTemplateLines(row.bytes), row.lines) << row.bytes;
}

TEST_F(ParserTest, Trees) {
  const struct {
    const char* in;
    const char* tree;
  } rows[] = {
      {"<cfoutput>#a##b#</cfoutput>", "output[]{var{a}var{b}}"},
      {"<cfoutput>x##y</cfoutput>", "output[]{text{x#y}}"},
      {"<cfoutput>##y</cfoutput>", "output[]{text{y}}"},
      {"<cfoutput>#f(x,(2))#z</cfoutput>", "output[]{fn{f(x,(2))}text{z}}"},
      {"<cfoutput>#(x)#</cfoutput>", "output[]{var{(x)}}"},
      {"<cfoutput>#unterminated</cfoutput>", "output[]{}"},
      {"<cfoutput>a<cfoutput>b</cfoutput>c</cfoutput>d", "output[]{text{a}output[]{text{b}}text{c}}text{d}"},
      {"<cfoutput query=\"q\">x</cfoutputs>y", "output[query=\"q\"]{text{x}}text{>y}"},
      {"<cfoutput>x</cfoutput >y", "output[]{text{x}}text{>y}"},
      {"<cfif x GT 1>a</cfif>", "if(x GT 1){text{a}}"},
      {"<cfif (x)>a</CFIF>", "if(x){text{a}}"},
      {"<cfif a>1<cfelseif b>2<cfelseif c>3<cfelse>4</cfif>", "if(a){text{1}}elseif(b){text{2}}elseif(c){text{3}}else{text{4}}"},
      {"<cfif a>1<cfelse>2<cfelse>3</cfif>z", "if(a){text{1}}else{text{2}}text{z}"},
      {"<cfif a><cfif b>1</cfif>2</cfif>", "if(a){if(b){text{1}}text{2}}"},
      {"<cfif a>#x#<cfelseif b>#x#<cfelse>#x#</cfif>", "if(a){text{#x#}}elseif(b){var{x}}else{text{#x#}}"},
      {"<cfelse>dropped</cfif>kept", "text{kept}"},
      {"a<cfelseif x>b</cfif>rest", "text{a}"},
      {"<!-- x --><!--- y ---><!-- a<!-- b -->", "comment{<!-- x -->}comment{<!--- y --->}comment{<!-- a}comment{<!-- b -->}"},
      {"<cfcomment> z -->", "comment{<!-- z -->}"},
      {"<!-- open", "comment{<!-- open}"},
      {"a < b <!x <c", "text{a < b <!x <c}"},
      {"<cftransaction>in</cftransaction>", "text{in}"},
      {"<cfset a = \"x>y\">after", "set[a = \"x>y\"]{}text{after}"},
      {"<cfsetq a = 1>", "set[a = 1]{}"},
      {"<cfoutput\r\n>x</cfoutput>", "text{x}"},
      {"<cfinclude template=\"a.cfm\"><cfparam name=\"a\"><cfcookie><cflocation url=\"x\">",
       "include[template=\"a.cfm\"]{}param[name=\"a\"]{}cookie[]{}location[url=\"x\"]{}"},
      {"<cfquery name=\"q\">select #x#</cfquery><cfloop index=\"i\">#i#</cfloop><cfdebug>d</cfdebug>",
       "query[name=\"q\"]{text{select }var{x}}loop[index=\"i\"]{var{i}}debug[]{text{d}}"},
      {"<cf_file file=\"x\">#a#</cf_file><cf_mail to=\"x\">m</cf_mail><cffile action=\"read\">",
       "_file[file=\"x\"]{text{#a#}}mail[to=\"x\"]{text{m}}file[action=\"read\"]{}"},
      {"<cfif a>unterminated", "if(a){text{unterminated}}"},
      {"<cfset x", "set[]{}"},
      {"<cf", ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.in);
    EXPECT_EQ(Parse(row.in), row.tree);
  }
}

// Hostile input must neither crash nor hang the parser.
TEST_F(ParserTest, HostileInputTerminates) {
  std::vector<std::string> inputs = {
      std::string(100000, '<'), std::string(100000, '#'), std::string(50000, '"'),
      "<cfoutput>" + std::string(10000, '#') + "(",
  };
  std::string deep;
  for (int i = 0; i < 20000; ++i) deep += "<cfif x><cfoutput>";
  inputs.push_back(deep);
  std::string deepFn = "<cfoutput>#f" + std::string(20000, '(') + "#";
  inputs.push_back(deepFn);
  std::mt19937 rng(2009);
  const std::string alphabet = "<>#()\"'cfCFoutpifelsq/!- =\r\n";
  for (int n = 0; n < 200; ++n) {
    std::string s;
    for (int i = 0; i < 400; ++i) s += alphabet[rng() % alphabet.size()];
    inputs.push_back(s);
  }
  for (const auto& in : inputs) {
    auto page = TPBaseTag::CreatePage(engine, "\\nowhere\\p.qsp", nullptr, &app, &cookies, &queries);
    auto f = TPBaseTag::CreateFragment(in, page.get(), true, false);
    (void)f->Render();
  }
  SUCCEED();
}

}  // namespace
}  // namespace vantrel
