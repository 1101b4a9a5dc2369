// The command-line host; see RenderHost.h.
#include "app/RenderHost.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>

#include "app/Navigation.h"
#include "app/QSPGlobals.h"
#include "app/StartUp.h"
#include "data/QDBDatabaseUnit.h"
#include "engine/Scramble.h"
#include "platform/FileSystem.h"
#include "platform/RegionalSettings.h"

namespace vantrel {

namespace {

namespace fs = std::filesystem;

// Records what each navigation delivered; the shell is only reported.
class TCommandLineHost : public IBrowserHost {
 public:
  explicit TCommandLineHost(std::ostream& err) : err_(err) {}
  void DeliverToMainDocument(const std::string& html) override { Delivered = html; }
  void DeliverToFrame(const std::string&, const std::string& html) override { Delivered = html; }
  void OpenWithShell(const std::string& path) override { err_ << "open: " << path << "\n"; }

  std::optional<std::string> Delivered;

 private:
  std::ostream& err_;
};

bool WriteBytes(const fs::path& file, const std::string& bytes) {
  std::ofstream o(file, std::ios::binary | std::ios::trunc);
  o.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(o);
}

}  // namespace

int RunRender(const TRenderOptions& given, std::ostream& out, std::ostream& err) {
  std::error_code ec;
  // Paths on the command line are relative to where the command was given, not to
  // the application folder the run changes into.
  TRenderOptions options = given;
  for (std::string* p : {&options.OutDir, &options.MailLog, &options.SaveAs})
    if (!p->empty()) *p = fs::absolute(*p).string();
  if (!fs::is_directory(options.AppDir, ec)) {
    err << "vantrel: application folder not found: " << options.AppDir << "\n";
    return 1;
  }
  const std::optional<std::string> entered = EnterApplicationFolder(options.AppDir, err);
  if (!entered) return 1;
  const std::string& appFolder = *entered;
  const std::string localeId = ChooseLocaleId(options.LocaleId);
  const platform::RegionalSettings regional = platform::RegionalSettings::FromLocale(localeId);
  if (!options.OutDir.empty()) fs::create_directories(options.OutDir, ec);

  // The data module lives for the whole process, across repeated runs.
  TDataModule1 dataModule;
  const int repeat = options.Repeat < 1 ? 1 : options.Repeat;
  long pages = 0;
  std::optional<std::string> last;
  const auto start = std::chrono::steady_clock::now();
  for (int run = 0; run < repeat; ++run) {
    const bool lastRun = run == repeat - 1;
    TCommandLineHost host(err);
    TNavigationHandler handler(appFolder, regional, host);
    if (options.Errors) {
      handler.Engine.OnError = [&err](const std::string& m) { err << "error: " << m << "\n"; };
      handler.Engine.OnQueryError = [&err](const std::string& m) { err << "query-error: " << m << "\n"; };
    }
    handler.Engine.Session = &dataModule.Session;
    handler.Engine.WritePauseMs = options.WritePauseMs;
    // The save dialog answers with --save-as, else as if the user cancelled.
    handler.Engine.SaveDialog = [&options](const TSaveDialogRequest&, std::string& chosen) {
      if (options.SaveAs.empty()) return false;
      chosen = options.SaveAs;
      return true;
    };
    if (!options.MailLog.empty())
      handler.Engine.MailProgram = [&options](const TMailMessage& m) { return WriteMailLog(options.MailLog, m); };
    else
      handler.Engine.MailProgram = SendWithMailProgram;
    handler.FormShow(TScreenInfo{});
    for (const auto& [name, value] : options.Sets) handler.AppVariables.SetValue(name, value);
    for (size_t i = 0; i < options.Urls.size(); ++i) {
      host.Delivered.reset();
      std::string url = options.Urls[i];
      bool cancel = false;
      handler.WebBrowser1BeforeNavigate2(url, "", cancel);
      if (!host.Delivered) continue;
      ++pages;
      if (lastRun && !options.OutDir.empty()) {
        fs::path file = fs::path(options.OutDir) / (std::to_string(i + 1) + ".html");
        if (!WriteBytes(file, *host.Delivered)) {
          err << "vantrel: cannot write " << file.string() << "\n";
          return 1;
        }
      }
      last = std::move(host.Delivered);
    }
  }
  const auto elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start);
  if (options.OutDir.empty() && last) out.write(last->data(), static_cast<std::streamsize>(last->size()));
  if (options.Repeat > 1 || repeat > 1) {
    err << "rendered " << pages << " pages in " << static_cast<long long>(elapsed.count()) << " ms\n";
  }
  out.flush();
  return 0;
}

int RunScramble(const std::string& in, const std::string& outFile, bool scramble, std::ostream& err) {
  std::ifstream i(in, std::ios::binary);
  if (!i) {
    err << "vantrel: cannot read " << in << "\n";
    return 1;
  }
  std::string bytes((std::istreambuf_iterator<char>(i)), std::istreambuf_iterator<char>());
  std::string text = JoinTemplateLines(bytes);
  std::string result;
  if (scramble) {
    result = ScrambleTemplate(text);
  } else {
    std::string plain = DescrambleTemplate(text);
    if (plain.rfind("<crypt>", 0) != 0) {
      err << "vantrel: " << in << " is not a scrambled template\n";
      return 1;
    }
    result = plain.substr(7);
  }
  if (!WriteBytes(outFile, result)) {
    err << "vantrel: cannot write " << outFile << "\n";
    return 1;
  }
  return 0;
}

}  // namespace vantrel
