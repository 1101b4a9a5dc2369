// The navigation handler's decisions: URL classes, mapping to engine paths, the
// history and its back steps, and the two kinds of delivery.
#include <gtest/gtest.h>

#include "app/Navigation.h"

namespace vantrel {
namespace {

struct RecordingHost : IBrowserHost {
  std::vector<std::string> log;
  void DeliverToMainDocument(const std::string& html) override { log.push_back("main:" + html); }
  void DeliverToFrame(const std::string& frame, const std::string& html) override {
    log.push_back("frame " + frame + ":" + html);
  }
  void OpenWithShell(const std::string& path) override { log.push_back("open:" + path); }
};

class NavigationTest : public ::testing::Test {
 protected:
  RecordingHost host;
  TNavigationHandler nav{"\\App\\", platform::RegionalSettings{}, host};

  bool Go(std::string url, const std::string& frame = "") {
    bool cancel = false;
    nav.WebBrowser1BeforeNavigate2(url, frame, cancel);
    return cancel;
  }
};

// The page a template request runs is visible through the entries the page sets:
// referrer (its path) and cgiformdata (its query string).
TEST_F(NavigationTest, MapsPseudoUrlsToEnginePaths) {
  const struct {
    const char* url;
    const char* path;
    const char* query;
  } rows[] = {
      {"http://Select\\Index.qsp", "\\App\\Select\\Index.qsp", ""},
      {"http://select/sub/page.cfm/?id=5", "\\App\\select\\sub\\page.cfm", "id=5"},
      {"http://a/p.qsp?x=a/b", "\\App\\a\\p.qsp", "x=a/b"},
      {"HTTP://A/B.cfm", "\\App\\A\\B.cfm", ""},
      {"\\App\\Select\\Rel.qsp?z=1", "\\App\\Select\\Rel.qsp", "z=1"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.url);
    EXPECT_TRUE(Go(row.url));
    EXPECT_EQ(nav.AppVariables.Value("referrer"), row.path);
    EXPECT_EQ(nav.AppVariables.Value("cgiformdata"), row.query);
  }
}

TEST_F(NavigationTest, UrlClasses) {
  EXPECT_TRUE(Go("http://Select\\Index.qsp"));
  EXPECT_EQ(nav.AppVariables.Value("URL"), "http://Select\\Index.qsp");
  EXPECT_TRUE(Go("http://select/sub/page.cfm/?id=5"));
  EXPECT_EQ(nav.AppVariables.Value("URL"), "http://Select\\Index.qsp");  // ".cfm" leaves it
  EXPECT_FALSE(Go("http://select/sub/"));
  EXPECT_FALSE(Go("http://Select\\Index.QSP"));
  EXPECT_FALSE(Go("about:blank"));
  EXPECT_TRUE(Go("http://docs\\manual.pdf"));
  EXPECT_TRUE(Go("other.pdf"));
  ASSERT_EQ(host.log.size(), 4u);
  EXPECT_EQ(host.log[2], "open:\\App\\docs\\manual.pdf");
  EXPECT_EQ(host.log[3], "open:other.pdf");
  EXPECT_EQ(nav.NavigationHistory,
            (std::vector<std::string>{"http://select\\index.cfm", "http://Select\\Index.qsp",
                                      "http://select/sub/page.cfm/?id=5"}));
}

TEST_F(NavigationTest, BackSteps) {
  Go("http://p1.qsp");
  Go("http://p2.qsp");
  EXPECT_TRUE(Go("javascript:back();"));
  EXPECT_EQ(nav.AppVariables.Value("URL"), "http://p1.qsp");
  EXPECT_EQ(nav.AppVariables.Value("referrer"), "\\App\\p1.qsp");
  EXPECT_EQ(nav.NavigationHistory, (std::vector<std::string>{"http://select\\index.cfm", "http://p1.qsp"}));

  Go("javascript:back();");
  EXPECT_EQ(nav.NavigationHistory, (std::vector<std::string>{"http://select\\index.cfm"}));
  Go("javascript:back();");  // fewer than two entries: the first entry, history kept
  EXPECT_EQ(nav.AppVariables.Value("URL"), "http://select\\index.cfm");
  EXPECT_EQ(nav.NavigationHistory,
            (std::vector<std::string>{"http://select\\index.cfm", "http://select\\index.cfm"}));
}

TEST_F(NavigationTest, DeliveryIntoMainDocumentOrNamedFrame) {
  Go("http://Missing.qsp");
  Go("http://Missing.qsp", "detail");
  const std::string closingHead =
      "<head><meta http-equiv=\"Pragma\" content=\"no-cache\"><meta http-equiv=\"expires\" content=\"0\"></head>";
  ASSERT_EQ(host.log.size(), 2u);
  EXPECT_EQ(host.log[0], "main:" + closingHead);
  EXPECT_EQ(host.log[1], "frame detail:" + closingHead);
}

TEST_F(NavigationTest, StartUpAndLanguages) {
  nav.FormShow(TScreenInfo{1024, 768, 1018, 712});
  EXPECT_EQ(nav.AppVariables.Text(),
            "ScreenWidth=1024\r\nScreenHeight=768\r\nWindowWidth=1018\r\nWindowHeight=712\r\nDecimalCode=.\r\n");
  nav.FormResize(800, 600);
  EXPECT_EQ(nav.AppVariables.Value("windowwidth"), "800");
  EXPECT_EQ(nav.SelectLanguage(2), "");  // no ".qsp" page requested yet
  Go("http://Select\\Index.qsp");
  EXPECT_EQ(nav.SelectLanguage(4), "http://Select\\Index.qsp");
  EXPECT_EQ(nav.AppVariables.Value("LangID"), "4");
}

}  // namespace
}  // namespace vantrel
