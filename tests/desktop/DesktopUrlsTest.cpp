// The addresses between the desktop browser and the engine: file:// addresses of
// relative links become engine paths under the application folder (and nothing
// else does), engine paths become file:// addresses of the files as they exist on
// disk, and the page prologue's folder becomes a file:// base.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "app/DesktopUrls.h"

namespace vantrel::desktop {
namespace {

namespace fs = std::filesystem;

TEST(DesktopUrls, EnginePathFromFileUrl) {
  struct Row {
    const char* url;
    const char* appFolder;
    const char* expected;
  };
  const Row rows[] = {
      {"file:///tmp/x/app/Select/Page.qsp?a=1&b=2", "\\tmp\\x\\app\\", "\\tmp\\x\\app\\Select\\Page.qsp?a=1&b=2"},
      {"file:///tmp/x/app/Select/My%20Page.qsp", "\\tmp\\x\\app\\", "\\tmp\\x\\app\\Select\\My Page.qsp"},
      {"file://localhost/tmp/x/app/a.cfm", "\\tmp\\x\\app\\", "\\tmp\\x\\app\\a.cfm"},
      {"FILE:///tmp/x/app/a.qsp#top", "\\tmp\\x\\app\\", "\\tmp\\x\\app\\a.qsp#top"},
      // The query string stays as the browser sent it: the engine decodes it.
      {"file:///tmp/x/app/a.qsp?v=0%2C5&p=%2Fx", "\\tmp\\x\\app\\", "\\tmp\\x\\app\\a.qsp?v=0%2C5&p=%2Fx"},
      // Bytes of the path are the host's bytes.
      {"file:///tmp/x/app/%C3%84.qsp", "\\tmp\\x\\app\\", "\\tmp\\x\\app\\\xC3\x84.qsp"},
      {"file:///tmp/x/app/%zz.qsp", "\\tmp\\x\\app\\", "\\tmp\\x\\app\\%zz.qsp"},
      {"file:///tmp/x/app/docs/sheet.pdf", "\\tmp\\x\\app\\", "\\tmp\\x\\app\\docs\\sheet.pdf"},
      // Outside the application folder, or no file address at all: nothing.
      {"file:///tmp/x/other/a.qsp", "\\tmp\\x\\app\\", ""},
      {"file:///tmp/x/application/a.qsp", "\\tmp\\x\\app\\", ""},
      {"file:///tmp/x/app", "\\tmp\\x\\app\\", ""},
      {"http://select/Index.qsp", "\\tmp\\x\\app\\", ""},
      {"javascript:back();", "\\tmp\\x\\app\\", ""},
      {"about:blank", "\\tmp\\x\\app\\", ""},
      {"file://", "\\tmp\\x\\app\\", ""},
      {"file://otherhost/tmp/x/app/a.qsp", "\\tmp\\x\\app\\", ""},
      {"", "\\tmp\\x\\app\\", ""},
      {"file:///tmp/x/app/a.qsp", "", ""},
      // A decoded backslash or NUL would name another file.
      {"file:///tmp/x/app/a%5C..%5C..%5Cb.qsp", "\\tmp\\x\\app\\", ""},
      {"file:///tmp/x/app/a%00.qsp", "\\tmp\\x\\app\\", ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.url);
    EXPECT_EQ(EnginePathFromFileUrl(r.url, r.appFolder), r.expected);
  }
}

TEST(DesktopUrls, FileUrlFromHostPath) {
  EXPECT_EQ(FileUrlFromHostPath("/tmp/a b/\xC3\x84.qsp", false), "file:///tmp/a%20b/%C3%84.qsp");
  EXPECT_EQ(FileUrlFromHostPath("/tmp/x/app", true), "file:///tmp/x/app/");
  EXPECT_EQ(FileUrlFromHostPath("/tmp/x/app/", true), "file:///tmp/x/app/");
  EXPECT_EQ(FileUrlFromHostPath("/tmp/x/./app/../y#?%", false), "file:///tmp/x/y%23%3F%25");
  // And back: the address of a file under the folder gives its engine path.
  EXPECT_EQ(EnginePathFromFileUrl(FileUrlFromHostPath("/tmp/a b/#1.qsp", false), "\\tmp\\a b\\"),
            "\\tmp\\a b\\#1.qsp");
}

class DesktopUrlsOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("vantrel-desktop-urls-" + std::to_string(::getpid()));
    fs::create_directories(root_ / "App" / "Select");
    std::ofstream(root_ / "App" / "Select" / "Page.qsp") << "x";
  }
  void TearDown() override { fs::remove_all(root_); }
  // The engine form of a host path below the scratch folder.
  std::string Engine(const std::string& relative) const {
    std::string s = (root_ / relative).string();
    for (char& c : s)
      if (c == '/') c = '\\';
    return s;
  }
  std::string Url(const std::string& relative) const { return "file://" + (root_ / relative).string(); }
  fs::path root_;
};

TEST_F(DesktopUrlsOnDisk, BrowserUrlFromHandlerUrl) {
  // Pseudo-URLs and other texts are the browser's to read.
  EXPECT_EQ(BrowserUrlFromHandlerUrl("http://Select\\Index.qsp"), "http://Select\\Index.qsp");
  EXPECT_EQ(BrowserUrlFromHandlerUrl("javascript:back();"), "javascript:back();");
  EXPECT_EQ(BrowserUrlFromHandlerUrl(""), "");
  // An engine path becomes the file as it exists on disk, letter case included.
  EXPECT_EQ(BrowserUrlFromHandlerUrl(Engine("app/select/page.QSP") + "?q=1&dp=0.5"),
            Url("App/Select/Page.qsp") + "?q=1&dp=0.5");
  EXPECT_EQ(BrowserUrlFromHandlerUrl(Engine("App/Select/Missing.qsp")), Url("App/Select/Missing.qsp"));
}

TEST_F(DesktopUrlsOnDisk, WithFileBase) {
  const std::string first =
      "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\"><head><meta http-equiv=\"Pragma\" "
      "content=\"no-cache\"><meta http-equiv=\"expires\" content=\"0\"><BASE HREF=\"";
  const std::string second = "\"><link rel=\"stylesheet\" href=\"";
  const std::string third = "vantrel.css\">";
  const std::string folder = Engine("app/SELECT/");
  const std::string base = Url("App/Select/");
  const std::string body = "<p>x</p><head></head>";
  // The folder the pseudo-URL spelled in small letters is the one on disk.
  EXPECT_EQ(WithFileBase(first + folder + second + folder + third + body),
            first + base + second + base + third + body);
  // Anything that is not exactly the prologue stays as it is.
  const std::string redirect =
      "<html><head><meta HTTP-EQUIV=Refresh CONTENT=\"0; URL=http://Select/Saved.qsp\"></head><body></body></html>";
  EXPECT_EQ(WithFileBase(redirect), redirect);
  const std::string mismatched = first + folder + second + Engine("other/") + third + body;
  EXPECT_EQ(WithFileBase(mismatched), mismatched);
  const std::string cut = first + folder;
  EXPECT_EQ(WithFileBase(cut), cut);
  EXPECT_EQ(WithFileBase(""), "");
  const std::string relative = first + "Select\\" + second + "Select\\" + third;
  EXPECT_EQ(WithFileBase(relative), relative);
}

}  // namespace
}  // namespace vantrel::desktop
