// What the HTTP host sends besides the application's own files: the shell page (the
// main window's header strip above the page area), its script, the routing script
// that every delivered page carries, the logo, and the preparation of a delivered
// page for the browser. Pages are Windows-1252 text, as the engine writes them.
#pragma once

#include <string>
#include <string_view>

namespace vantrel::http {

// One language link of the header strip.
struct TLanguageLink {
  const char* Name;   // element id, e.g. "lblDeutsch"
  const char* Text;   // link text, Windows-1252
  int LangId;
  const char* Title;  // the title label's text once chosen, Windows-1252
};

// The four links in the order they stand in the header: Deutsch, English,
// Français, Italiano.
const TLanguageLink* LanguageLinks();
constexpr int LanguageLinkCount = 4;
// The link with this LangID, or none.
const TLanguageLink* LanguageLinkById(int langId);

// The shell page (Windows-1252). title: the title label's text; a single blank
// until a language is chosen.
std::string ShellPage(std::string_view title);

// Static assets of the host (ASCII text).
const std::string& ShellScript();
const std::string& PageScript();
const std::string& LogoSvg();

// Readies a page the navigation handler delivered for the browser: a refresh
// meta element whose address is a pseudo-URL of a page is pointed at the host's
// navigation endpoint (the same frame), and the routing script is put first,
// told the application folder, the URL text the page was requested with, and the
// frame it is shown in. scriptSrc: the address of the routing script.
std::string PreparePage(const std::string& html, const std::string& appFolder, const std::string& url,
                        const std::string& target, const std::string& scriptSrc);

// The content type for a file the host serves as it is, chosen by its extension;
// empty for kinds it does not serve (templates, databases, anything unknown).
std::string StaticContentType(std::string_view fileName);

// Escapes &, <, > and double quotes for an HTML attribute or text.
std::string HtmlEscape(std::string_view text);

// The URL classes of the navigation handler, on the URL text.
bool IsTemplateUrl(std::string_view url);
bool IsRoutedUrl(std::string_view url);

}  // namespace vantrel::http
