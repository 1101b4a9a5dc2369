// The main window: a white header strip with the maker's logo, the product title
// and the four language links, and below it the embedded browser that shows every
// page. Every navigation of the browser reaches WebBrowser1BeforeNavigate2 before
// anything loads; template requests are answered by the engine and their HTML is
// put into the browser's document (the main document, or the document of a named
// frame).
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/IEDocHostUIHandler.h"
#include "app/Navigation.h"
#include "platform/RegionalSettings.h"

typedef struct _GtkWidget GtkWidget;
typedef struct _GCancellable GCancellable;
typedef struct _WebKitUserContentManager WebKitUserContentManager;
typedef struct _WebKitPolicyDecision WebKitPolicyDecision;
typedef struct _JSCValue JSCValue;

namespace vantrel {

class TQDBSession;

// Where the window reports what it did and showed, one line per event, when a
// trace file was asked for (the desktop tests read it).
class TDesktopTrace {
 public:
  virtual ~TDesktopTrace() = default;
  virtual void Line(const std::string& line) = 0;
};

class TfrmQuillon : public IBrowserHost {
 public:
  // Builds the window and runs FormCreate.
  TfrmQuillon(std::string appFolder, platform::RegionalSettings regional, TDesktopTrace* trace);
  ~TfrmQuillon() override;
  TfrmQuillon(const TfrmQuillon&) = delete;
  TfrmQuillon& operator=(const TfrmQuillon&) = delete;

  // The databases of the process's data module, for every page of the run.
  void UseDatabases(TQDBSession& session);
  // Shows the window; FormShow runs when it first appears.
  void Show();

  // The window was closed: the host ends its message loop.
  std::function<void()> OnClosed;
  // A page delivered into the main document finished loading (its number from 1).
  std::function<void(int page)> OnPageShown;

  // Draws the whole window into a PNG file.
  bool SaveScreenshot(const std::string& file, std::string& error);
  // Runs then once the browser has painted what it shows now.
  void AfterNextPaint(std::function<void()> then);

  // ---- Event handlers ----
  void FormCreate();
  void FormShow();
  void FormResize();
  void FormClose();
  void lblDeutschClick();
  void lblFrenchClick();
  void lblItalianoClick();
  void lblEnglishClick();
  void WebBrowser1BeforeNavigate2(std::string& URL, const std::string& TargetFrameName, bool& Cancel);
  void WebBrowser1NavigateComplete2();

  // ---- Deliveries of the navigation handler ----
  void DeliverToMainDocument(const std::string& html) override;
  void DeliverToFrame(const std::string& frameName, const std::string& html) override;
  void OpenWithShell(const std::string& path) override;

  // ---- Window members ----
  GtkWidget* frmQuillon = nullptr;
  GtkWidget* Panel1 = nullptr;
  GtkWidget* pnlAdd = nullptr;
  GtkWidget* imgLogo = nullptr;
  GtkWidget* lblTitle = nullptr;
  GtkWidget* Panel2 = nullptr;
  GtkWidget* lblDeutsch = nullptr;
  GtkWidget* Label2 = nullptr;
  GtkWidget* lblEnglish = nullptr;
  GtkWidget* Label3 = nullptr;
  GtkWidget* lblFrench = nullptr;
  GtkWidget* Label1 = nullptr;
  GtkWidget* lblItaliano = nullptr;
  GtkWidget* WebBrowser1 = nullptr;

 private:
  // The frame a navigation comes from, as indexes of frames from the top window
  // down (empty: the main document), and the target the link or form named.
  struct TNavigationSource {
    std::vector<int> FramePath;
    std::string Target;
  };
  // What the page script reported just before the browser asked about a navigation.
  struct THint {
    std::string Url;
    bool Form = false;
    TNavigationSource Source;
    long long Time = 0;  // microseconds of the monotonic clock
  };
  struct TDelivery {
    bool Main = true;
    TNavigationSource Target;
    std::string Html;
  };

  void BuildWindow();
  void SelectLanguage(int langId, const char* title);
  void Navigate(const std::string& url);
  // Runs the navigation handler for a browser navigation and answers the browser.
  void Decide(WebKitPolicyDecision* decision, const std::string& handlerUrl, const TNavigationSource& source);
  // Runs the navigation handler, then hands the page it produced to the browser.
  bool RunHandler(std::string& url, const TNavigationSource& source);
  void FlushDeliveries();
  void FindFrameAndDecide(WebKitPolicyDecision* decision, const std::string& uri, const std::string& handlerUrl);
  bool TakeHint(const std::string& uri, TNavigationSource& source);
  void TracePage(int page, const TNavigationSource* frame);
  void TraceWidgets();
  void Trace(const std::string& line);
  void CloseWhenIdle();

  // Signal trampolines.
  static int OnDecidePolicy(GtkWidget*, WebKitPolicyDecision*, int type, void* self);
  static void OnLoadChanged(GtkWidget*, int event, void* self);
  static void OnScriptMessage(WebKitUserContentManager*, void* result, void* self);
  static int OnMapEvent(GtkWidget*, void*, void* self);
  static int OnConfigureEvent(GtkWidget*, void*, void* self);
  static int OnDeleteEvent(GtkWidget*, void*, void* self);
  static int OnLinkPress(GtkWidget*, void*, void* self);
  static int OnDrawLogo(GtkWidget*, void* cr, void* self);
  static void OnLinkRealize(GtkWidget*, void* self);

  std::string AppFolder_;
  std::string DeliveryBase_;  // the file:// address of the application folder
  TDesktopTrace* Trace_ = nullptr;
  std::unique_ptr<TNavigationHandler> Navigation_;
  std::unique_ptr<TDocHostUIHandler> UIHandler_;
  WebKitUserContentManager* Scripts_ = nullptr;
  GCancellable* Cancellable_ = nullptr;

  bool WindowShown = false;
  bool FormShown_ = false;
  bool StartPending_ = false;
  bool Rendering_ = false;
  bool CloseRequested_ = false;
  bool Closed_ = false;
  int OwnLoads_ = 0;     // main-document deliveries the browser has yet to ask about
  int PagesShown_ = 0;   // main-document deliveries that finished loading
  int FramesShown_ = 0;  // frame deliveries written
  TNavigationSource Current_;
  std::deque<THint> Hints_;
  std::vector<TDelivery> Pending_;
};

}  // namespace vantrel
