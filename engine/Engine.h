// The state of one run of the engine: what every page object of the run shares
// beyond the scopes. One engine object exists per run (per host session), so runs
// never share a StopRendering flag or a current row.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dbengine/QDB.h"
#include "engine/TStringList.h"
#include "platform/RegionalSettings.h"

namespace vantrel {

// What the save dialog of a <cf_file> tag is asked to show.
struct TSaveDialogRequest {
  std::string InitialFolder;
  std::string FileName;
  std::string DefaultExt;  // also the file filter, when not empty
};

// A message for the user's mail program: recipients with their classes (1 to,
// 2 cc, 3 bcc) in order, the subject, the text and the files to attach.
struct TMailRecipient {
  int RecipClass = 1;
  std::string Name;
};
struct TMailMessage {
  std::string Subject;
  std::string NoteText;
  std::vector<TMailRecipient> Recips;
  std::vector<std::string> Files;
  int Flags = 0;
};

class TEngine {
 public:
  using ErrorHook = std::function<void(const std::string&)>;

  TEngine(std::string appFolder, platform::RegionalSettings regional)
      : AppFolder(std::move(appFolder)), Regional(std::move(regional)) {}

  // The application folder in engine form, ending in "\".
  std::string AppFolder;
  platform::RegionalSettings Regional;
  // The local date and time as a day count since 30 December 1899 with the time of
  // day as its fraction; unset, the date functions read the system clock.
  std::function<double()> Clock;

  // Set by a location tag; while set every tag renders nothing. Every construction
  // of a tag or fragment clears it.
  bool StopRendering = false;
  // The row an output tag over a result set is rendering; none otherwise.
  std::unique_ptr<TStringList> CurrentRow;

  // The databases statements run against (owned by the process's data module), and
  // the pause after every statement that changes data.
  TQDBSession* Session = nullptr;
  int WritePauseMs = 1000;

  // The host's modal save dialog: true and the chosen engine path when the user
  // confirms. Without a host dialog the user counts as having cancelled.
  std::function<bool(const TSaveDialogRequest&, std::string& chosen)> SaveDialog;
  // The host's mail program: 0 when the message was handed over, any other code
  // otherwise. Without one, no mail program is present.
  std::function<int(const TMailMessage&)> MailProgram;

  // The two error hooks. Without a hook installed the messages are discarded.
  ErrorHook OnError;
  ErrorHook OnQueryError;
  void ReportError(const std::string& message) const {
    if (OnError) OnError(message);
  }
  void ReportQueryError(const std::string& message) const {
    if (OnQueryError) OnQueryError(message);
  }

  // Nesting depth of parsing, rendering and clause evaluation together. Hostile
  // nesting (deep tags, a template that includes itself, deep parentheses) stops at
  // MaxDepth: the object that would go deeper parses or renders nothing.
  static constexpr int MaxDepth = 150;
  int Depth = 0;

  // Loop passes of the request being rendered, and the most a request may run: a
  // template whose loops multiply (loops nested in loops) stops passing instead of
  // keeping the application busy for ever. The page the host built resets the count.
  long long LoopPasses = 0;
  long long MaxLoopPasses = 1000000;

  // The work of the request being rendered, in units of about one byte copied: every
  // tag rendered, every byte a body joins, every clause value and every template
  // read count. A request that goes beyond MaxWork (templates that include
  // themselves twice, values that grow with every loop pass) is exhausted: from
  // then on it renders nothing more, like a stopped page, and the page the host
  // built delivers what was rendered so far. The page the host built resets it.
  static constexpr long long kTagWork = 100;
  static constexpr long long kLoadWork = 50000;
  long long Work = 0;
  long long MaxWork = 2LL << 30;
  bool Exhausted = false;
  // A value longer than this (bytes) is a failure of the clause that built it.
  size_t MaxValueLength = size_t{16} << 20;

  void Charge(long long units) {
    Work += units;
    if (Work > MaxWork && !Exhausted) {
      Exhausted = true;
      ReportError("Rendering Stopped: the page takes more work than a page may take");
    }
  }
  // True while nothing may render: after a location tag, or when the request's
  // work is exhausted.
  bool Stopped() const { return StopRendering || Exhausted; }
  void ResetRequest() {
    LoopPasses = 0;
    Work = 0;
    Exhausted = false;
  }
};

// Counts one level of nesting for its lifetime; Entered() is false when the limit
// was already reached, and the caller then does nothing.
class TDepthGuard {
 public:
  explicit TDepthGuard(TEngine& engine) : Engine_(engine), Entered_(engine.Depth < TEngine::MaxDepth) {
    if (Entered_) ++Engine_.Depth;
  }
  ~TDepthGuard() {
    if (Entered_) --Engine_.Depth;
  }
  TDepthGuard(const TDepthGuard&) = delete;
  TDepthGuard& operator=(const TDepthGuard&) = delete;
  bool Entered() const { return Entered_; }

 private:
  TEngine& Engine_;
  bool Entered_;
};

}  // namespace vantrel
