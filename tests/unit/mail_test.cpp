// The mail tag's outcome without a mail program, through a real page.
#include <gtest/gtest.h>

#include "engine/TPBaseTag.h"
#include "engine/tags/TPMailTag.h"

namespace vantrel {
namespace {

TEST(MailTag, WithoutMailProgramResultIsFalse) {
  TEngine engine{"\\app\\", platform::RegionalSettings{}};
  TStringList app;
  TCookieList cookies;
  TQueryList queries;
  auto page = TPBaseTag::CreatePage(engine, "\\nowhere\\p.qsp", nullptr, &app, &cookies, &queries);
  auto f = TPBaseTag::CreateFragment("<cf_mail to=\"a\">x</cf_mail>", page.get(), false, false);
  f->Render();
  EXPECT_EQ(page->GetValue("mapiresult", false), "false");

  std::vector<TMailMessage> sent;
  engine.MailProgram = [&sent](const TMailMessage& m) {
    sent.push_back(m);
    return 0;
  };
  EXPECT_EQ(SendMailMessage(engine, "s", "b", "a;b", "", "c,", "x;;y", 9), 0);
  ASSERT_EQ(sent.size(), 1u);
  ASSERT_EQ(sent[0].Recips.size(), 3u);
  EXPECT_EQ(sent[0].Recips[2].RecipClass, 3);
  EXPECT_EQ(sent[0].Files, (std::vector<std::string>{"x", "y"}));
}

}  // namespace
}  // namespace vantrel
