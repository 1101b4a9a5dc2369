// The main window on GTK with a WebKit browser; see Unit1.h.
//
// How navigations reach the handler: WebKit asks "decide-policy" before it loads
// anything, for the main document and for every frame, and the window answers
// after the navigation handler has decided (ignore when the engine or the shell
// took the navigation, use otherwise). WebKit does not say which frame a navigation
// is for, so a small script in every document reports, just before a link or form
// navigates, the target it names and the frame it sits in; the report reaches the
// window before the browser's question. A frame that loads a template as its first
// document is found by its address. "javascript:back();" runs no navigation in
// WebKit: the script defines back(), which asks the window to step back.
//
// Deliveries: the main document is loaded from the page's bytes as Windows-1252
// text with a file:// base (see DesktopUrls.h); a frame's document is opened,
// written and closed by a script.
#include "app/Unit1.h"

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>
#ifdef GDK_WINDOWING_X11
#include <gdk/gdkx.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "app/DesktopUrls.h"
#include "app/QSPGlobals.h"
#include "engine/Strings.h"
#include "platform/FileSystem.h"

namespace vantrel {

namespace {

// The page script, in every document of every frame, before the page's own scripts.
constexpr const char* kPageScript = R"JS(
(function () {
  var post = function (m) {
    try { window.webkit.messageHandlers.vantrel.postMessage(m); } catch (e) {}
  };
  var framePath = function () {
    var path = [], w = window;
    while (w !== w.parent) {
      var p = w.parent, i = 0;
      while (i < p.frames.length && p.frames[i] !== w) i++;
      path.unshift(i);
      w = p;
    }
    return path;
  };
  var targetOf = function (el) {
    var t = el.getAttribute('target');
    if (t === null || t === '') {
      var b = document.querySelector('base[target]');
      t = b ? b.getAttribute('target') : '';
    }
    // Without a target a link in a frame stays in its frame.
    return t || (window !== window.top ? '_self' : '');
  };
  var backTarget = null;
  var onClick = function (e) {
    var a = e.target && e.target.closest ? e.target.closest('a[href], area[href]') : null;
    if (!a) return;
    var t = targetOf(a);
    backTarget = t;
    setTimeout(function () { backTarget = null; }, 0);
    post({kind: 'target', url: a.href, target: t, frame: framePath(), form: false});
  };
  var onSubmit = function (e) {
    var f = e.target;
    post({kind: 'target', url: f.action, target: targetOf(f), frame: framePath(), form: true});
  };
  // Writing a frame's document drops its listeners: the delivery installs them again.
  window.__vantrelInstall = function () {
    document.removeEventListener('click', onClick, true);
    document.removeEventListener('submit', onSubmit, true);
    document.addEventListener('click', onClick, true);
    document.addEventListener('submit', onSubmit, true);
  };
  window.__vantrelInstall();
  window.back = function () {
    var t = backTarget !== null ? backTarget : (window !== window.top ? '_self' : '');
    backTarget = null;
    post({kind: 'back', target: t, frame: framePath()});
  };
})();
)JS";

// Finds the window a navigation targets: path is the frame it came from (its
// indexes from the top window down, joined by ","), target the name it gave.
constexpr const char* kResolveTarget = R"JS(
var resolve = function (path, target) {
  var src = window;
  var steps = path === '' ? [] : path.split(',');
  for (var i = 0; i < steps.length; i++) {
    if (!src.frames[+steps[i]]) return null;
    src = src.frames[+steps[i]];
  }
  var find = function (w, name) {
    for (var i = 0; i < w.frames.length; i++) {
      var f = w.frames[i], n = null;
      try { n = f.name; } catch (e) { continue; }
      if (n === name) return f;
      var r = find(f, name);
      if (r) return r;
    }
    return null;
  };
  if (target === '' || target === '_self') return src;
  if (target === '_parent') return src.parent;
  if (target === '_top' || target === '_blank') return window;
  return find(window, target);
};
)JS";

// Writes html into the document of the frame a navigation targets. Arguments:
// path, target (see above) and html.
constexpr const char* kWriteFrame = R"JS(
var t = resolve(path, target);
if (!t) return 'no frame named ' + target;
try {
  var d = t.document;
  d.open();
  d.write(html);
  d.close();
  if (t.__vantrelInstall) t.__vantrelInstall();
} catch (e) {
  return 'failed: ' + e;
}
return 'ok';
)JS";

// Finds the frame element whose address is uri. Arguments: uri.
constexpr const char* kFindFrame = R"JS(
var found = null;
var walk = function (w, path) {
  var els;
  try { els = w.document.querySelectorAll('iframe, frame'); } catch (e) { return; }
  for (var i = 0; i < els.length && !found; i++) {
    if (els[i].src !== uri) continue;
    for (var j = 0; j < w.frames.length; j++) {
      if (w.frames[j] === els[i].contentWindow) { found = {name: els[i].name || '', frame: path.concat([j])}; break; }
    }
  }
  for (var k = 0; k < w.frames.length && !found; k++) walk(w.frames[k], path.concat([k]));
};
walk(window, []);
return found;
)JS";

// What the trace records of a shown document: its text and its links with their
// centres in the browser. Arguments: path and target (see above; both empty for
// the main document).
constexpr const char* kDescribePage = R"JS(
var w = resolve(path, target);
if (!w) return {text: '', links: []};
var d = w.document;
var dx = 0, dy = 0;
for (var f = w; f !== window; f = f.parent) {
  var r = f.frameElement ? f.frameElement.getBoundingClientRect() : null;
  if (r) { dx += r.left + f.frameElement.clientLeft; dy += r.top + f.frameElement.clientTop; }
}
var links = [];
var all = d.querySelectorAll('a[href]');
for (var i = 0; i < all.length; i++) {
  var r = all[i].getBoundingClientRect();
  if (r.width <= 0 || r.height <= 0) continue;
  links.push([Math.round(dx + r.left + r.width / 2), Math.round(dy + r.top + r.height / 2),
              all[i].getAttribute('href'), all[i].textContent.replace(/\s+/g, ' ').trim()]);
}
return {text: d.body ? d.body.innerText.replace(/\s*\n\s*/g, ' | ').trim() : '', links: links};
)JS";

// A script body that uses resolve().
std::string WithResolve(const char* body) { return std::string(kResolveTarget) + body; }

constexpr const char* kStyle = R"CSS(
window { font-family: Tahoma; font-size: 8pt; }
#pnlAdd, #Panel2, .vantrel-link { background-color: #ffffff; }
#lblTitle { font-family: Arial; font-size: 11pt; font-weight: bold; color: rgb(255, 102, 0); }
.vantrel-link label { font-family: Arial; font-size: 10pt; font-weight: bold; color: rgb(51, 102, 153); }
.vantrel-separator { font-family: Arial; font-size: 10pt; font-weight: bold; }
)CSS";

constexpr const char* kStartPage = "http://Select\\Index.qsp";

std::string JsString(JSCValue* object, const char* name) {
  std::string out;
  JSCValue* v = jsc_value_object_get_property(object, name);
  if (v != nullptr && jsc_value_is_string(v)) {
    char* s = jsc_value_to_string(v);
    out = s;
    g_free(s);
  }
  if (v != nullptr) g_object_unref(v);
  return out;
}

std::vector<int> JsIntArray(JSCValue* object, const char* name) {
  std::vector<int> out;
  JSCValue* v = jsc_value_object_get_property(object, name);
  if (v != nullptr && jsc_value_is_array(v)) {
    JSCValue* length = jsc_value_object_get_property(v, "length");
    const int n = length != nullptr ? jsc_value_to_int32(length) : 0;
    if (length != nullptr) g_object_unref(length);
    for (int i = 0; i < n && i < 64; ++i) {
      JSCValue* item = jsc_value_object_get_property_at_index(v, static_cast<guint>(i));
      out.push_back(item != nullptr ? jsc_value_to_int32(item) : 0);
      if (item != nullptr) g_object_unref(item);
    }
  }
  if (v != nullptr) g_object_unref(v);
  return out;
}

// A frame path for a script: its indexes joined by ",".
GVariant* FramePathVariant(const std::vector<int>& path) {
  std::string text;
  for (int i : path) text += (text.empty() ? "" : ",") + std::to_string(i);
  return g_variant_new_string(text.c_str());
}

std::string PathText(const std::vector<int>& path) {
  std::string s;
  for (int i : path) s += (s.empty() ? "" : ".") + std::to_string(i);
  return s.empty() ? "top" : s;
}

long long Now() { return g_get_monotonic_time(); }

GdkRectangle ScreenGeometry(GtkWidget* widget) {
  GdkRectangle r{0, 0, 1024, 768};
  GdkDisplay* display = gtk_widget_get_display(widget);
  GdkMonitor* monitor = nullptr;
  if (GdkWindow* w = gtk_widget_get_window(widget)) monitor = gdk_display_get_monitor_at_window(display, w);
  if (monitor == nullptr) monitor = gdk_display_get_primary_monitor(display);
  if (monitor == nullptr && gdk_display_get_n_monitors(display) > 0) monitor = gdk_display_get_monitor(display, 0);
  if (monitor != nullptr) gdk_monitor_get_geometry(monitor, &r);
  return r;
}

// The window's outer size, with the frame the window manager draws around it.
void OuterSize(GtkWidget* window, int& width, int& height) {
  GdkWindow* w = gtk_widget_get_window(window);
  if (w != nullptr) {
    GdkRectangle r;
    gdk_window_get_frame_extents(w, &r);
    width = r.width;
    height = r.height;
  } else {
    gtk_window_get_size(GTK_WINDOW(window), &width, &height);
  }
}

// The maker's logo: a valve symbol and the name, on a transparent ground.
void DrawLogo(cairo_t* cr, double width, double height) {
  const double s = std::min(width / 102.0, height / 44.0);
  cairo_save(cr);
  cairo_scale(cr, s, s);
  cairo_set_source_rgb(cr, 1.0, 0.4, 0.0);
  cairo_move_to(cr, 2, 12);
  cairo_line_to(cr, 17, 24);
  cairo_line_to(cr, 2, 36);
  cairo_close_path(cr);
  cairo_move_to(cr, 32, 12);
  cairo_line_to(cr, 17, 24);
  cairo_line_to(cr, 32, 36);
  cairo_close_path(cr);
  cairo_fill(cr);
  cairo_set_source_rgb(cr, 0.2, 0.4, 0.6);
  cairo_rectangle(cr, 15.5, 7, 3, 17);
  cairo_rectangle(cr, 10, 5, 14, 3);
  cairo_fill(cr);
  cairo_select_font_face(cr, "Arial", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, 14);
  cairo_move_to(cr, 36, 29);
  cairo_show_text(cr, "VANTREL");
  cairo_restore(cr);
}

GdkPixbuf* LogoIcon() {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 48, 48);
  cairo_t* cr = cairo_create(surface);
  cairo_translate(cr, 6, 0);
  cairo_scale(cr, 48.0 / 36.0, 48.0 / 44.0);
  DrawLogo(cr, 36 * 102.0 / 36.0, 44);  // the symbol part fills the icon
  cairo_destroy(cr);
  GdkPixbuf* icon = gdk_pixbuf_get_from_surface(surface, 0, 0, 48, 48);
  cairo_surface_destroy(surface);
  return icon;
}

// A link label: a label in an event box that takes clicks and shows a hand cursor.
GtkWidget* MakeLink(const char* name, const char* text) {
  GtkWidget* box = gtk_event_box_new();
  gtk_widget_set_name(box, name);
  gtk_style_context_add_class(gtk_widget_get_style_context(box), "vantrel-link");
  GtkWidget* label = gtk_label_new(text);
  gtk_container_add(GTK_CONTAINER(box), label);
  return box;
}

GtkWidget* MakeSeparator(const char* name) {
  GtkWidget* label = gtk_label_new(" | ");
  gtk_widget_set_name(label, name);
  gtk_style_context_add_class(gtk_widget_get_style_context(label), "vantrel-separator");
  return label;
}

}  // namespace

TfrmQuillon::TfrmQuillon(std::string appFolder, platform::RegionalSettings regional, TDesktopTrace* trace)
    : AppFolder_(std::move(appFolder)), Trace_(trace) {
  DeliveryBase_ = desktop::FileUrlFromHostPath(platform::ToHostPath(AppFolder_), true);
  Cancellable_ = g_cancellable_new();
  Navigation_ = std::make_unique<TNavigationHandler>(AppFolder_, std::move(regional), *this);
  BuildWindow();
  FormCreate();
}

TfrmQuillon::~TfrmQuillon() {
  g_cancellable_cancel(Cancellable_);
  if (Scripts_ != nullptr) {
    g_signal_handlers_disconnect_by_data(Scripts_, this);
    g_object_unref(Scripts_);
  }
  if (frmQuillon != nullptr) {
    for (GtkWidget* w : {frmQuillon, WebBrowser1, imgLogo, lblDeutsch, lblEnglish, lblFrench, lblItaliano})
      g_signal_handlers_disconnect_by_data(w, this);
    UIHandler_.reset();  // before its browser goes
    gtk_widget_destroy(frmQuillon);
  }
  g_object_unref(Cancellable_);
}

void TfrmQuillon::BuildWindow() {
  GtkCssProvider* css = gtk_css_provider_new();
  gtk_css_provider_load_from_data(css, kStyle, -1, nullptr);
  gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(css),
                                            GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  g_object_unref(css);

  frmQuillon = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_widget_set_name(frmQuillon, "frmQuillon");
  gtk_window_set_title(GTK_WINDOW(frmQuillon), "Vantrel");
  GdkPixbuf* icon = LogoIcon();
  gtk_window_set_icon(GTK_WINDOW(frmQuillon), icon);
  g_object_unref(icon);

  GtkWidget* column = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
  gtk_container_add(GTK_CONTAINER(frmQuillon), column);

  // Panel1 (height 50) holds pnlAdd, which fills it: white, with the logo and the
  // title on the left and Panel2 with the language links on the right.
  Panel1 = gtk_event_box_new();
  gtk_widget_set_name(Panel1, "Panel1");
  gtk_widget_set_size_request(Panel1, -1, 50);
  gtk_box_pack_start(GTK_BOX(column), Panel1, FALSE, FALSE, 0);
  pnlAdd = gtk_event_box_new();
  gtk_widget_set_name(pnlAdd, "pnlAdd");
  gtk_container_add(GTK_CONTAINER(Panel1), pnlAdd);
  GtkWidget* strip = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
  gtk_container_add(GTK_CONTAINER(pnlAdd), strip);

  GtkWidget* left = gtk_fixed_new();
  gtk_box_pack_start(GTK_BOX(strip), left, TRUE, TRUE, 0);
  imgLogo = gtk_drawing_area_new();
  gtk_widget_set_name(imgLogo, "imgLogo");
  gtk_widget_set_size_request(imgLogo, 102, 44);
  gtk_fixed_put(GTK_FIXED(left), imgLogo, 15, 3);
  g_signal_connect(imgLogo, "draw", G_CALLBACK(&TfrmQuillon::OnDrawLogo), this);
  lblTitle = gtk_label_new(" ");
  gtk_widget_set_name(lblTitle, "lblTitle");
  gtk_fixed_put(GTK_FIXED(left), lblTitle, 204, 15);

  Panel2 = gtk_event_box_new();
  gtk_widget_set_name(Panel2, "Panel2");
  gtk_widget_set_size_request(Panel2, 286, 50);
  gtk_widget_set_margin_end(Panel2, 36);
  gtk_box_pack_end(GTK_BOX(strip), Panel2, FALSE, FALSE, 0);
  GtkWidget* links = gtk_fixed_new();
  gtk_container_add(GTK_CONTAINER(Panel2), links);
  lblDeutsch = MakeLink("lblDeutsch", "Deutsch");
  Label2 = MakeSeparator("Label2");
  lblEnglish = MakeLink("lblEnglish", "English");
  Label3 = MakeSeparator("Label3");
  lblFrench = MakeLink("lblFrench", "Fran\xC3\xA7" "ais");
  Label1 = MakeSeparator("Label1");
  lblItaliano = MakeLink("lblItaliano", "Italiano");
  gtk_fixed_put(GTK_FIXED(links), lblDeutsch, 23, 30);
  gtk_fixed_put(GTK_FIXED(links), Label2, 79, 30);
  gtk_fixed_put(GTK_FIXED(links), lblEnglish, 96, 30);
  gtk_fixed_put(GTK_FIXED(links), Label3, 148, 30);
  gtk_fixed_put(GTK_FIXED(links), lblFrench, 162, 30);
  gtk_fixed_put(GTK_FIXED(links), Label1, 222, 30);
  gtk_fixed_put(GTK_FIXED(links), lblItaliano, 239, 30);
  for (GtkWidget* link : {lblDeutsch, lblEnglish, lblFrench, lblItaliano}) {
    g_signal_connect(link, "button-press-event", G_CALLBACK(&TfrmQuillon::OnLinkPress), this);
    g_signal_connect(link, "realize", G_CALLBACK(&TfrmQuillon::OnLinkRealize), this);
  }

  // WebBrowser1 fills the rest.
  Scripts_ = webkit_user_content_manager_new();
  webkit_user_content_manager_register_script_message_handler(Scripts_, "vantrel");
  g_signal_connect(Scripts_, "script-message-received::vantrel", G_CALLBACK(&TfrmQuillon::OnScriptMessage), this);
  WebKitUserScript* script = webkit_user_script_new(kPageScript, WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES,
                                                    WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, nullptr, nullptr);
  webkit_user_content_manager_add_script(Scripts_, script);
  webkit_user_script_unref(script);
  WebBrowser1 = GTK_WIDGET(g_object_new(WEBKIT_TYPE_WEB_VIEW, "user-content-manager", Scripts_, nullptr));
  gtk_widget_set_name(WebBrowser1, "WebBrowser1");
  WebKitSettings* settings = webkit_web_view_get_settings(WEBKIT_WEB_VIEW(WebBrowser1));
  // Pages, their frames and the files they name are all local: let them reach
  // one another as one site.
  webkit_settings_set_allow_file_access_from_file_urls(settings, TRUE);
  gtk_box_pack_start(GTK_BOX(column), WebBrowser1, TRUE, TRUE, 0);
  g_signal_connect(WebBrowser1, "decide-policy", G_CALLBACK(&TfrmQuillon::OnDecidePolicy), this);
  g_signal_connect(WebBrowser1, "load-changed", G_CALLBACK(&TfrmQuillon::OnLoadChanged), this);

  g_signal_connect(frmQuillon, "map-event", G_CALLBACK(&TfrmQuillon::OnMapEvent), this);
  g_signal_connect(frmQuillon, "configure-event", G_CALLBACK(&TfrmQuillon::OnConfigureEvent), this);
  g_signal_connect(frmQuillon, "delete-event", G_CALLBACK(&TfrmQuillon::OnDeleteEvent), this);
}

void TfrmQuillon::FormCreate() {
  UIHandler_ = std::make_unique<TDocHostUIHandler>();
  UIHandler_->OnSuppressed = [this] { Trace("context-menu suppressed"); };
  // The browser shows no menu of its own from its first document on.
  UIHandler_->Install(WEBKIT_WEB_VIEW(WebBrowser1));

  const GdkRectangle screen = ScreenGeometry(frmQuillon);
  int width = 1002, height = 673;
  if (screen.height > 880) height = screen.height - 100;
  gtk_window_set_default_size(GTK_WINDOW(frmQuillon), width, height);
  gtk_window_set_position(GTK_WINDOW(frmQuillon), GTK_WIN_POS_CENTER);
  if (screen.width < 1000) gtk_window_maximize(GTK_WINDOW(frmQuillon));
  // NavigationHistory starts with its one entry in the navigation handler.
}

void TfrmQuillon::UseDatabases(TQDBSession& session) {
  TEngine& engine = Navigation_->Engine;
  engine.Session = &session;
  engine.WritePauseMs = 1000;
  engine.MailProgram = SendWithMailProgram;
  engine.SaveDialog = [this](const TSaveDialogRequest& request, std::string& chosen) {
    GtkWidget* dialog = gtk_file_chooser_dialog_new("Save", GTK_WINDOW(frmQuillon), GTK_FILE_CHOOSER_ACTION_SAVE,
                                                    "_Cancel", GTK_RESPONSE_CANCEL, "_Save", GTK_RESPONSE_ACCEPT,
                                                    nullptr);
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
    gtk_file_chooser_set_do_overwrite_confirmation(chooser, TRUE);
    if (!request.InitialFolder.empty())
      gtk_file_chooser_set_current_folder(chooser, platform::ToHostPath(request.InitialFolder).c_str());
    if (!request.FileName.empty()) gtk_file_chooser_set_current_name(chooser, request.FileName.c_str());
    std::string ext = request.DefaultExt;
    if (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
    if (!ext.empty()) {
      GtkFileFilter* filter = gtk_file_filter_new();
      gtk_file_filter_set_name(filter, ("*." + ext).c_str());
      gtk_file_filter_add_pattern(filter, ("*." + ext).c_str());
      gtk_file_chooser_add_filter(chooser, filter);
      GtkFileFilter* all = gtk_file_filter_new();
      gtk_file_filter_set_name(all, "*");
      gtk_file_filter_add_pattern(all, "*");
      gtk_file_chooser_add_filter(chooser, all);
    }
    Trace("save-dialog");
    bool confirmed = false;
    if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
      if (char* file = gtk_file_chooser_get_filename(chooser)) {
        std::string path = file;
        g_free(file);
        // A name typed without an extension gets the default one.
        if (!ext.empty() && std::filesystem::path(path).extension().empty()) path += "." + ext;
        for (char& c : path)
          if (c == '/') c = '\\';
        chosen = path;
        confirmed = true;
      }
    }
    gtk_widget_destroy(dialog);
    return confirmed;
  };
  if (Trace_ != nullptr) {
    engine.OnError = [this](const std::string& m) { Trace("error " + m); };
    engine.OnQueryError = [this](const std::string& m) { Trace("query-error " + m); };
  }
}

void TfrmQuillon::Show() { gtk_widget_show_all(frmQuillon); }

void TfrmQuillon::FormShow() {
  WindowShown = false;
  TScreenInfo info;
  const GdkRectangle screen = ScreenGeometry(frmQuillon);
  info.ScreenWidth = screen.width;
  info.ScreenHeight = screen.height;
  OuterSize(frmQuillon, info.WindowWidth, info.WindowHeight);
  Navigation_->FormShow(info);
  WindowShown = true;
  if (Trace_ != nullptr) {
    std::string line = "sizes";
    for (const char* name : {"ScreenWidth", "ScreenHeight", "WindowWidth", "WindowHeight", "DecimalCode"})
      line += std::string(" ") + name + "=" + Navigation_->AppVariables.Value(name);
    Trace(line);
    TraceWidgets();
  }
  // The start page is requested once the blank document exists.
  StartPending_ = true;
  Navigate("about:blank");
}

void TfrmQuillon::FormResize() {
  if (!WindowShown) return;
  int width = 0, height = 0;
  OuterSize(frmQuillon, width, height);
  Navigation_->FormResize(width, height);
}

void TfrmQuillon::FormClose() { UIHandler_.reset(); }

void TfrmQuillon::lblDeutschClick() { SelectLanguage(1, "Quorvel Auslegung"); }
void TfrmQuillon::lblFrenchClick() { SelectLanguage(2, "Quorvel S\xC3\xA9lection"); }
void TfrmQuillon::lblItalianoClick() { SelectLanguage(3, "Quorvel Selezione"); }
void TfrmQuillon::lblEnglishClick() { SelectLanguage(4, "Quorvel Sizer"); }

void TfrmQuillon::SelectLanguage(int langId, const char* title) {
  if (Rendering_) return;
  const std::string url = Navigation_->SelectLanguage(langId);
  gtk_label_set_text(GTK_LABEL(lblTitle), title);
  Trace(std::string("title ") + title);
  Navigate(url);
}

void TfrmQuillon::Navigate(const std::string& url) {
  // Before any ".qsp" page was requested the language links have no page to
  // request again: the current document stays.
  if (url.empty()) return;
  const std::string address = desktop::BrowserUrlFromHandlerUrl(url);
  webkit_web_view_load_uri(WEBKIT_WEB_VIEW(WebBrowser1), address.c_str());
}

void TfrmQuillon::WebBrowser1BeforeNavigate2(std::string& URL, const std::string& TargetFrameName, bool& Cancel) {
  if (Rendering_) {
    // A page is being made (a save dialog or a mail program is waiting): a second
    // page is never started inside it. The navigation is dropped.
    Trace("busy " + URL);
    Cancel = true;
    return;
  }
  Rendering_ = true;
  const std::string asked = URL;
  Navigation_->WebBrowser1BeforeNavigate2(URL, TargetFrameName, Cancel);
  Rendering_ = false;
  Trace("navigate " + asked + " target=" + TargetFrameName + " cancel=" + (Cancel ? "1" : "0"));
  // A close asked for while the page was being made happens now.
  if (CloseRequested_) CloseWhenIdle();
}

bool TfrmQuillon::RunHandler(std::string& url, const TNavigationSource& source) {
  bool cancel = false;
  Current_ = source;
  WebBrowser1BeforeNavigate2(url, source.Target, cancel);
  return cancel;
}

void TfrmQuillon::Decide(WebKitPolicyDecision* decision, const std::string& handlerUrl,
                         const TNavigationSource& source) {
  std::string url = handlerUrl;
  const bool cancel = RunHandler(url, source);
  if (cancel)
    webkit_policy_decision_ignore(decision);
  else
    webkit_policy_decision_use(decision);
  FlushDeliveries();
}

void TfrmQuillon::DeliverToMainDocument(const std::string& html) {
  Pending_.push_back(TDelivery{true, {}, html});
}

void TfrmQuillon::DeliverToFrame(const std::string&, const std::string& html) {
  Pending_.push_back(TDelivery{false, Current_, html});
}

void TfrmQuillon::OpenWithShell(const std::string& path) {
  Trace("open " + path);
  vantrel::OpenWithShell(path);
}

void TfrmQuillon::FlushDeliveries() {
  std::vector<TDelivery> deliveries;
  deliveries.swap(Pending_);
  for (TDelivery& d : deliveries) {
    const std::string html = desktop::WithFileBase(d.Html);
    if (d.Main) {
      GBytes* bytes = g_bytes_new(html.data(), html.size());
      ++OwnLoads_;
      webkit_web_view_load_bytes(WEBKIT_WEB_VIEW(WebBrowser1), bytes, "text/html", "windows-1252",
                                 DeliveryBase_.c_str());
      g_bytes_unref(bytes);
      continue;
    }
    GVariantDict args;
    g_variant_dict_init(&args, nullptr);
    g_variant_dict_insert_value(&args, "path", FramePathVariant(d.Target.FramePath));
    g_variant_dict_insert(&args, "target", "s", d.Target.Target.c_str());
    g_variant_dict_insert(&args, "html", "s", platform::AnsiToUtf8(html).c_str());
    struct TCall {
      TfrmQuillon* Window;
      TNavigationSource Target;
    };
    // The callback takes the call back and frees it.
    TCall* call = std::make_unique<TCall>(TCall{this, d.Target}).release();
    webkit_web_view_call_async_javascript_function(
        WEBKIT_WEB_VIEW(WebBrowser1), WithResolve(kWriteFrame).c_str(), -1, g_variant_dict_end(&args), nullptr, nullptr, Cancellable_,
        [](GObject* view, GAsyncResult* result, gpointer data) {
          std::unique_ptr<TCall> call(static_cast<TCall*>(data));
          GError* error = nullptr;
          JSCValue* value = webkit_web_view_call_async_javascript_function_finish(WEBKIT_WEB_VIEW(view), result, &error);
          if (error != nullptr) {
            const bool cancelled = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
            if (!cancelled) call->Window->Trace(std::string("frame-delivery failed: ") + error->message);
            g_error_free(error);
            return;
          }
          char* text = jsc_value_to_string(value);
          const std::string outcome = text != nullptr ? text : "";
          g_free(text);
          g_object_unref(value);
          TfrmQuillon* self = call->Window;
          self->Trace("frame-delivery " + call->Target.Target + " from " + PathText(call->Target.FramePath) + ": " +
                      outcome);
          if (outcome == "ok") self->TracePage(++self->FramesShown_, &call->Target);
        },
        call);
  }
}

void TfrmQuillon::WebBrowser1NavigateComplete2() {
  if (UIHandler_) UIHandler_->Install(WEBKIT_WEB_VIEW(WebBrowser1));
  const char* uri = webkit_web_view_get_uri(WEBKIT_WEB_VIEW(WebBrowser1));
  const std::string shown = uri != nullptr ? uri : "";
  if (StartPending_ && shown == "about:blank") {
    StartPending_ = false;
    Navigate(kStartPage);
    return;
  }
  if (shown == DeliveryBase_) {
    const int page = ++PagesShown_;
    TracePage(page, nullptr);
    if (OnPageShown) OnPageShown(page);
  }
}

bool TfrmQuillon::TakeHint(const std::string& uri, TNavigationSource& source) {
  const long long now = Now();
  while (!Hints_.empty() && now - Hints_.front().Time > 10 * G_USEC_PER_SEC) Hints_.pop_front();
  const std::string uriPath = uri.substr(0, uri.find('?'));
  for (auto it = Hints_.begin(); it != Hints_.end(); ++it) {
    const bool match = it->Form ? it->Url.substr(0, it->Url.find('?')) == uriPath : it->Url == uri;
    if (!match) continue;
    source = it->Source;
    Hints_.erase(Hints_.begin(), it + 1);
    return true;
  }
  return false;
}

void TfrmQuillon::FindFrameAndDecide(WebKitPolicyDecision* decision, const std::string& uri,
                                     const std::string& handlerUrl) {
  struct TCall {
    TfrmQuillon* Window;
    WebKitPolicyDecision* Decision;
    std::string HandlerUrl;
  };
  // The callback takes the call back, answers the browser and frees it.
  TCall* call =
      std::make_unique<TCall>(TCall{this, WEBKIT_POLICY_DECISION(g_object_ref(decision)), handlerUrl}).release();
  GVariantDict args;
  g_variant_dict_init(&args, nullptr);
  g_variant_dict_insert(&args, "uri", "s", uri.c_str());
  webkit_web_view_call_async_javascript_function(
      WEBKIT_WEB_VIEW(WebBrowser1), kFindFrame, -1, g_variant_dict_end(&args), nullptr, nullptr, Cancellable_,
      [](GObject* view, GAsyncResult* result, gpointer data) {
        std::unique_ptr<TCall> call(static_cast<TCall*>(data));
        GError* error = nullptr;
        JSCValue* value = webkit_web_view_call_async_javascript_function_finish(WEBKIT_WEB_VIEW(view), result, &error);
        if (error != nullptr && g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED)) {
          g_error_free(error);
          webkit_policy_decision_ignore(call->Decision);
          g_object_unref(call->Decision);
          return;
        }
        TNavigationSource source;
        if (error == nullptr && value != nullptr && jsc_value_is_object(value)) {
          // A frame that loads a template as its document gets the page written into
          // it: the target is the frame's own name (or itself, when it has none).
          source.FramePath = JsIntArray(value, "frame");
          const std::string name = JsString(value, "name");
          source.Target = name.empty() ? "_self" : name;
        }
        if (error != nullptr) g_error_free(error);
        if (value != nullptr) g_object_unref(value);
        call->Window->Decide(call->Decision, call->HandlerUrl, source);
        g_object_unref(call->Decision);
      },
      call);
}

void TfrmQuillon::TracePage(int page, const TNavigationSource* frame) {
  if (Trace_ == nullptr) return;
  GVariantDict args;
  g_variant_dict_init(&args, nullptr);
  const std::vector<int> path = frame != nullptr ? frame->FramePath : std::vector<int>{};
  g_variant_dict_insert_value(&args, "path", FramePathVariant(path));
  g_variant_dict_insert(&args, "target", "s", frame != nullptr ? frame->Target.c_str() : "");
  struct TCall {
    TfrmQuillon* Window;
    std::string Label;
  };
  const std::string label = (frame != nullptr ? "frame " : "page ") + std::to_string(page);
  webkit_web_view_call_async_javascript_function(
      WEBKIT_WEB_VIEW(WebBrowser1), WithResolve(kDescribePage).c_str(), -1, g_variant_dict_end(&args), nullptr, nullptr, Cancellable_,
      [](GObject* view, GAsyncResult* result, gpointer data) {
        std::unique_ptr<TCall> call(static_cast<TCall*>(data));
        GError* error = nullptr;
        JSCValue* value = webkit_web_view_call_async_javascript_function_finish(WEBKIT_WEB_VIEW(view), result, &error);
        if (error != nullptr) {
          if (!g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED))
            call->Window->Trace(call->Label + " unreadable: " + error->message);
          g_error_free(error);
          return;
        }
        TfrmQuillon* self = call->Window;
        int dx = 0, dy = 0;
        gtk_widget_translate_coordinates(self->WebBrowser1, self->frmQuillon, 0, 0, &dx, &dy);
        self->Trace(call->Label + " " + JsString(value, "text"));
        JSCValue* links = jsc_value_object_get_property(value, "links");
        JSCValue* length = links != nullptr ? jsc_value_object_get_property(links, "length") : nullptr;
        const int n = length != nullptr ? jsc_value_to_int32(length) : 0;
        for (int i = 0; i < n; ++i) {
          JSCValue* link = jsc_value_object_get_property_at_index(links, static_cast<guint>(i));
          auto item = [link](guint k) {
            JSCValue* v = jsc_value_object_get_property_at_index(link, k);
            char* s = jsc_value_to_string(v);
            std::string out = s != nullptr ? s : "";
            g_free(s);
            g_object_unref(v);
            return out;
          };
          const int x = std::atoi(item(0).c_str()) + dx, y = std::atoi(item(1).c_str()) + dy;
          self->Trace("link " + std::to_string(x) + " " + std::to_string(y) + " " + item(2) + "\t" + item(3));
          g_object_unref(link);
        }
        if (length != nullptr) g_object_unref(length);
        if (links != nullptr) g_object_unref(links);
        g_object_unref(value);
        self->Trace(call->Label + " end");
      },
      std::make_unique<TCall>(TCall{this, label}).release());
}

void TfrmQuillon::TraceWidgets() {
  for (GtkWidget* w : {imgLogo, lblTitle, lblDeutsch, lblEnglish, lblFrench, lblItaliano, WebBrowser1}) {
    int x = 0, y = 0;
    gtk_widget_translate_coordinates(w, frmQuillon, 0, 0, &x, &y);
    GtkAllocation a;
    gtk_widget_get_allocation(w, &a);
    Trace(std::string("widget ") + gtk_widget_get_name(w) + " " + std::to_string(x) + " " + std::to_string(y) + " " +
          std::to_string(a.width) + " " + std::to_string(a.height));
  }
#ifdef GDK_WINDOWING_X11
  GdkWindow* w = gtk_widget_get_window(frmQuillon);
  if (w != nullptr && GDK_IS_X11_WINDOW(w)) Trace("xid " + std::to_string(gdk_x11_window_get_xid(w)));
#endif
}

void TfrmQuillon::Trace(const std::string& line) {
  if (Trace_ != nullptr) Trace_->Line(line);
}

bool TfrmQuillon::SaveScreenshot(const std::string& file, std::string& error) {
  const int width = gtk_widget_get_allocated_width(frmQuillon);
  const int height = gtk_widget_get_allocated_height(frmQuillon);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cr = cairo_create(surface);
  gtk_widget_draw(frmQuillon, cr);
  cairo_destroy(cr);
  const cairo_status_t status = cairo_surface_write_to_png(surface, file.c_str());
  cairo_surface_destroy(surface);
  if (status != CAIRO_STATUS_SUCCESS) {
    error = cairo_status_to_string(status);
    return false;
  }
  Trace("screenshot " + file + " " + std::to_string(width) + "x" + std::to_string(height));
  return true;
}

void TfrmQuillon::AfterNextPaint(std::function<void()> then) {
  struct TCall {
    std::function<void()> Then;
  };
  // Two animation frames: the first is painted when the second begins. The browser
  // hands its picture to the window a moment later.
  constexpr const char* kTwoFrames =
      "return new Promise(function (done) {"
      " requestAnimationFrame(function () { requestAnimationFrame(function () { done(true); }); }); });";
  webkit_web_view_call_async_javascript_function(
      WEBKIT_WEB_VIEW(WebBrowser1), kTwoFrames, -1, nullptr, nullptr, nullptr, Cancellable_,
      [](GObject* view, GAsyncResult* result, gpointer data) {
        std::unique_ptr<TCall> call(static_cast<TCall*>(data));
        GError* error = nullptr;
        JSCValue* value = webkit_web_view_call_async_javascript_function_finish(WEBKIT_WEB_VIEW(view), result, &error);
        if (value != nullptr) g_object_unref(value);
        if (error != nullptr) {
          const bool cancelled = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
          g_error_free(error);
          if (cancelled) return;
        }
        g_timeout_add_full(
            G_PRIORITY_DEFAULT, 150,
            [](gpointer data) -> gboolean {
              static_cast<TCall*>(data)->Then();
              return G_SOURCE_REMOVE;
            },
            call.release(), [](gpointer data) { std::unique_ptr<TCall>(static_cast<TCall*>(data)).reset(); });
      },
      std::make_unique<TCall>(TCall{std::move(then)}).release());
}

void TfrmQuillon::CloseWhenIdle() {
  g_idle_add_full(
      G_PRIORITY_DEFAULT_IDLE,
      [](gpointer self) -> gboolean {
        auto* window = static_cast<TfrmQuillon*>(self);
        // While a page is being made the close waits; the end of the page asks again.
        if (!window->Rendering_ && !window->Closed_) {
          window->Closed_ = true;
          window->FormClose();
          if (window->OnClosed) window->OnClosed();
        }
        return G_SOURCE_REMOVE;
      },
      this, nullptr);
}

// ---- Signal trampolines ----

int TfrmQuillon::OnDecidePolicy(GtkWidget*, WebKitPolicyDecision* decision, int type, void* data) {
  auto* self = static_cast<TfrmQuillon*>(data);
  if (type != WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION && type != WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION)
    return FALSE;
  WebKitNavigationAction* action =
      webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
  const char* requested = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
  const std::string uri = requested != nullptr ? requested : "";
  const WebKitNavigationType kind = webkit_navigation_action_get_navigation_type(action);

  if (uri == self->DeliveryBase_) {
    // The window's own delivery of a page into the main document.
    if (kind == WEBKIT_NAVIGATION_TYPE_OTHER && self->OwnLoads_ > 0) {
      --self->OwnLoads_;
      webkit_policy_decision_use(decision);
      return TRUE;
    }
    // The browser's own history or reload would show the folder instead of a page
    // the engine made: steps back go through "javascript:back();" only.
    if (kind == WEBKIT_NAVIGATION_TYPE_BACK_FORWARD || kind == WEBKIT_NAVIGATION_TYPE_RELOAD ||
        kind == WEBKIT_NAVIGATION_TYPE_FORM_RESUBMITTED) {
      webkit_policy_decision_ignore(decision);
      return TRUE;
    }
  }
  // A relative link resolved to a file under the application folder reaches the
  // handler as the engine path of that file.
  std::string handlerUrl = desktop::EnginePathFromFileUrl(uri, self->AppFolder_);
  if (handlerUrl.empty()) handlerUrl = uri;

  TNavigationSource source;
  const bool hinted = self->TakeHint(uri, source);
  if (type == WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION) {
    // No second window: a template asked for in one is shown in the top document;
    // any other address is not opened.
    if (!hinted) source = TNavigationSource{{}, "_blank"};
    std::string url = handlerUrl;
    self->RunHandler(url, source);
    webkit_policy_decision_ignore(decision);
    self->FlushDeliveries();
    return TRUE;
  }
  const bool templateLike = Contains(handlerUrl, ".qsp") || Contains(handlerUrl, ".cfm");
  if (!hinted && kind == WEBKIT_NAVIGATION_TYPE_OTHER && templateLike && !self->Rendering_) {
    // Possibly a frame asking for its first document: look for it by its address.
    self->FindFrameAndDecide(decision, uri, handlerUrl);
    return TRUE;
  }
  self->Decide(decision, handlerUrl, source);
  return TRUE;
}

void TfrmQuillon::OnLoadChanged(GtkWidget*, int event, void* data) {
  if (event == WEBKIT_LOAD_FINISHED) static_cast<TfrmQuillon*>(data)->WebBrowser1NavigateComplete2();
}

void TfrmQuillon::OnScriptMessage(WebKitUserContentManager*, void* result, void* data) {
  auto* self = static_cast<TfrmQuillon*>(data);
  JSCValue* value = webkit_javascript_result_get_js_value(static_cast<WebKitJavascriptResult*>(result));
  if (value == nullptr || !jsc_value_is_object(value)) return;
  const std::string kind = JsString(value, "kind");
  TNavigationSource source{JsIntArray(value, "frame"), JsString(value, "target")};
  if (kind == "target") {
    JSCValue* form = jsc_value_object_get_property(value, "form");
    const bool isForm = form != nullptr && jsc_value_to_boolean(form);
    if (form != nullptr) g_object_unref(form);
    self->Hints_.push_back(THint{JsString(value, "url"), isForm, source, Now()});
    while (self->Hints_.size() > 16) self->Hints_.pop_front();
  } else if (kind == "back") {
    std::string url = "javascript:back();";
    self->RunHandler(url, source);
    self->FlushDeliveries();
  }
}

int TfrmQuillon::OnMapEvent(GtkWidget*, void*, void* data) {
  auto* self = static_cast<TfrmQuillon*>(data);
  if (!self->FormShown_) {
    self->FormShown_ = true;
    self->FormShow();
  }
  return FALSE;
}

int TfrmQuillon::OnConfigureEvent(GtkWidget*, void*, void* data) {
  static_cast<TfrmQuillon*>(data)->FormResize();
  return FALSE;
}

int TfrmQuillon::OnDeleteEvent(GtkWidget*, void*, void* data) {
  auto* self = static_cast<TfrmQuillon*>(data);
  // A page being made finishes first; the window closes right after it.
  self->CloseRequested_ = true;
  if (!self->Rendering_) self->CloseWhenIdle();
  return TRUE;
}

int TfrmQuillon::OnLinkPress(GtkWidget* link, void* event, void* data) {
  auto* self = static_cast<TfrmQuillon*>(data);
  const auto* button = static_cast<GdkEventButton*>(event);
  if (button->type != GDK_BUTTON_PRESS || button->button != 1) return FALSE;
  if (link == self->lblDeutsch) self->lblDeutschClick();
  if (link == self->lblFrench) self->lblFrenchClick();
  if (link == self->lblItaliano) self->lblItalianoClick();
  if (link == self->lblEnglish) self->lblEnglishClick();
  return TRUE;
}

int TfrmQuillon::OnDrawLogo(GtkWidget* widget, void* cr, void*) {
  DrawLogo(static_cast<cairo_t*>(cr), gtk_widget_get_allocated_width(widget),
           gtk_widget_get_allocated_height(widget));
  return FALSE;
}

void TfrmQuillon::OnLinkRealize(GtkWidget* link, void*) {
  GdkWindow* window = gtk_widget_get_window(link);
  GdkCursor* hand = gdk_cursor_new_from_name(gtk_widget_get_display(link), "pointer");
  if (window != nullptr && hand != nullptr) gdk_window_set_cursor(window, hand);
  if (hand != nullptr) g_object_unref(hand);
}

}  // namespace vantrel
