// The include tag; see TPIncludeTag.h.
#include "engine/tags/TPIncludeTag.h"

#include <exception>

#include "engine/Strings.h"

namespace vantrel {

TPIncludeTag::TPIncludeTag(TPBaseTag* parent, std::string_view attributeText)
    : TPBaseTag(parent, kInclude, attributeText) {
  MakeAttributeFragment();
}

std::string TPIncludeTag::Render() {
  Suppressed = Parent->Suppressed;
  if (Engine->Stopped() || Suppressed) return std::string();
  try {
    if (!PrepareAttributes()) return std::string();
    std::string t = GetAttribute("template", "");
    std::string d = Folder.Text();  // the including page's folder
    if (!t.empty()) {
      for (char& c : t)
        if (c == '/') c = '\\';
      std::string path;
      if (StartsWith(t, "\\")) {
        // Rooted at the application folder; a path that already names the
        // application folder is taken as it stands.
        path = StartsWith(t, Engine->AppFolder) ? t : Engine->AppFolder + t.substr(1);
      } else {
        while (Contains(t, "..\\")) {
          d = TrimRight(d);
          if (EndsWith(d, "\\")) d.pop_back();
          size_t slash = d.rfind('\\');
          if (slash != std::string::npos) d.resize(slash + 1);
          t.erase(0, 3);
        }
        path = d + t;
      }
      TDepthGuard guard(*Engine);
      if (!guard.Entered()) return std::string();
      IncludedPage.reset();
      IncludedPage = CreatePage(*Engine, path, this, Parent->AppVariables, Parent->Cookies, Parent->QueryList);
    }
    if (IncludedPage) {
      TDepthGuard guard(*Engine);
      if (!guard.Entered()) return std::string();
      return IncludedPage->Render();
    }
  } catch (const std::exception&) {
  }
  return std::string();
}

}  // namespace vantrel
