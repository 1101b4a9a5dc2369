// The before-navigate handler; see Navigation.h.
#include "app/Navigation.h"

#include "engine/Strings.h"
#include "engine/TPBaseTag.h"

namespace vantrel {

TNavigationHandler::TNavigationHandler(std::string appFolder, platform::RegionalSettings regional,
                                       IBrowserHost& host)
    : Engine(std::move(appFolder), std::move(regional)), Host_(host) {
  NavigationHistory.push_back("http://select\\index.cfm");
}

void TNavigationHandler::FormShow(const TScreenInfo& screen) {
  AppVariables.Add("ScreenWidth", std::to_string(screen.ScreenWidth));
  AppVariables.Add("ScreenHeight", std::to_string(screen.ScreenHeight));
  AppVariables.Add("WindowWidth", std::to_string(screen.WindowWidth));
  AppVariables.Add("WindowHeight", std::to_string(screen.WindowHeight));
  AppVariables.Add("DecimalCode", std::string(1, Engine.Regional.DecimalSeparator));
}

void TNavigationHandler::FormResize(int windowWidth, int windowHeight) {
  int w = AppVariables.IndexOfName("WindowWidth");
  if (w >= 0) AppVariables.ReplaceValue(static_cast<size_t>(w), std::to_string(windowWidth));
  int h = AppVariables.IndexOfName("WindowHeight");
  if (h >= 0) AppVariables.ReplaceValue(static_cast<size_t>(h), std::to_string(windowHeight));
}

std::string TNavigationHandler::SelectLanguage(int langId) {
  AppVariables.SetValue("LangID", std::to_string(langId));
  return AppVariables.Value("URL");
}

void TNavigationHandler::WebBrowser1BeforeNavigate2(std::string& URL, const std::string& TargetFrameName,
                                                    bool& Cancel) {
  std::string Path = URL;
  if (Contains(URL, ".qsp")) AppVariables.SetValue("URL", URL);

  if (Contains(URL, "javascript:back();")) {
    // The page being left and the one returned to both go; the history step below
    // adds the one returned to again.
    if (NavigationHistory.size() < 2) {
      URL = NavigationHistory.empty() ? std::string() : NavigationHistory.front();
    } else {
      URL = NavigationHistory[NavigationHistory.size() - 2];
      NavigationHistory.pop_back();
      NavigationHistory.pop_back();
    }
    AppVariables.SetValue("URL", URL);
    Path = URL;
  }

  const bool isTemplate = Contains(URL, ".qsp") || Contains(URL, ".cfm");
  if (isTemplate) NavigationHistory.push_back(URL);

  if (LowerCase(URL.substr(0, 7)) == "http://") {
    std::string s = URL.substr(7);
    size_t slashQuery = s.find("/?");
    if (slashQuery != std::string::npos) s.erase(slashQuery, 1);
    std::string pathPart = s, queryPart;
    size_t q = s.find('?');
    if (q != std::string::npos) {
      pathPart = s.substr(0, q);
      queryPart = s.substr(q);
    }
    for (char& c : pathPart)
      if (c == '/') c = '\\';
    if (!pathPart.empty() && pathPart.back() == '\\') pathPart.pop_back();
    Path = Engine.AppFolder + pathPart + queryPart;
  }

  if (isTemplate) {
    Cancel = true;
    std::string html;
    {
      auto page = TPBaseTag::CreatePage(Engine, Path, nullptr, &AppVariables, &Cookies, &QueryList);
      html = page->Render();
    }  // freeing the page empties QueryList and drops the page's variables
    if (TargetFrameName.empty())
      Host_.DeliverToMainDocument(html);
    else
      Host_.DeliverToFrame(TargetFrameName, html);
  }

  if (Contains(URL, ".pdf")) {
    Cancel = true;
    Host_.OpenWithShell(Path);
  }
}

}  // namespace vantrel
