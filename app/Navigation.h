// Navigation handling shared by every host: the browser's before-navigate event
// decides, from the URL text and the target frame alone, whether a navigation is a
// template request (run by the engine, the browser's own navigation cancelled), a
// step back, a PDF for the shell, or something the browser handles itself.
#pragma once

#include <string>
#include <vector>

#include "engine/Engine.h"
#include "engine/QueryList.h"
#include "engine/TStringList.h"

namespace vantrel {

// What a host offers the navigation handler: the two kinds of delivery and the shell.
class IBrowserHost {
 public:
  virtual ~IBrowserHost() = default;
  // Loads the HTML into the main browser's document.
  virtual void DeliverToMainDocument(const std::string& html) = 0;
  // Writes the HTML into the document of the named frame that is navigating.
  virtual void DeliverToFrame(const std::string& frameName, const std::string& html) = 0;
  // Asks the desktop to open the file with its default program; the result is ignored.
  virtual void OpenWithShell(const std::string& path) = 0;
};

// The screen and window sizes a host publishes to templates at start-up.
struct TScreenInfo {
  int ScreenWidth = 1920;
  int ScreenHeight = 1080;
  int WindowWidth = 1018;
  int WindowHeight = 980;
};

// One run of the application: the engine state, the run-wide lists and the history.
class TNavigationHandler {
 public:
  TNavigationHandler(std::string appFolder, platform::RegionalSettings regional, IBrowserHost& host);

  // Creates the run-wide lists' start entries as the main window does when first
  // shown: the screen and window sizes and the decimal separator.
  void FormShow(const TScreenInfo& screen);
  // Updates WindowWidth and WindowHeight where they exist.
  void FormResize(int windowWidth, int windowHeight);
  // Sets LangID and returns the URL to navigate to (the last ".qsp" page requested).
  std::string SelectLanguage(int langId);

  // The before-navigate event. URL may be changed (a back step); Cancel is set when
  // the engine or the shell handled the navigation.
  void WebBrowser1BeforeNavigate2(std::string& URL, const std::string& TargetFrameName, bool& Cancel);

  TEngine Engine;
  std::vector<std::string> NavigationHistory;
  TStringList AppVariables;
  TCookieList Cookies;
  TQueryList QueryList;

 private:
  IBrowserHost& Host_;
};

}  // namespace vantrel
