// The desktop host: `vantrel` (or `vantrel desktop`) opens the main window on an
// application folder and runs until the window is closed.
#pragma once

#include <iosfwd>
#include <string>

namespace vantrel {

struct TDesktopOptions {
  std::string AppDir;
  std::string LocaleId;    // empty: from the environment, else en-US
  std::string Screenshot;  // write a PNG of the window once the start page is shown, then end
  std::string Trace;       // for tests: a log of what the window did and showed, and a PNG per page
  int ScreenshotTimeoutSeconds = 60;
};

// Returns the process exit code: 0 after the window was closed (or the screenshot
// was written), 1 when the application folder is missing or the screenshot failed,
// 2 when there is no display to open the window on.
int RunDesktop(const TDesktopOptions& options, std::ostream& err);

}  // namespace vantrel
