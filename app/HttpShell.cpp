// The shell page, the host's scripts and the preparation of delivered pages; see
// HttpShell.h.
#include "app/HttpShell.h"

#include <algorithm>
#include <cctype>

#include "app/HttpHost.h"
#include "platform/RegionalSettings.h"

namespace vantrel::http {

namespace {

// Windows-1252 texts of the header strip: "Fran\xE7ais" is Français, "S\xE9lection" Sélection.
constexpr TLanguageLink kLanguageLinks[LanguageLinkCount] = {
    {"lblDeutsch", "Deutsch", 1, "Quorvel Auslegung"},
    {"lblEnglish", "English", 4, "Quorvel Sizer"},
    {"lblFrench", "Fran\xE7" "ais", 2, "Quorvel S\xE9lection"},
    {"lblItaliano", "Italiano", 3, "Quorvel Selezione"},
};
// The separators between the links, with their left positions in the link panel.
constexpr const char* kSeparatorNames[LanguageLinkCount - 1] = {"Label2", "Label3", "Label1"};

constexpr const char* kShellHead = R"HTML(<!DOCTYPE html>
<html><head><meta charset="windows-1252"><title>Vantrel</title>
<link rel="icon" href="/.vantrel/logo.svg">
<style>
html,body{margin:0;height:100%;overflow:hidden;background:#fff;font:8pt Tahoma,sans-serif}
#Panel1{position:relative;height:50px;background:#fff}
#pnlAdd{position:absolute;inset:0;background:#fff}
#imgLogo{position:absolute;left:15px;top:3px;width:102px;height:44px}
#lblTitle{position:absolute;left:204px;top:15px;font:bold 11pt Arial,sans-serif;color:rgb(255,102,0);white-space:pre}
#Panel2{position:absolute;right:36px;top:0;width:286px;height:50px;background:#fff}
#Panel2>*{position:absolute;top:30px;font:bold 10pt Arial,sans-serif;white-space:pre}
#Panel2 a{color:rgb(51,102,153);text-decoration:none;cursor:pointer}
#lblDeutsch{left:23px}#Label2{left:79px}#lblEnglish{left:96px}#Label3{left:148px}
#lblFrench{left:162px}#Label1{left:222px}#lblItaliano{left:239px}
#WebBrowser1{position:absolute;top:50px;left:0;width:100%;height:calc(100% - 50px);border:0;display:block}
</style></head>
<body>
<div id="Panel1"><div id="pnlAdd">
<img id="imgLogo" src="/.vantrel/logo.svg" alt="">
)HTML";

constexpr const char* kShellTail = R"HTML(<iframe id="WebBrowser1" src="about:blank" title="Vantrel"></iframe>
<script src="/.vantrel/shell.js"></script>
</body></html>
)HTML";

// Start-up, the language links, the window size and the context menu of the shell.
constexpr const char* kShellScript = R"JS(// The shell page of the Vantrel HTTP host.
(function () {
  'use strict';
  window.__vantrelShell = true;
  var area = document.getElementById('WebBrowser1');
  var title = document.getElementById('lblTitle');
  // The key is a cookie now: keep it out of the address bar and the history.
  if (location.search) history.replaceState(null, '', location.pathname);
  function sizes() {
    return 'ww=' + window.outerWidth + '&wh=' + window.outerHeight;
  }
  function show(url) {
    area.contentWindow.location.replace(url);
  }
  // As the main window when first shown: the sizes, then the start page.
  show('/start?sw=' + screen.width + '&sh=' + screen.height + '&' + sizes());
  var links = document.querySelectorAll('#Panel2 a[data-lang]');
  for (var i = 0; i < links.length; i++) {
    links[i].addEventListener('click', function (e) {
      e.preventDefault();
      title.textContent = this.getAttribute('data-title');
      show('/lang?id=' + this.getAttribute('data-lang'));
    });
  }
  var timer = 0;
  window.addEventListener('resize', function () {
    clearTimeout(timer);
    timer = setTimeout(function () {
      fetch('/resize?' + sizes(), { credentials: 'same-origin', cache: 'no-store' }).catch(function () {});
    }, 250);
  });
  window.addEventListener('contextmenu', function (e) { e.preventDefault(); }, true);
})();
)JS";

// Carried by every delivered page. It routes what a page asks the browser to open
// to the host's navigation endpoint with the URL text the navigation handler
// expects: a pseudo-URL exactly as written, a relative address as the engine path
// of the file it resolves to (against the page's base address), "javascript:back();"
// as it stands. Addresses the handler leaves alone stay with the browser.
constexpr const char* kPageScript = R"JS(// Navigation routing of the Vantrel HTTP host.
(function () {
  'use strict';
  var me = document.currentScript;
  if (!me || window.__vantrelPage) return;
  window.__vantrelPage = true;
  var app = me.getAttribute('data-app') || '';
  var prefix = app.replace(/\\/g, '/');
  var selfUrl = me.getAttribute('data-url') || '';
  var nativeOpen = window.open;
  var nativeSubmit = HTMLFormElement.prototype.submit;

  function has(t, s) { return t.indexOf(s) >= 0; }
  function isTemplate(t) { return has(t, '.qsp') || has(t, '.cfm') || has(t, 'javascript:back();'); }
  function isRouted(t) { return isTemplate(t) || has(t, '.pdf'); }
  function trim(s) { return String(s).replace(/^[\u0000-\u0020]+|[\u0000-\u0020]+$/g, ''); }

  // The window that shows application pages: the shell's page area, or this
  // window's top when a page is opened on its own.
  function pageArea() {
    var w = window;
    try {
      while (w.parent !== w) {
        if (w.parent.__vantrelShell) return w;
        w = w.parent;
      }
    } catch (e) { /* a foreign parent: stop here */ }
    return w;
  }

  // The URL text the navigation handler receives for an address as written.
  function urlText(raw) {
    raw = trim(raw);
    if (/^javascript:/i.test(raw)) return raw;
    var u;
    try { u = new URL(raw, document.baseURI); } catch (e) { return raw; }
    var scheme = /^[a-z][a-z0-9+.\-]*:/i.test(raw);
    if (u.origin !== location.origin) return scheme ? raw : u.href;
    var path;
    try { path = decodeURIComponent(u.pathname); } catch (e) { path = u.pathname; }
    if (path.indexOf(prefix) !== 0) return path.replace(/\//g, '\\') + u.search;
    var q = raw.indexOf('?');
    var query = q >= 0 ? raw.slice(q).split('#')[0] : '';
    return app + path.slice(prefix.length).replace(/\//g, '\\') + query;
  }

  function findFrame(w, name) {
    for (var i = 0; i < w.frames.length; i++) {
      try {
        var f = w.frames[i];
        if (f.name === name) return f;
        var inner = findFrame(f, name);
        if (inner) return inner;
      } catch (e) { /* not ours */ }
    }
    return null;
  }

  // Where a navigation with this target shows, and the frame name the handler gets.
  function destination(name) {
    var area = pageArea();
    if (!name || name === '_self') return { win: window, target: window === area ? '' : window.name };
    if (name === '_top' || name === '_blank') return { win: area, target: '' };
    if (name === '_parent') {
      var p = window === area ? area : window.parent;
      return { win: p, target: p === area ? '' : p.name };
    }
    var f = findFrame(area, name);
    return f ? { win: f, target: name } : { win: area, target: name };
  }

  function go(text, name) {
    var url = '/navigate?url=' + encodeURIComponent(text);
    if (!isTemplate(text)) {
      // A document for the desktop's viewer: the browser shows it beside the application.
      nativeOpen.call(window, url, '_blank');
      return;
    }
    var d = destination(name);
    if (d.target) url += '&target=' + encodeURIComponent(d.target);
    d.win.location.replace(url);
  }

  // Form fields as a browser sends them from a Windows-1252 page.
  var cp1252 = { 0x20AC: 0x80, 0x201A: 0x82, 0x0192: 0x83, 0x201E: 0x84, 0x2026: 0x85, 0x2020: 0x86,
    0x2021: 0x87, 0x02C6: 0x88, 0x2030: 0x89, 0x0160: 0x8A, 0x2039: 0x8B, 0x0152: 0x8C, 0x017D: 0x8E,
    0x2018: 0x91, 0x2019: 0x92, 0x201C: 0x93, 0x201D: 0x94, 0x2022: 0x95, 0x2013: 0x96, 0x2014: 0x97,
    0x02DC: 0x98, 0x2122: 0x99, 0x0161: 0x9A, 0x203A: 0x9B, 0x0153: 0x9C, 0x017E: 0x9E, 0x0178: 0x9F };
  function hex(b) { return '%' + (b < 16 ? '0' : '') + b.toString(16).toUpperCase(); }
  function encode(s) {
    var out = '';
    s = String(s).replace(/\r\n|\r|\n/g, '\r\n');
    for (var i = 0; i < s.length; i++) {
      var cp = s.codePointAt(i);
      if (cp > 0xFFFF) i++;
      var ch = String.fromCodePoint(cp);
      if (/[A-Za-z0-9*\-._]/.test(ch)) out += ch;
      else if (cp === 0x20) out += '+';
      else if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) out += hex(cp);
      else if (cp1252[cp] !== undefined) out += hex(cp1252[cp]);
      else out += encode('&#' + cp + ';');
    }
    return out;
  }
  function fields(form, submitter) {
    var data;
    try { data = submitter ? new FormData(form, submitter) : new FormData(form); } catch (e) { data = new FormData(form); }
    var parts = [];
    data.forEach(function (value, name) {
      parts.push(encode(name) + '=' + encode(typeof value === 'string' ? value : value.name));
    });
    return parts.join('&');
  }
  function attr(el, name) { return el ? el.getAttribute(name) : null; }
  function baseTarget() {
    var b = document.querySelector('base[target]');
    return b ? b.getAttribute('target') : '';
  }

  // The URL text of a form submission: GET appends the fields to the action; the
  // fields of a POST are not passed on.
  function formText(form, submitter) {
    var method = (attr(submitter, 'formmethod') || form.getAttribute('method') || 'get').toLowerCase();
    if (method === 'dialog') return null;
    var action = attr(submitter, 'formaction');
    if (action === null) action = form.getAttribute('action');
    var text = action === null || trim(action) === '' ? selfUrl : urlText(action);
    if (method !== 'post') {
      var q = text.indexOf('?');
      if (q >= 0) text = text.slice(0, q);
      text += '?' + fields(form, submitter);
    }
    return text;
  }
  function formTarget(form, submitter) {
    return attr(submitter, 'formtarget') || form.getAttribute('target') || baseTarget();
  }

  window.addEventListener('click', function (e) {
    if (e.defaultPrevented || e.button !== 0) return;
    var a = e.target && e.target.closest ? e.target.closest('a[href], area[href]') : null;
    if (!a) return;
    var text = urlText(a.getAttribute('href'));
    if (!isRouted(text)) return;
    e.preventDefault();
    go(text, a.getAttribute('target') || baseTarget());
  });

  window.addEventListener('submit', function (e) {
    if (e.defaultPrevented) return;
    var form = e.target;
    if (!(form instanceof HTMLFormElement)) return;
    var text = formText(form, e.submitter || null);
    if (text === null || !isRouted(text)) return;
    e.preventDefault();
    go(text, formTarget(form, e.submitter || null));
  });

  HTMLFormElement.prototype.submit = function () {
    var text = formText(this, null);
    if (text !== null && isRouted(text)) go(text, formTarget(this, null));
    else nativeSubmit.call(this);
  };

  window.open = function (url, name) {
    if (typeof url === 'string') {
      var text = urlText(url);
      if (isRouted(text)) {
        go(text, name || '_blank');
        return null;
      }
    }
    return nativeOpen.apply(window, arguments);
  };

  // "javascript:back();" run as script: the handler's back step.
  window.back = function () { go('javascript:back();', ''); };

  // Whatever else leaves the page for a pseudo-URL (a script setting location, a
  // refresh): only the resolved address is known here, so the written letter case
  // and separators are lost.
  if (window.navigation && window.navigation.addEventListener) {
    window.navigation.addEventListener('navigate', function (e) {
      if (!e.cancelable || e.hashChange || e.downloadRequest !== null) return;
      if (e.navigationType === 'traverse' || e.navigationType === 'reload') return;
      var u;
      try { u = new URL(e.destination.url); } catch (x) { return; }
      if (u.origin === location.origin) return;
      if (!isRouted(u.href)) return;
      e.preventDefault();
      go(u.href, '');
    });
  }

  window.addEventListener('contextmenu', function (e) { e.preventDefault(); }, true);
})();
)JS";

// A plain mark for the header: a valve symbol and the product name.
constexpr const char* kLogoSvg =
    R"SVG(<svg xmlns="http://www.w3.org/2000/svg" width="102" height="44" viewBox="0 0 102 44">
<rect x="0" y="0" width="102" height="44" fill="#fff"/>
<path d="M4 10 L22 22 L4 34 Z M40 10 L22 22 L40 34 Z" fill="#336699"/>
<rect x="20" y="6" width="4" height="16" fill="#ff6600"/>
<rect x="14" y="4" width="16" height="4" rx="1" fill="#ff6600"/>
<text x="46" y="27" font-family="Arial,sans-serif" font-size="12" font-weight="bold" fill="#336699">VANTREL</text>
</svg>
)SVG";

std::string LowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && LowerAscii(s.substr(0, prefix.size())) == prefix;
}

// Points refresh meta elements whose address is a pseudo-URL of a page (as the
// redirect page of a location tag) at the host's navigation endpoint. Relative
// addresses already reach the host through the page's base address.
std::string RewriteRefresh(const std::string& html, const std::string& target) {
  const std::string lower = LowerAscii(html);
  std::string out;
  size_t copied = 0;
  size_t pos = 0;
  while ((pos = lower.find("<meta", pos)) != std::string::npos) {
    const size_t end = lower.find('>', pos);
    if (end == std::string::npos) break;
    const std::string_view tag(lower.data() + pos, end - pos);
    const size_t content = tag.find("content=");
    if (tag.find("http-equiv") == std::string_view::npos || tag.find("refresh") == std::string_view::npos ||
        content == std::string_view::npos) {
      pos = end;
      continue;
    }
    // The address runs to the quote that closes the content attribute.
    size_t valueStart = pos + content + 8;
    const char quote = html[valueStart] == '"' || html[valueStart] == '\'' ? html[valueStart] : '\0';
    if (quote != '\0') ++valueStart;
    const size_t urlKey = lower.find("url=", valueStart);
    if (urlKey == std::string::npos || urlKey >= end) {
      pos = end;
      continue;
    }
    size_t start = urlKey + 4;
    size_t stop = start;
    while (stop < end && (quote != '\0' ? html[stop] != quote : html[stop] != ' ')) ++stop;
    std::string url = html.substr(start, stop - start);
    if (!url.empty() && (url.front() == '\'' || url.front() == '"') && url.back() == url.front() && url.size() > 1) {
      url = url.substr(1, url.size() - 2);
      ++start;
      --stop;
    }
    if (StartsWithNoCase(url, "http://") && IsRoutedUrl(url)) {
      out.append(html, copied, start - copied);
      out += "/navigate?url=" + PercentEncode(platform::AnsiToUtf8(url));
      if (!target.empty()) out += "&amp;target=" + PercentEncode(platform::AnsiToUtf8(target));
      copied = stop;
    }
    pos = end;
  }
  out.append(html, copied, std::string::npos);
  return out;
}

}  // namespace

const TLanguageLink* LanguageLinks() { return kLanguageLinks; }

const TLanguageLink* LanguageLinkById(int langId) {
  for (const TLanguageLink& link : kLanguageLinks)
    if (link.LangId == langId) return &link;
  return nullptr;
}

std::string ShellPage(std::string_view title) {
  std::string page = kShellHead;
  page += "<span id=\"lblTitle\">" + HtmlEscape(title) + "</span>\n<div id=\"Panel2\">";
  for (int i = 0; i < LanguageLinkCount; ++i) {
    const TLanguageLink& link = kLanguageLinks[i];
    if (i > 0) page += "<span id=\"" + std::string(kSeparatorNames[i - 1]) + "\"> | </span>";
    page += "<a id=\"" + std::string(link.Name) + "\" href=\"#\" data-lang=\"" + std::to_string(link.LangId) +
            "\" data-title=\"" + HtmlEscape(link.Title) + "\">" + HtmlEscape(link.Text) + "</a>";
  }
  page += "</div>\n</div></div>\n";
  page += kShellTail;
  return page;
}

const std::string& ShellScript() {
  static const std::string script = kShellScript;
  return script;
}

const std::string& PageScript() {
  static const std::string script = kPageScript;
  return script;
}

const std::string& LogoSvg() {
  static const std::string logo = kLogoSvg;
  return logo;
}

std::string PreparePage(const std::string& html, const std::string& appFolder, const std::string& url,
                        const std::string& target, const std::string& scriptSrc) {
  std::string page = RewriteRefresh(html, target);
  const std::string tag = "<script src=\"" + scriptSrc + "\" data-app=\"" + HtmlEscape(appFolder) +
                          "\" data-url=\"" + HtmlEscape(url) + "\"></script>";
  // After a leading document type, so the page keeps its rendering mode.
  size_t at = 0;
  if (StartsWithNoCase(page, "<!doctype")) {
    const size_t close = page.find('>');
    if (close != std::string::npos) at = close + 1;
  }
  page.insert(at, tag);
  return page;
}

std::string StaticContentType(std::string_view fileName) {
  const size_t dot = fileName.rfind('.');
  const size_t slash = fileName.find_last_of("\\/");
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return {};
  const std::string ext = LowerAscii(fileName.substr(dot + 1));
  static const std::pair<const char*, const char*> kTypes[] = {
      {"css", "text/css; charset=windows-1252"},
      {"js", "text/javascript; charset=windows-1252"},
      {"htm", "text/html; charset=windows-1252"},
      {"html", "text/html; charset=windows-1252"},
      {"txt", "text/plain; charset=windows-1252"},
      {"xml", "application/xml"},
      {"json", "application/json"},
      {"pdf", "application/pdf"},
      {"png", "image/png"},
      {"gif", "image/gif"},
      {"jpg", "image/jpeg"},
      {"jpeg", "image/jpeg"},
      {"bmp", "image/bmp"},
      {"ico", "image/x-icon"},
      {"svg", "image/svg+xml"},
      {"webp", "image/webp"},
      {"woff", "font/woff"},
      {"woff2", "font/woff2"},
      {"ttf", "font/ttf"},
      {"otf", "font/otf"},
  };
  for (const auto& [e, type] : kTypes)
    if (ext == e) return type;
  return {};
}

std::string HtmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

bool IsTemplateUrl(std::string_view url) {
  return url.find(".qsp") != std::string_view::npos || url.find(".cfm") != std::string_view::npos;
}

bool IsRoutedUrl(std::string_view url) {
  return IsTemplateUrl(url) || url.find(".pdf") != std::string_view::npos ||
         url.find("javascript:back();") != std::string_view::npos;
}

}  // namespace vantrel::http
