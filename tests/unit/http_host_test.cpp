// Tests of the HTTP host's request checks (key, Host header, paths inside the
// application folder) and of the preparation of delivered pages.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/HttpHost.h"
#include "app/HttpShell.h"
#include "platform/FileSystem.h"

namespace vantrel::http {
namespace {

namespace fs = std::filesystem;

TEST(HttpHostSecret, FreshKeysAreHexAndDistinct) {
  const std::string a = MakeSecret();
  const std::string b = MakeSecret();
  EXPECT_EQ(a.size(), 32u);
  EXPECT_EQ(a.find_first_not_of("0123456789abcdef"), std::string::npos);
  EXPECT_NE(a, b);
}

TEST(HttpHostSecret, ComparesWholeKeys) {
  const std::string key = "0123456789abcdef0123456789abcdef";
  EXPECT_TRUE(SecretEquals(key, key));
  const std::vector<std::string> wrong = {std::string(), key.substr(0, 31), key + "0",
                                         "1123456789abcdef0123456789abcdef", "0123456789abcdef0123456789abcdeF",
                                         std::string(32, '\0')};
  for (const std::string& given : wrong) {
    SCOPED_TRACE(given);
    EXPECT_FALSE(SecretEquals(given, key));
  }
  EXPECT_FALSE(SecretEquals("", ""));  // no key configured admits nobody
}

TEST(HttpHostSecret, CookieValue) {
  struct Row {
    const char* Header;
    const char* Name;
    const char* Expected;
  };
  const Row rows[] = {
      {"vantrel_key_8080=abc", "vantrel_key_8080", "abc"},
      {"a=1; vantrel_key_8080=abc; b=2", "vantrel_key_8080", "abc"},
      {"a=1;vantrel_key_8080=abc", "vantrel_key_8080", "abc"},
      {"xvantrel_key_8080=abc", "vantrel_key_8080", ""},
      {"vantrel_key_80=abc", "vantrel_key_8080", ""},
      {"vantrel_key_8080", "vantrel_key_8080", ""},
      {"", "vantrel_key_8080", ""},
      {";;;=;", "vantrel_key_8080", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Header);
    EXPECT_EQ(CookieValue(row.Header, row.Name), row.Expected);
  }
}

TEST(HttpHostHeader, OnlyNamesNoForeignDnsCanPointHere) {
  struct Row {
    const char* Host;
    bool Allowed;
  };
  const Row rows[] = {
      {"127.0.0.1:8080", true},
      {"localhost:8080", true},
      {"LOCALHOST:8080", true},
      {"[::1]:8080", true},
      {"192.0.2.7:8080", true},  // an address literal: typed by the user, never a rebound name
      {"myhost:8080", true},     // the machine's own name, given as extra
      {"evil.example:8080", false},
      {"127.0.0.1.nip.io:8080", false},
      {"localhost.evil.example:8080", false},
      {"127.0.0.1:8081", false},
      {"127.0.0.1", false},
      {"127.0.0.1:", false},
      {"127.0.0.1:80x", false},
      {"127.0.0.1:8080:8080", false},
      {"[::1]", false},
      {"[::1:8080", false},
      {"[evil]:8080", false},
      {"", false},
      {":8080", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Host);
    EXPECT_EQ(IsAllowedHost(row.Host, 8080, {"myhost"}), row.Allowed);
  }
  EXPECT_TRUE(IsAllowedHost("localhost", 80, {}));
  EXPECT_FALSE(IsAllowedHost("myhost:8080", 8080, {}));
}

TEST(HttpHostHeader, LoopbackAddresses) {
  for (const char* a : {"127.0.0.1", "127.1.2.3", "::1", "localhost"}) EXPECT_TRUE(IsLoopbackAddress(a)) << a;
  for (const char* a : {"0.0.0.0", "::", "192.168.1.2", "128.0.0.1", "", "localhost.example"})
    EXPECT_FALSE(IsLoopbackAddress(a)) << a;
}

TEST(HttpHostPaths, RequestPathToEnginePath) {
  const std::string app = "\\srv\\app\\";
  struct Row {
    const char* Path;
    const char* Expected;  // empty: refused
  };
  const Row rows[] = {
      {"/srv/app/Select/vantrel.css", "\\srv\\app\\Select\\vantrel.css"},
      {"/srv/app/a b.pdf", "\\srv\\app\\a b.pdf"},
      {"/srv/app/Caf\xC3\xA9.png", "\\srv\\app\\Caf\xE9.png"},  // UTF-8 in the URL, Windows-1252 in the engine
      {"/srv/app/", ""},
      {"/srv/app", ""},
      {"/srv/apple/x.css", ""},
      {"/srv/other/x.css", ""},
      {"/srv/app/../secret.css", ""},
      {"/srv/app/Select/../../secret.css", ""},
      {"/srv/app/Select/..\\..\\secret.css", ""},
      {"/srv/app/./x.css", ""},
      {"/srv/app/x/..", ""},
      {"/srv/app/x\ty.css", ""},
      {"srv/app/x.css", ""},
      {"", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Path);
    EXPECT_EQ(EnginePathFromRequestPath(row.Path, app), row.Expected);
  }
  EXPECT_EQ(EnginePathFromRequestPath(std::string("/srv/app/x\0y.css", 16), app), "");
  EXPECT_EQ(EnginePathFromRequestPath("/srv/app/..x.css", app), "\\srv\\app\\..x.css");
}

TEST(HttpHostPaths, EnginePathToRequestPath) {
  EXPECT_EQ(RequestPathFromEnginePath("\\srv\\app\\Docs\\a b.pdf"), "/srv/app/Docs/a%20b.pdf");
  EXPECT_EQ(RequestPathFromEnginePath("\\srv\\app\\Caf\xE9?#.pdf"), "/srv/app/Caf%C3%A9%3F%23.pdf");
  EXPECT_EQ(PercentEncode("http://Select\\P.qsp?x=1&y=a+b"), "http%3A%2F%2FSelect%5CP.qsp%3Fx%3D1%26y%3Da%2Bb");
}

TEST(HttpHostPaths, NavigationFileAsTheHandlerMapsIt) {
  const std::string app = "\\srv\\app\\";
  struct Row {
    const char* Url;
    const char* Expected;
  };
  const Row rows[] = {
      {"http://Select\\Index.qsp", "\\srv\\app\\Select\\Index.qsp"},
      {"HTTP://select/sub/page.cfm/?id=5", "\\srv\\app\\select\\sub\\page.cfm"},
      {"http://a/p.qsp?x=a/b", "\\srv\\app\\a\\p.qsp"},
      {"http://..\\..\\etc\\passwd?.qsp", "\\srv\\app\\..\\..\\etc\\passwd"},
      {"\\srv\\app\\Select\\Page.qsp?x=1", "\\srv\\app\\Select\\Page.qsp"},
      {"Select\\Page.qsp", "Select\\Page.qsp"},
      {"", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Url);
    EXPECT_EQ(NavigationFile(row.Url, app), row.Expected);
  }
}

// A scratch application folder with a file, a folder, a link inside and links out.
class HttpHostFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("vantrel-http-test-" + MakeSecret().substr(0, 8));
    fs::create_directories(root_ / "app" / "Select");
    Write(root_ / "app" / "Select" / "vantrel.css");
    Write(root_ / "outside.css");
    fs::create_directories(root_ / "elsewhere");
    fs::create_symlink(root_ / "outside.css", root_ / "app" / "Select" / "escape.css");
    fs::create_directory_symlink(root_ / "elsewhere", root_ / "app" / "away");
    fs::create_symlink(root_ / "app" / "Select" / "vantrel.css", root_ / "app" / "inside.css");
    app_ = platform::EngineFolderFromHost(root_ / "app");
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  static void Write(const fs::path& p) { std::ofstream(p) << "x\n"; }

  fs::path root_;
  std::string app_;
};

TEST_F(HttpHostFolder, OnlyFilesInsideAreResolved) {
  EXPECT_TRUE(ResolveAppFile(app_ + "Select\\vantrel.css", app_).has_value());
  EXPECT_TRUE(ResolveAppFile(app_ + "select\\VANTREL.CSS", app_).has_value());  // letter case as on the desktop
  EXPECT_TRUE(ResolveAppFile("Select\\vantrel.css", app_).has_value());          // relative: from the folder
  EXPECT_TRUE(ResolveAppFile(app_ + "inside.css", app_).has_value());
  const std::vector<std::string> refused = {app_ + "Select\\escape.css", app_ + "away\\..\\outside.css", app_ + "..\\outside.css",
                              app_ + "Select", app_ + "missing.css", app_ + "Select\\..\\..\\outside.css",
                                            std::string("\\etc\\passwd"), std::string()};
  for (const std::string& p : refused) {
    SCOPED_TRACE(p);
    EXPECT_FALSE(ResolveAppFile(p, app_).has_value());
  }
}

TEST_F(HttpHostFolder, NavigationsStayInside) {
  EXPECT_TRUE(InsideAppFolder(app_ + "Select\\Index.qsp", app_));  // missing files are the engine's business
  EXPECT_TRUE(InsideAppFolder(app_ + "Select\\..\\Other\\P.qsp", app_));
  EXPECT_TRUE(InsideAppFolder("Select\\Index.qsp", app_));
  EXPECT_FALSE(InsideAppFolder(app_ + "..\\outside.qsp", app_));
  EXPECT_FALSE(InsideAppFolder(app_ + "away\\x.qsp", app_));
  EXPECT_FALSE(InsideAppFolder(NavigationFile("http://..\\..\\etc\\passwd?.qsp", app_), app_));
  EXPECT_FALSE(InsideAppFolder("\\etc\\x.qsp", app_));
}

TEST(HttpShell, PreparedPagesCarryTheRoutingScriptFirst) {
  const std::string prologue =
      "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\"><head><BASE HREF=\"\\a\\Select\\\">";
  const std::string page = PreparePage(prologue + "<p>x</p>", "\\a\\", "http://Select\\P.qsp?q=\"<", "", "/s.js");
  EXPECT_EQ(page,
            "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">"
            "<script src=\"/s.js\" data-app=\"\\a\\\" data-url=\"http://Select\\P.qsp?q=&quot;&lt;\"></script>"
            "<head><BASE HREF=\"\\a\\Select\\\"><p>x</p>");
  EXPECT_EQ(PreparePage("<p>", "\\a\\", "u", "", "/s.js").rfind("<script src=\"/s.js\"", 0), 0u);
  EXPECT_EQ(PreparePage("", "\\a\\", "u", "", "/s.js"), "<script src=\"/s.js\" data-app=\"\\a\\\" data-url=\"u\"></script>");
}

TEST(HttpShell, RefreshToAPseudoUrlGoesToTheHost) {
  struct Row {
    const char* Html;
    const char* Target;
    const char* Expected;
  };
  const Row rows[] = {
      // The redirect page of a location tag.
      {"<html><head><meta HTTP-EQUIV=Refresh CONTENT=\"0; URL=http://Select/Index.qsp?a=1\"></head></html>", "",
       "<html><head><meta HTTP-EQUIV=Refresh CONTENT=\"0; URL=/navigate?url=http%3A%2F%2FSelect%2FIndex.qsp%3Fa%3D1\">"
       "</head></html>"},
      {"<meta http-equiv='refresh' content='2;url=http://S\\P.cfm'>", "detail",
       "<meta http-equiv='refresh' content='2;url=/navigate?url=http%3A%2F%2FS%5CP.cfm&amp;target=detail'>"},
      {"<meta http-equiv=\"refresh\" content=\"0; url='http://S/P.qsp'\">", "",
       "<meta http-equiv=\"refresh\" content=\"0; url='/navigate?url=http%3A%2F%2FS%2FP.qsp'\">"},
      // Left alone: relative addresses, other sites, other meta elements, broken tags.
      {"<meta http-equiv=\"refresh\" content=\"0; URL=Page.qsp\">", "",
       "<meta http-equiv=\"refresh\" content=\"0; URL=Page.qsp\">"},
      {"<meta http-equiv=\"refresh\" content=\"0; URL=http://example.com/\">", "",
       "<meta http-equiv=\"refresh\" content=\"0; URL=http://example.com/\">"},
      {"<meta name=\"refresh\" content=\"http://S/P.qsp\">", "", "<meta name=\"refresh\" content=\"http://S/P.qsp\">"},
      {"<meta http-equiv=\"refresh\" content=\"0; URL=http://S/P.qsp", "",
       "<meta http-equiv=\"refresh\" content=\"0; URL=http://S/P.qsp"},
      {"<meta http-equiv=refresh content=", "", "<meta http-equiv=refresh content="},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Html);
    std::string page = PreparePage(row.Html, "\\a\\", "u", row.Target, "/s.js");
    const size_t script = page.find("<script");
    ASSERT_NE(script, std::string::npos);
    page.erase(script, page.find("</script>") + 9 - script);
    EXPECT_EQ(page, row.Expected);
  }
}

TEST(HttpShell, StaticFileKinds) {
  EXPECT_EQ(StaticContentType("a.PDF"), "application/pdf");
  EXPECT_EQ(StaticContentType("\\x\\vantrel.css"), "text/css; charset=windows-1252");
  EXPECT_EQ(StaticContentType("a.html"), "text/html; charset=windows-1252");
  for (const char* name : {"Index.qsp", "application.cfm", "VantrelKVT.QDB", "x", "x.", "dir.css\\file", ".css.bak"})
    EXPECT_EQ(StaticContentType(name), "") << name;
}

TEST(HttpShell, HeaderStrip) {
  const std::string page = ShellPage(" ");
  EXPECT_NE(page.find("<title>Vantrel</title>"), std::string::npos);
  const char* order[] = {">Deutsch<", " | ", ">English<", " | ", ">Fran\xE7" "ais<", " | ", ">Italiano<"};
  size_t at = 0;
  for (const char* piece : order) {
    at = page.find(piece, at);
    ASSERT_NE(at, std::string::npos) << piece;
  }
  ASSERT_NE(LanguageLinkById(1), nullptr);
  EXPECT_STREQ(LanguageLinkById(1)->Title, "Quorvel Auslegung");
  EXPECT_STREQ(LanguageLinkById(2)->Title, "Quorvel S\xE9lection");
  EXPECT_STREQ(LanguageLinkById(3)->Title, "Quorvel Selezione");
  EXPECT_STREQ(LanguageLinkById(4)->Title, "Quorvel Sizer");
  EXPECT_EQ(LanguageLinkById(0), nullptr);
  EXPECT_NE(ShellPage("Quorvel S\xE9lection").find("<span id=\"lblTitle\">Quorvel S\xE9lection</span>"),
            std::string::npos);
}

}  // namespace
}  // namespace vantrel::http
