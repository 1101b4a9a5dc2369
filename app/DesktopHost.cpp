// The desktop host; see DesktopHost.h.
//
// Program start, in this order: the application title; the main window (its
// FormCreate runs); the data module with the four databases; then the message loop,
// in which the window is shown and FormShow runs, so the first template request
// happens after the databases exist. The process ends when the window closes.
#include "app/DesktopHost.h"

#include <gtk/gtk.h>

#include <filesystem>
#include <fstream>
#include <ostream>

#include "app/StartUp.h"
#include "app/Unit1.h"
#include "data/QDBDatabaseUnit.h"
#include "platform/FileSystem.h"
#include "platform/RegionalSettings.h"

namespace vantrel {

namespace {

namespace fs = std::filesystem;

class TFileTrace : public TDesktopTrace {
 public:
  explicit TFileTrace(const std::string& file) : Out_(file, std::ios::binary | std::ios::trunc) {}
  bool Ok() const { return static_cast<bool>(Out_); }
  void Line(const std::string& line) override {
    Out_ << line << '\n';
    Out_.flush();
  }

 private:
  std::ofstream Out_;
};

}  // namespace

int RunDesktop(const TDesktopOptions& given, std::ostream& err) {
  TDesktopOptions options = given;
  // Files named on the command line are relative to where the command was given,
  // not to the application folder the run changes into.
  for (std::string* p : {&options.Screenshot, &options.Trace})
    if (!p->empty()) *p = fs::absolute(*p).string();
  std::error_code ec;
  if (!fs::is_directory(options.AppDir, ec)) {
    err << "vantrel: application folder not found: " << options.AppDir << "\n";
    return 1;
  }
  if (!gtk_init_check(nullptr, nullptr)) {
    err << "vantrel: no display to open the window on (DISPLAY or WAYLAND_DISPLAY).\n"
        << "  `vantrel serve` shows the application in a web browser;\n"
        << "  `vantrel render` renders its pages from the command line.\n";
    return 2;
  }
  g_set_prgname("vantrel");
  g_set_application_name("Vantrel Quorvel Sizer");

  const std::optional<std::string> entered = EnterApplicationFolder(options.AppDir, err);
  if (!entered) return 1;
  const std::string& appFolder = *entered;
  const std::string localeId = ChooseLocaleId(options.LocaleId);
  const platform::RegionalSettings regional = platform::RegionalSettings::FromLocale(localeId);

  std::unique_ptr<TFileTrace> trace;
  if (!options.Trace.empty()) {
    trace = std::make_unique<TFileTrace>(options.Trace);
    if (!trace->Ok()) {
      err << "vantrel: cannot write " << options.Trace << "\n";
      return 1;
    }
  }

  int exitCode = 0;
  TfrmQuillon form(appFolder, regional, trace.get());
  TDataModule1 dataModule;
  form.UseDatabases(dataModule.Session);
  form.OnClosed = [] { gtk_main_quit(); };

  guint timeout = 0;
  if (!options.Screenshot.empty()) {
    form.OnPageShown = [&form, &options, &exitCode, &err](int page) {
      if (page != 1) return;
      form.AfterNextPaint([&form, &options, &exitCode, &err] {
        std::string why;
        if (!form.SaveScreenshot(options.Screenshot, why)) {
          err << "vantrel: cannot write " << options.Screenshot << ": " << why << "\n";
          exitCode = 1;
        }
        gtk_main_quit();
      });
    };
    struct TTimeout {
      std::ostream* Err;
      int* ExitCode;
      guint* Id;
    };
    auto state = std::make_unique<TTimeout>(TTimeout{&err, &exitCode, &timeout});
    timeout = g_timeout_add_seconds_full(
        G_PRIORITY_DEFAULT, static_cast<guint>(options.ScreenshotTimeoutSeconds),
        [](gpointer data) -> gboolean {
          auto* s = static_cast<TTimeout*>(data);
          *s->Err << "vantrel: the start page was not shown in time; no screenshot written\n";
          *s->ExitCode = 1;
          *s->Id = 0;
          gtk_main_quit();
          return G_SOURCE_REMOVE;
        },
        state.release(), [](gpointer data) { std::unique_ptr<TTimeout>(static_cast<TTimeout*>(data)).reset(); });
  } else if (trace) {
    // The trace keeps a picture of every page the main document showed.
    form.OnPageShown = [&form, &options](int page) {
      form.AfterNextPaint([&form, &options, page] {
        std::string why;
        form.SaveScreenshot(options.Trace + "-" + std::to_string(page) + ".png", why);
      });
    };
  }

  form.Show();
  gtk_main();
  if (timeout != 0) g_source_remove(timeout);
  return exitCode;
}

}  // namespace vantrel
