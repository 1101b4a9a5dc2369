// Addresses at the edge between the desktop browser and the engine. Pages are shown
// as documents with a file:// base, so that the stylesheets, images and scripts a
// page names load from disk; a relative link the browser resolves to a file under
// the application folder reaches the navigation handler as the engine path of that
// file, and an engine path the handler hands back (a language link or a back step
// to such a page) becomes a file:// address for the browser again. Free of any
// window or browser code, so it is tested on its own.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vantrel::desktop {

// "file:///tmp/x/app/" for the host folder /tmp/x/app (a trailing "/" when folder is
// true). The path is written as percent-encoded UTF-8; letters, digits and
// "-._~/" stay as they are.
std::string FileUrlFromHostPath(const std::filesystem::path& hostPath, bool folder);

// The engine path of a file:// address under the application folder (engine form,
// ending in "\"): the path decoded and written with "\" (its bytes are the host's, as
// everywhere in the engine's paths), the query string and fragment kept as the
// browser sent them. "file:///tmp/x/app/Select/
// Page.qsp?a=1" with "\tmp\x\app\" gives "\tmp\x\app\Select\Page.qsp?a=1". Any other
// address (another scheme, or a file outside the folder) gives the empty text.
std::string EnginePathFromFileUrl(std::string_view url, std::string_view appFolder);

// The address to give the browser for a URL text of the navigation handler: an
// engine path (it begins with "\") becomes the file:// address of that file as it
// exists on disk, with its query string; every other text stays as it is.
std::string BrowserUrlFromHandlerUrl(const std::string& url);

// A page begins with the prologue that names its folder twice, as the document's
// base and as the folder of the stylesheet, in engine form ("\tmp\x\app\Select\").
// The browser reads that as a path on the file:// base, but a file system that
// tells letter cases apart would miss a folder the pseudo-URL spelled in another
// case (the browser writes the host of "http://Select\..." in small letters). Both
// are replaced by the file:// address of the folder as it exists on disk. A page
// without the prologue (a redirect page) is returned unchanged.
std::string WithFileBase(const std::string& html);

}  // namespace vantrel::desktop
