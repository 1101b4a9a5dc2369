// Runaway templates end: a request that goes beyond its work delivers what it
// rendered so far and reports it once; a value beyond the length limit is a
// failure of the clause that builds it; the next request starts with a full budget.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/Navigation.h"

namespace vantrel {
namespace {

struct PageHost : IBrowserHost {
  std::string page;
  void DeliverToMainDocument(const std::string& html) override { page = html; }
  void DeliverToFrame(const std::string&, const std::string& html) override { page = html; }
  void OpenWithShell(const std::string&) override {}
};

class WorkBudgetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vantrel-budget-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    std::filesystem::create_directories(dir_ + "/Select");
    std::string folder = dir_ + "/";
    for (char& c : folder)
      if (c == '/') c = '\\';
    nav_ = std::make_unique<TNavigationHandler>(folder, platform::RegionalSettings{}, host_);
    nav_->Engine.OnError = [this](const std::string& m) { errors_.push_back(m); };
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  void Write(const std::string& name, const std::string& text) {
    std::ofstream(dir_ + "/Select/" + name, std::ios::binary) << text;
  }
  // The page body: what the page delivered between its prologue and its closing head.
  std::string Go(const std::string& page) {
    host_.page.clear();
    std::string url = "http://Select\\" + page;
    bool cancel = false;
    nav_->WebBrowser1BeforeNavigate2(url, "", cancel);
    const size_t css = host_.page.find("vantrel.css\">");
    const size_t head = host_.page.rfind("<head>");
    if (css == std::string::npos || head == std::string::npos) return "(no page) " + host_.page;
    return host_.page.substr(css + 13, head - css - 13);
  }

  std::string dir_;
  PageHost host_;
  std::unique_ptr<TNavigationHandler> nav_;
  std::vector<std::string> errors_;
};

TEST_F(WorkBudgetTest, TemplateIncludingItselfTwiceStopsAndTheNextRequestRuns) {
  // Without a bound on work this tree of includes has 2^150 leaves.
  Write("Bomb.qsp", "b<cfinclude template=\"Bomb.qsp\"><cfinclude template=\"Bomb.qsp\">");
  Write("Plain.qsp", "<cfloop index=\"i\" from=\"1\" to=\"3\">#i#</cfloop> plain");
  nav_->Engine.MaxWork = 5000000;
  const std::string body = Go("Bomb.qsp");
  EXPECT_EQ(body.rfind("b", 0), 0u);
  EXPECT_LT(nav_->Engine.Work, nav_->Engine.MaxWork + 1000000);
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0], "Rendering Stopped: the page takes more work than a page may take");

  errors_.clear();
  EXPECT_EQ(Go("Plain.qsp"), "123 plain\r\n");
  EXPECT_TRUE(errors_.empty());
}

TEST_F(WorkBudgetTest, ValueGrowingInALoopEnds) {
  // A doubled value fails beyond the length limit and the clause gives the empty
  // text; a value tripled with each of a million passes exhausts the request.
  Write("Double.qsp",
        "<cfset x = \"abcdefgh\"><cfloop index=\"i\" from=\"1\" to=\"10\"><cfset x = x & x & \"\">"
        "<cfoutput>#len(x)# </cfoutput></cfloop>");
  Write("Triple.qsp",
        "<cfset y = \"ab\"><cfloop index=\"i\" from=\"1\" to=\"1000000\"><cfset y = \"#y##y##y#\">"
        "</cfloop><cfoutput>[#len(y)#]</cfoutput>after");
  nav_->Engine.MaxValueLength = 1024;
  EXPECT_EQ(Go("Double.qsp"), "16 32 64 128 256 512 1024 0 0 0 \r\n");

  nav_->Engine.MaxValueLength = 1 << 20;
  nav_->Engine.MaxWork = 20000000;
  EXPECT_EQ(Go("Triple.qsp"), "");
  EXPECT_LE(nav_->Engine.LoopPasses, 100000);
  ASSERT_FALSE(errors_.empty());
  EXPECT_EQ(errors_.back(), "Rendering Stopped: the page takes more work than a page may take");
}

}  // namespace
}  // namespace vantrel
