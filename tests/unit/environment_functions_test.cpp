// Tests of the environment, file and variable built-ins: rootpath, the existence
// tests with their path resolution, filecopy, starting programs (dosexec,
// shellexec), evaluate and valueof, isdefined and parameterexists, structdelete;
// and of the platform's command-line splitting and process start.
//
// Each test works in a folder of its own under the system's temporary folder,
// which is also the process's current folder while the test runs.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "engine/Engine.h"
#include "engine/QueryList.h"
#include "engine/TPBaseTag.h"
#include "engine/TStringList.h"
#include "engine/clause/TClause.h"
#include "engine/functions/BuiltIns.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "PageFixture.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

// The application folder, made fresh under the system's temporary folder and the
// process's current folder while it lives:
//   x.txt  Sel\y.txt  Sel\Sub\z.txt  Sel\Sub\sub\  data\  img\x.gif
class TemporaryAppFolder {
 protected:
  TemporaryAppFolder() {
    std::string pattern = (fs::temp_directory_path() / "vantrel-env-XXXXXX").string();
    root_ = ::mkdtemp(pattern.data()) != nullptr ? fs::path(pattern) : fs::path();
    appDir = root_ / "app";
    fs::create_directories(appDir / "Sel" / "Sub" / "sub");
    fs::create_directories(appDir / "data");
    fs::create_directories(appDir / "img");
    Write(appDir / "x.txt", "root x");
    Write(appDir / "Sel" / "y.txt", "sel y");
    Write(appDir / "Sel" / "Sub" / "z.txt", "sub z");
    Write(appDir / "img" / "x.gif", "GIF89a");
    savedCurrent_ = fs::current_path();
    fs::current_path(appDir);
  }
  ~TemporaryAppFolder() {
    std::error_code ec;
    fs::current_path(savedCurrent_, ec);
    if (!root_.empty()) fs::remove_all(root_, ec);
  }
  TemporaryAppFolder(const TemporaryAppFolder&) = delete;
  TemporaryAppFolder& operator=(const TemporaryAppFolder&) = delete;

  static void Write(const fs::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
  }
  static std::string Read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }

  fs::path appDir;

 private:
  fs::path root_;
  fs::path savedCurrent_;
};

// An engine on the application folder and a page in Sel\Sub\ with v=x, w=v,
// n=2.5, blank="  " and session.lang=de; the page itself owns the clauses. The
// folder is made before the engine and removed after it.
class EnvironmentFunctions : public TemporaryAppFolder, public PageFixture {
 protected:
  EnvironmentFunctions()
      : TemporaryAppFolder(),
        PageFixture(platform::EngineFolderFromHost(appDir) + "Sel\\Sub\\p.qsp",
                    {.OwnerFragment = false, .EngineFolder = platform::EngineFolderFromHost(appDir)}) {
    page->SetVariable("v", "x");
    page->SetVariable("w", "v");
    page->SetVariable("n", "2.5");
    page->SetVariable("blank", "  ");
    page->SetVariable("session.lang", "de");
  }
};

TEST_F(EnvironmentFunctions, RootPath) {
  const std::string app = engine.AppFolder;
  ASSERT_EQ(app.front(), '\\');
  ASSERT_EQ(app.back(), '\\');
  EXPECT_EQ(page->Folder.Text(), app + "Sel\\Sub\\");
  CheckRows({
      {"rootpath()", app, ""},
      {"rootpath(1, \"x\", nosuch)", app, ""},  // whatever arguments are written
      {"rootpath() & \"x.txt\"", app + "x.txt", ""},
  });
}

TEST_F(EnvironmentFunctions, ExistenceTestsResolvePaths) {
  CheckRows({
      // "..\" climbs from the page's folder Sel\Sub\ and drops three characters.
      {"fileexists(\"..\\y.txt\")", "true", ""},
      {"fileexists(\"..\\x.txt\")", "false", ""},
      {"fileexists(\"..\\..\\x.txt\")", "true", ""},
      {"fileexists(\"..\\..\\img/x.gif\")", "true", ""},
      {"fileexists(\"a\\..\\y.txt\")", "true", ""},  // "a\." goes, leaving Sel\.\y.txt
      // A leading "\" or "/" is the application folder; a path already in it stands.
      {"fileexists(\"\\x.txt\")", "true", ""},
      {"fileexists(\"/Sel/y.txt\")", "true", ""},
      {"fileexists(\"\\Sel\\Sub\\z.txt\")", "true", ""},
      {"fileexists(rootpath() & \"Sel\\y.txt\")", "true", ""},
      {"fileexists(\"\\nosuch.txt\")", "false", ""},
      // Without "..\" the path is taken from the current folder, not the page's.
      {"fileexists(\"x.txt\")", "true", ""},
      {"fileexists(\"z.txt\")", "false", ""},
      {"fileexists(\"Sel\\y.txt\")", "true", ""},
      // Folders are not files and files are not folders.
      {"fileexists(\"\\Sel\")", "false", ""},
      {"fileexists(\"\")", "false", ""},
      {"directoryexists(\"sub\")", "true", ""},  // the page's folder + sub
      {"directoryexists(\"Sel\")", "false", ""},
      {"directoryexists(\"z.txt\")", "false", ""},
      {"directoryexists(\"..\\..\\data\")", "true", ""},
      {"directoryexists(\"\\data\")", "true", ""},
      {"directoryexists(\"/Sel/Sub/\")", "true", ""},
      {"directoryexists(rootpath() & \"img\")", "true", ""},
      {"directoryexists(rootpath())", "true", ""},
      {"directoryexists(\"\")", "false", ""},
      // Case does not matter on the way to the file.
      {"fileexists(\"\\SEL\\Y.TXT\")", "true", ""},
      // An empty argument list holds one empty argument.
      {"fileexists()", "false", ""},
      {"directoryexists()", "false", ""},
  });
}

TEST_F(EnvironmentFunctions, ExistenceTestWithoutOwnerFails) {
  errors.clear();
  EXPECT_EQ(Eval("fileexists(\"\\x.txt\")", nullptr), "ERROR");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "Fn: FileExists(\"\\x.txt\"\r\n)");
}

TEST_F(EnvironmentFunctions, EvaluateAndValueOf) {
  CheckRows({
      {"evaluate(\"3\")", "3", ""},
      {"evaluate(\"v\")", "x", ""},
      {"valueof(\"v\")", "x", ""},
      {"evaluate(w)", "x", ""},  // w holds v, and v holds x
      {"evaluate(\"-n\")", "-2.5", ""},
      {"evaluate(\"-v\")", "v", ""},  // not a number: the name without its minus
      {"evaluate(\"nosuch\")", "", ""},
      {"evaluate(\"1+2\")", "1+2", ""},  // numeric-looking: stands for itself
      {"evaluate(\"x & y\")", "", ""},
      {"evaluate(\"session.lang\")", "de", ""},
      {"evaluate()", "", ""},
  });
}

TEST_F(EnvironmentFunctions, IsDefinedAndParameterExists) {
  CheckRows({
      {"isdefined(\"v\")", "true", ""},
      {"isdefined(\"'V'\")", "true", ""},
      {"isdefined(\"blank\")", "false", ""},  // only blanks counts as not defined
      {"isdefined(\"nosuch\")", "false", ""},
      {"isdefined(\"session.lang\")", "true", ""},
      {"parameterexists(\"v\")", "true", ""},
      {"parameterexists(\"blank\")", "false", ""},
      {"isdefined()", "false", ""},
  });
  // Without an owner tag there is nothing to ask; parameterexists reports no
  // argument list.
  errors.clear();
  EXPECT_EQ(Eval("isdefined(\"v\")", nullptr), "ERROR");
  EXPECT_EQ(Eval("parameterexists(\"v\")", nullptr), "ERROR");
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0], "Fn: isdefined(\"v\"\r\n)");
  EXPECT_EQ(errors[1], "Fn: ParameterExists()");
}

TEST_F(EnvironmentFunctions, StructDelete) {
  page->SetVariable("session.x", "1");
  CheckRows({
      {"structdelete(\"session\", \"x\")", "true", ""},
      {"structdelete(\"session\", \"x\")", "false", ""},
      {"structdelete(\"variables\", \"v\")", "false", ""},  // an unknown scope deletes nothing
  });
  EXPECT_FALSE(app.HasName("x"));
  EXPECT_TRUE(page->IsDefined("v"));

  // Any indicator other than "true" (in any letter case) still deletes, silently.
  page->SetVariable("session.x", "1");
  CheckRows({{"structdelete(\"application\", \"x\", \"no\")", "", ""}});
  EXPECT_FALSE(app.HasName("x"));
  page->SetVariable("session.x", "1");
  CheckRows({
      {"structdelete(\"session\", \"x\", \"TRUE\")", "true", ""},
      {"structdelete(\"local\", \"v\")", "true", ""},
  });
  EXPECT_FALSE(page->IsDefined("v"));
  cookies.Add("c", "1");
  CheckRows({
      {"structdelete(\"cookie\", \"c\")", "true", ""},
      {"structdelete(\"session\")", "ERROR", "Fn: structdelete(\"session\"\r\n)"},
  });
}

TEST_F(EnvironmentFunctions, FileCopy) {
  CheckRows({{"filecopy(\"x.txt\", \"copy.txt\")", "true", ""}});
  EXPECT_EQ(Read(appDir / "copy.txt"), "root x");

  // An existing destination is replaced; engine paths work on both sides.
  CheckRows({{"filecopy(rootpath() & \"Sel\\y.txt\", rootpath() & \"copy.txt\")", "true", ""}});
  EXPECT_EQ(Read(appDir / "copy.txt"), "sel y");

  // A file copied onto itself keeps its content.
  CheckRows({{"filecopy(\"x.txt\", \"X.txt\")", "true", ""}});
  EXPECT_EQ(Read(appDir / "x.txt"), "root x");

  // Failures are not caught: the whole clause fails and nothing is left behind.
  // Paths are used as written: z.txt is not looked for in the page's folder.
  for (const char* clause : {"filecopy(\"z.txt\", \"d.txt\")",
                             "filecopy(\"nosuch.txt\", \"d.txt\") & \"tail\"", "filecopy(\"Sel\", \"d.txt\")",
                             "filecopy(\"x.txt\")", "filecopy(\"x.txt\", \"nosuchfolder\\d.txt\")"}) {
    SCOPED_TRACE(clause);
    errors.clear();
    EXPECT_EQ(Eval(clause), "");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].rfind("Error Parsing Clause Results, text = ", 0), 0u) << errors[0];
  }
  EXPECT_FALSE(fs::exists(appDir / "d.txt"));
  // A failed copy onto an existing file leaves that file as it was.
  Write(appDir / "keep.txt", "kept");
  EXPECT_EQ(Eval("filecopy(\"Sel\", \"keep.txt\")"), "");
  EXPECT_EQ(Read(appDir / "keep.txt"), "kept");
  for (const auto& entry : fs::directory_iterator(appDir))
    EXPECT_EQ(entry.path().string().find(".vantrel-tmp"), std::string::npos) << entry.path();
}

// An argument clause without any entry (not something a written call produces:
// f() holds one empty argument) takes each built-in's failure path.
TEST_F(EnvironmentFunctions, MissingArgumentFailures) {
  using Fn = void (*)(TClause&, TClause&, std::string&);
  const struct {
    const char* Name;
    Fn Function;
    const char* Result;
    const char* Error;
  } rows[] = {
      {"fileexists", Fn_fileexists, "ERROR", "Fn: FileExists()"},
      {"directoryexists", Fn_directoryexists, "ERROR", "Fn: DirectoryExists()"},
      {"dosexec", Fn_dosexec, "ERROR", "Fn: dosexec()"},
      {"dosexechide", Fn_dosexechide, "ERROR", "Fn: dosexechide()"},
      {"shellexec", Fn_shellexec, "ERROR", "Fn: shellexec()"},
      {"shellexechide", Fn_shellexechide, "ERROR", "Fn: shellexechide()"},
      {"evaluate", Fn_evaluate, "ERROR", "Fn: Evaluate()"},
      {"valueof", Fn_valueof, "ERROR", "Fn: valueof()"},
      {"isdefined", Fn_isdefined, "ERROR", "Fn: isdefined()"},
      {"parameterexists", Fn_parameterexists, "ERROR", "Fn: ParameterExists()"},
      {"structdelete", Fn_structdelete, "ERROR", "Fn: structdelete()"},
      {"rootpath", Fn_rootpath, nullptr, nullptr},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    TTextStream empty{std::string()};
    TClause caller(engine, empty, nullptr, page.get());
    TTextStream none{std::string()};
    TClause arguments(engine, none, &caller);
    ASSERT_EQ(arguments.Elements.Count(), 0u);
    errors.clear();
    std::string result;
    row.Function(caller, arguments, result);
    if (row.Error == nullptr) {
      EXPECT_EQ(result, engine.AppFolder);
      EXPECT_TRUE(errors.empty());
      continue;
    }
    EXPECT_EQ(result, row.Result);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], row.Error);
  }
  // filecopy lets the failure travel to the clause.
  TTextStream empty{std::string()};
  TClause caller(engine, empty, nullptr, page.get());
  TTextStream none{std::string()};
  TClause arguments(engine, none, &caller);
  std::string result;
  EXPECT_ANY_THROW(Fn_filecopy(caller, arguments, result));
}

// No started program may stay behind as an unreaped child of the engine.
void ExpectNoChildren() {
  int status = 0;
  errno = 0;
  EXPECT_EQ(::waitpid(-1, &status, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
}

TEST_F(EnvironmentFunctions, ShellExecWaitsForTheExitCode) {
  Write(appDir / "exit3.sh", "exit 3\n");
  Write(appDir / "exit3", "#!/bin/sh\nexit 3\n");
  fs::permissions(appDir / "exit3", fs::perms::owner_all);
  page->SetVariable("cmd", "/bin/sh -c \"exit 7\"");
  CheckRows({
      {"shellexec(\"true\")", "0", ""},
      {"shellexec(\"false\")", "1", ""},
      {"shellexechide(\"false\")", "1", ""},
      {"shellexec(\"/bin/sh exit3.sh\")", "3", ""},
      {"shellexec(rootpath() & \"exit3\")", "3", ""},  // an engine path as the program
      {"shellexec(\"\\bin\\false\")", "1", ""},
      {"shellexec(cmd)", "7", ""},
      {"shellexec(\"nosuchprogram-vantrel\")", "-1", ""},
      {"shellexec(\"exit3.sh\")", "-1", ""},  // not executable
      {"shellexec(\"\")", "-1", ""},
      {"shellexec()", "-1", ""},
  });
  ExpectNoChildren();
}

TEST_F(EnvironmentFunctions, DosExecStartsWithoutWaiting) {
  CheckRows({
      {"dosexec(\"nosuchprogram-vantrel\")", "0", ""},
      {"dosexechide(\"\")", "0", ""},
      {"dosexec()", "0", ""},
  });
  Write(appDir / "slow.sh", "sleep 2; echo done > finished\n");
  const auto start = std::chrono::steady_clock::now();
  CheckRows({{"dosexechide(\"/bin/sh slow.sh\")", "1", ""}});
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
  EXPECT_FALSE(fs::exists(appDir / "finished"));
  ExpectNoChildren();

  Write(appDir / "mark.sh", "echo started > marker\n");
  CheckRows({{"dosexec(\"/bin/sh mark.sh\")", "1", ""}});
  for (int i = 0; i < 100 && Read(appDir / "marker") != "started\n"; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(Read(appDir / "marker"), "started\n");
  ExpectNoChildren();
  // Let the slow script end before its folder goes.
  for (int i = 0; i < 100 && !fs::exists(appDir / "finished"); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

TEST_F(EnvironmentFunctions, BadInputsNeitherCrashNorHang) {
  std::string climb;
  for (int i = 0; i < 5000; ++i) climb += "..\\";
  const std::vector<std::string> clauses = {
      "fileexists(\"" + climb + "x.txt\")",
      "directoryexists(\"" + climb + "\")",
      "fileexists(\"\\\")",
      "fileexists(\"..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\x.txt\")",
      "directoryexists(\"..\\\")",
      "fileexists(\"\\\\\\\\\\\\\")",
      "fileexists(\" \", \" \", \" \")",
      "shellexec(\"\\\")",
      "shellexec(\".\")",
      "shellexec(\"..\")",
      "shellexec(\"\"\"\")",
      "dosexec(\"\\\")",
      "dosexec(\"      \")",
      "dosexechide(\"/\")",
      "filecopy(\"\", \"\")",
      "filecopy(\"x.txt\", \"\")",
      "filecopy(\"x.txt\", \"\\\")",
      "filecopy(\"/dev/zero\", \"zero.txt\")",
      "evaluate(\"\")",
      "evaluate(\"-\")",
      "evaluate(\"(1+2)\")",
      "valueof(\"#v#\")",
      "isdefined(\"\")",
      "isdefined(\"(\")",
      "parameterexists(\"cookie.\")",
      "structdelete(\"\", \"\")",
      "structdelete(\"session\", \"\", \"\")",
      "structdelete(\"session.\", \".\")",
  };
  for (const std::string& clause : clauses) {
    SCOPED_TRACE(clause.substr(0, 80));
    Eval(clause);
  }
  EXPECT_FALSE(fs::exists(appDir / "zero.txt"));
  EXPECT_TRUE(fs::exists(appDir / "x.txt"));
  ExpectNoChildren();
}

// ---- platform ----

TEST(CommandLine, Splitting) {
  const struct {
    const char* Line;
    std::vector<std::string> Words;
  } rows[] = {
      {"", {}},
      {"   \t ", {}},
      {"a b  c", {"a", "b", "c"}},
      {"  a\tb ", {"a", "b"}},
      {"\"a b\" c", {"a b", "c"}},
      {"a\"b c\"d", {"ab cd"}},
      {"x \"\" y", {"x", "", "y"}},
      {"\"\"", {""}},
      {"sh -c \"exit 3", {"sh", "-c", "exit 3"}},  // an open quote runs to the end
      {"\\tmp\\app\\x.exe /c 'a b'", {"\\tmp\\app\\x.exe", "/c", "'a", "b'"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Line);
    EXPECT_EQ(platform::SplitCommandLine(row.Line), row.Words);
  }
}

TEST(Process, ExitCodesAndSurroundings) {
  EXPECT_EQ(platform::RunProcess("/bin/sh -c \"exit 3\""), 3);
  EXPECT_EQ(platform::RunProcess("/bin/sh -c \"exit 255\""), 255);
  EXPECT_EQ(platform::RunProcess("/bin/sh -c \"kill -TERM $$\""), 128 + 15);
  EXPECT_EQ(platform::RunProcess("nosuchprogram-vantrel"), std::nullopt);
  // Standard input is the null device, and other open files are not inherited.
  EXPECT_EQ(platform::RunProcess("/bin/sh -c \"test $(readlink /proc/self/fd/0) = /dev/null\""), 0);
  const int fd = ::open("/dev/null", O_RDONLY);  // inheritable
  ASSERT_GE(fd, 0);
  EXPECT_EQ(platform::RunProcess("/bin/sh -c \"test -e /proc/self/fd/" + std::to_string(fd) + "\""), 1);
  ::close(fd);
  // Arguments arrive as split, blanks and backslashes included.
  EXPECT_EQ(platform::RunProcess("/bin/sh -c \"case $1 in 'a b\\c') exit 0;; esac; exit 1\" - \"a b\\c\""), 0);
  EXPECT_TRUE(platform::StartProcess("true"));
  EXPECT_FALSE(platform::StartProcess("nosuchprogram-vantrel"));
  ExpectNoChildren();
}

}  // namespace
}  // namespace vantrel
