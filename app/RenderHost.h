// The command-line host: runs a sequence of navigations through the navigation
// handler and writes the delivered pages to files or to standard output.
#pragma once

#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

namespace vantrel {

struct TRenderOptions {
  std::string AppDir;
  std::string LocaleId;  // empty: from the environment, else en-US
  std::vector<std::pair<std::string, std::string>> Sets;
  std::string OutDir;  // empty: the last delivered page goes to standard output
  bool Errors = false;
  int WritePauseMs = 1000;
  int Repeat = 1;
  std::string SaveAs;   // the answer of every save dialog; empty: the user cancels
  std::string MailLog;  // record messages here instead of starting the mail program
  std::vector<std::string> Urls;
};

// Returns the process exit code: 0, or 1 when the application folder is missing.
int RunRender(const TRenderOptions& options, std::ostream& out, std::ostream& err);

// `vantrel scramble IN OUT` and `vantrel unscramble IN OUT`.
int RunScramble(const std::string& in, const std::string& out, bool scramble, std::ostream& err);

}  // namespace vantrel
