// The HTTP host; see HttpHost.h.
#include "app/HttpHost.h"

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <ostream>
#include <random>
#include <thread>

#include <httplib.h>

#include "app/HttpShell.h"
#include "app/Navigation.h"
#include "app/QSPGlobals.h"
#include "app/StartUp.h"
#include "data/QDBDatabaseUnit.h"
#include "platform/FileSystem.h"
#include "platform/RegionalSettings.h"

namespace vantrel {

namespace fs = std::filesystem;

// ---------------------------------------------------------------------------
// Request checks

namespace http {

namespace {

std::string LowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool IsUnreserved(unsigned char c) { return std::isalnum(c) != 0 || c == '-' || c == '.' || c == '_' || c == '~'; }

// The host path of an engine path; a relative one counts from the application folder.
fs::path HostPathFromAppFolder(std::string_view enginePath, const std::string& appFolder) {
  if (!enginePath.empty() && (enginePath[0] == '\\' || enginePath[0] == '/'))
    return platform::ToHostPath(enginePath);
  return platform::ToHostPath(appFolder + std::string(enginePath));
}

// The canonical path of p below the canonical root, or none when it leaves it.
std::optional<fs::path> Contained(const fs::path& p, const fs::path& appHost) {
  std::error_code ec;
  const fs::path root = fs::canonical(appHost, ec);
  if (ec) return std::nullopt;
  const fs::path full = fs::weakly_canonical(p, ec);
  if (ec) return std::nullopt;
  const fs::path rel = full.lexically_relative(root);
  if (rel.empty()) return std::nullopt;
  const std::string first = rel.begin()->string();
  if (first == "..") return std::nullopt;
  return full;
}

}  // namespace

std::string MakeSecret() {
  std::random_device device;
  static const char kDigits[] = "0123456789abcdef";
  std::string secret;
  for (int i = 0; i < 4; ++i) {
    uint32_t word = device();
    for (int j = 0; j < 8; ++j) {
      secret += kDigits[word & 0xF];
      word >>= 4;
    }
  }
  return secret;
}

bool SecretEquals(std::string_view given, std::string_view secret) {
  if (secret.empty()) return false;
  unsigned char diff = given.size() == secret.size() ? 0 : 1;
  for (size_t i = 0; i < secret.size(); ++i) {
    const unsigned char g = i < given.size() ? static_cast<unsigned char>(given[i]) : 0;
    diff |= static_cast<unsigned char>(g ^ static_cast<unsigned char>(secret[i]));
  }
  return diff == 0;
}

std::string CookieValue(std::string_view header, std::string_view name) {
  size_t pos = 0;
  while (pos <= header.size()) {
    size_t end = header.find(';', pos);
    if (end == std::string_view::npos) end = header.size();
    std::string_view pair = header.substr(pos, end - pos);
    while (!pair.empty() && pair.front() == ' ') pair.remove_prefix(1);
    const size_t eq = pair.find('=');
    if (eq != std::string_view::npos && pair.substr(0, eq) == name) {
      std::string_view value = pair.substr(eq + 1);
      while (!value.empty() && value.back() == ' ') value.remove_suffix(1);
      return std::string(value);
    }
    pos = end + 1;
  }
  return {};
}

bool IsLoopbackAddress(std::string_view address) {
  if (LowerAscii(address) == "localhost") return true;
  const std::string a(address);
  in_addr v4{};
  if (inet_pton(AF_INET, a.c_str(), &v4) == 1) return (ntohl(v4.s_addr) >> 24) == 127;
  in6_addr v6{};
  if (inet_pton(AF_INET6, a.c_str(), &v6) == 1) return IN6_IS_ADDR_LOOPBACK(&v6);
  return false;
}

bool IsAllowedHost(std::string_view host, int port, const std::vector<std::string>& extraNames) {
  if (host.empty()) return false;
  std::string_view name;
  std::string_view portText;
  bool hasPort = false;
  bool ipLiteral = false;
  if (host.front() == '[') {
    const size_t close = host.find(']');
    if (close == std::string_view::npos) return false;
    const std::string inner(host.substr(1, close - 1));
    in6_addr v6{};
    if (inet_pton(AF_INET6, inner.c_str(), &v6) != 1) return false;
    ipLiteral = true;
    name = host.substr(0, close + 1);
    const std::string_view rest = host.substr(close + 1);
    if (!rest.empty()) {
      if (rest.front() != ':') return false;
      hasPort = true;
      portText = rest.substr(1);
    }
  } else {
    const size_t colon = host.find(':');
    name = host.substr(0, colon);
    if (colon != std::string_view::npos) {
      hasPort = true;
      portText = host.substr(colon + 1);
    }
    const std::string n(name);
    in_addr v4{};
    ipLiteral = inet_pton(AF_INET, n.c_str(), &v4) == 1;
  }
  if (hasPort) {
    int given = -1;
    const auto [ptr, ec] = std::from_chars(portText.data(), portText.data() + portText.size(), given);
    if (ec != std::errc() || ptr != portText.data() + portText.size() || portText.empty() || given != port)
      return false;
  } else if (port != 80) {
    return false;
  }
  if (ipLiteral) return true;
  const std::string lower = LowerAscii(name);
  if (lower == "localhost") return true;
  for (const std::string& extra : extraNames)
    if (!extra.empty() && lower == LowerAscii(extra)) return true;
  return false;
}

std::string EnginePathFromRequestPath(std::string_view decodedPath, const std::string& appFolder) {
  if (decodedPath.empty() || decodedPath.front() != '/') return {};
  for (char c : decodedPath)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return {};
  size_t start = 0;
  while (start <= decodedPath.size()) {
    size_t sep = decodedPath.find_first_of("/\\", start);
    if (sep == std::string_view::npos) sep = decodedPath.size();
    const std::string_view component = decodedPath.substr(start, sep - start);
    if (component == "." || component == "..") return {};
    start = sep + 1;
  }
  std::string engine = platform::Utf8ToAnsi(std::string(decodedPath));
  std::replace(engine.begin(), engine.end(), '/', '\\');
  if (engine.size() <= appFolder.size() || engine.compare(0, appFolder.size(), appFolder) != 0) return {};
  return engine;
}

std::string RequestPathFromEnginePath(std::string_view enginePath) {
  std::string path(enginePath);
  std::replace(path.begin(), path.end(), '\\', '/');
  const std::string utf8 = platform::AnsiToUtf8(path);
  std::string out;
  for (char c : utf8) {
    const auto u = static_cast<unsigned char>(c);
    if (IsUnreserved(u) || c == '/') {
      out += c;
    } else {
      static const char kHex[] = "0123456789ABCDEF";
      out += '%';
      out += kHex[u >> 4];
      out += kHex[u & 0xF];
    }
  }
  return out;
}

bool InsideAppFolder(std::string_view enginePath, const std::string& appFolder) {
  return Contained(HostPathFromAppFolder(enginePath, appFolder), platform::ToHostPath(appFolder)).has_value();
}

std::optional<fs::path> ResolveAppFile(std::string_view enginePath, const std::string& appFolder) {
  auto full = Contained(HostPathFromAppFolder(enginePath, appFolder), platform::ToHostPath(appFolder));
  std::error_code ec;
  if (!full || !fs::is_regular_file(*full, ec)) return std::nullopt;
  return full;
}

std::string NavigationFile(std::string_view url, const std::string& appFolder) {
  std::string path(url);
  if (LowerAscii(url.substr(0, 7)) == "http://") {
    std::string s(url.substr(7));
    const size_t slashQuery = s.find("/?");
    if (slashQuery != std::string::npos) s.erase(slashQuery, 1);
    std::string pathPart = s.substr(0, s.find('?'));
    std::replace(pathPart.begin(), pathPart.end(), '/', '\\');
    if (!pathPart.empty() && pathPart.back() == '\\') pathPart.pop_back();
    path = appFolder + pathPart;
  }
  return path.substr(0, path.find('?'));
}

std::string PercentEncode(std::string_view bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char c : bytes) {
    const auto u = static_cast<unsigned char>(c);
    if (IsUnreserved(u)) {
      out += c;
    } else {
      out += '%';
      out += kHex[u >> 4];
      out += kHex[u & 0xF];
    }
  }
  return out;
}

}  // namespace http

// ---------------------------------------------------------------------------
// Sessions and requests

namespace {

constexpr size_t kMaxSessions = 32;
constexpr size_t kMaxPayload = 64 * 1024;

// Delivery in the HTTP host: whatever the handler delivers, into the main document
// or a frame, is the answer to the request that made the navigation; a file for
// the desktop's viewer is shown by the browser.
class THttpBrowserHost : public IBrowserHost {
 public:
  void DeliverToMainDocument(const std::string& html) override { Delivered = html; }
  void DeliverToFrame(const std::string&, const std::string& html) override { Delivered = html; }
  void OpenWithShell(const std::string& path) override { ShellPath = path; }
  void Reset() {
    Delivered.reset();
    ShellPath.reset();
  }

  std::optional<std::string> Delivered;
  std::optional<std::string> ShellPath;
};

// One browser session: its own window, as far as the application can tell.
struct THttpSession {
  THttpBrowserHost Host;  // declared first: the handler refers to it
  std::unique_ptr<TNavigationHandler> Handler;
  int LangId = 0;
  bool Shown = false;
  uint64_t LastUse = 0;
};

int ParseSize(const httplib::Request& req, const char* name, int fallback) {
  if (!req.has_param(name)) return fallback;
  const std::string text = req.get_param_value(name);
  int value = 0;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || ptr != text.data() + text.size() || value <= 0 || value > 100000) return fallback;
  return value;
}

void SendText(httplib::Response& res, int status, const std::string& text) {
  res.status = status;
  res.set_header("Cache-Control", "no-store");
  res.set_content(text + "\n", "text/plain; charset=utf-8");
}

class THttpHost {
 public:
  THttpHost(std::string appFolder, platform::RegionalSettings regional, TDataModule1& data, int port,
            std::vector<std::string> extraHostNames)
      : AppFolder_(std::move(appFolder)),
        Regional_(std::move(regional)),
        Data_(data),
        Port_(port),
        ExtraHostNames_(std::move(extraHostNames)),
        Secret_(http::MakeSecret()),
        KeyCookie_("vantrel_key_" + std::to_string(port)),
        SessionCookie_("vantrel_session_" + std::to_string(port)),
        PageScriptSrc_("/.vantrel/page.js?v=" + http::MakeSecret().substr(0, 8)) {}

  const std::string& Secret() const { return Secret_; }

  void Install(httplib::Server& server) {
    server.set_default_headers({{"X-Content-Type-Options", "nosniff"},
                                {"Referrer-Policy", "same-origin"},
                                {"Content-Security-Policy", "frame-ancestors 'self'"}});
    server.set_payload_max_length(kMaxPayload);
    server.set_keep_alive_timeout(2);
    server.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
      return Admit(req, res) ? httplib::Server::HandlerResponse::Unhandled
                             : httplib::Server::HandlerResponse::Handled;
    });
    server.Get(".*", [this](const httplib::Request& req, httplib::Response& res) { Dispatch(req, res); });
    server.Post(".*", [this](const httplib::Request& req, httplib::Response& res) { Dispatch(req, res); });
    server.set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
      SendText(res, 500, "Internal error");
    });
  }

 private:
  // The Host header and the key; false after answering the request with a refusal.
  bool Admit(const httplib::Request& req, httplib::Response& res) {
    if (!req.has_header("Host")) {
      SendText(res, 400, "Bad request: no Host header");
      return false;
    }
    if (req.get_header_value_count("Host") != 1 ||
        !http::IsAllowedHost(req.get_header_value("Host"), Port_, ExtraHostNames_)) {
      SendText(res, 403, "Forbidden: this host answers only to its own address");
      return false;
    }
    if (http::SecretEquals(http::CookieValue(req.get_header_value("Cookie"), KeyCookie_), Secret_)) return true;
    if (req.has_param("k") && http::SecretEquals(req.get_param_value("k"), Secret_)) {
      res.set_header("Set-Cookie", KeyCookie_ + "=" + Secret_ + "; Path=/; HttpOnly; SameSite=Strict");
      return true;
    }
    SendText(res, 403, "Forbidden: open the address that vantrel serve printed");
    return false;
  }

  void Dispatch(const httplib::Request& req, httplib::Response& res) {
    const std::string& path = req.path;
    const bool post = req.method == "POST";
    if (post && path.rfind("/.vantrel/", 0) == 0) return SendText(res, 405, "Method not allowed");
    if (path == "/") return post ? SendText(res, 405, "Method not allowed") : Shell(req, res);
    if (path == "/.vantrel/shell.js") return Asset(res, http::ShellScript(), "text/javascript; charset=utf-8");
    if (path == "/.vantrel/page.js") return Asset(res, http::PageScript(), "text/javascript; charset=utf-8");
    if (path == "/.vantrel/logo.svg") return Asset(res, http::LogoSvg(), "image/svg+xml");
    if (path == "/start") return Start(req, res);
    if (path == "/navigate") return NavigateEndpoint(req, res);
    if (path == "/lang") return Language(req, res);
    if (path == "/resize") return Resize(req, res);
    return AppFile(req, res);
  }

  static void Asset(httplib::Response& res, const std::string& body, const char* type) {
    res.set_header("Cache-Control", "private, max-age=86400");
    res.set_content(body, type);
  }

  // The session of the request's cookie, made when missing. A session made outside
  // the shell's start-up publishes the default sizes at once.
  THttpSession& SessionFor(const httplib::Request& req, httplib::Response& res, bool showNow) {
    const std::string id = http::CookieValue(req.get_header_value("Cookie"), SessionCookie_);
    auto it = Sessions_.find(id);
    if (it == Sessions_.end()) {
      if (Sessions_.size() >= kMaxSessions) {
        auto oldest = std::min_element(Sessions_.begin(), Sessions_.end(), [](const auto& a, const auto& b) {
          return a.second->LastUse < b.second->LastUse;
        });
        Sessions_.erase(oldest);
      }
      auto session = std::make_unique<THttpSession>();
      session->Handler = std::make_unique<TNavigationHandler>(AppFolder_, Regional_, session->Host);
      TEngine& engine = session->Handler->Engine;
      engine.Session = &Data_.Session;
      // No dialog can be shown in the middle of a page: the user counts as having cancelled.
      engine.SaveDialog = [](const TSaveDialogRequest&, std::string&) { return false; };
      engine.MailProgram = SendWithMailProgram;
      const std::string newId = http::MakeSecret();
      res.set_header("Set-Cookie", SessionCookie_ + "=" + newId + "; Path=/; HttpOnly; SameSite=Strict");
      it = Sessions_.emplace(newId, std::move(session)).first;
    }
    THttpSession& session = *it->second;
    session.LastUse = ++Clock_;
    if (showNow && !session.Shown) {
      session.Handler->FormShow(TScreenInfo{});
      session.Shown = true;
    }
    return session;
  }

  void Shell(const httplib::Request& req, httplib::Response& res) {
    std::string title = " ";
    {
      std::lock_guard<std::mutex> lock(Mutex_);
      const THttpSession& session = SessionFor(req, res, false);
      if (const http::TLanguageLink* link = http::LanguageLinkById(session.LangId)) title = link->Title;
    }
    res.set_header("Cache-Control", "no-store");
    res.set_content(http::ShellPage(title), "text/html; charset=windows-1252");
  }

  // The main window's first showing: the sizes published once, then the start page.
  void Start(const httplib::Request& req, httplib::Response& res) {
    if (req.method != "GET") return SendText(res, 405, "Method not allowed");
    std::lock_guard<std::mutex> lock(Mutex_);
    THttpSession& session = SessionFor(req, res, false);
    const TScreenInfo defaults;
    const int ww = ParseSize(req, "ww", defaults.WindowWidth);
    const int wh = ParseSize(req, "wh", defaults.WindowHeight);
    if (!session.Shown) {
      session.Handler->FormShow(TScreenInfo{ParseSize(req, "sw", defaults.ScreenWidth),
                                            ParseSize(req, "sh", defaults.ScreenHeight), ww, wh});
      session.Shown = true;
    } else {
      session.Handler->FormResize(ww, wh);
    }
    Navigate(session, "http://Select\\Index.qsp", "", res);
  }

  void NavigateEndpoint(const httplib::Request& req, httplib::Response& res) {
    if (req.method != "GET") return SendText(res, 405, "Method not allowed");
    if (!req.has_param("url")) return SendText(res, 400, "Bad request: no url");
    const std::string url = platform::Utf8ToAnsi(req.get_param_value("url"));
    const std::string target = platform::Utf8ToAnsi(req.get_param_value("target"));
    std::lock_guard<std::mutex> lock(Mutex_);
    Navigate(SessionFor(req, res, true), url, target, res);
  }

  void Language(const httplib::Request& req, httplib::Response& res) {
    if (req.method != "GET") return SendText(res, 405, "Method not allowed");
    int id = 0;
    const std::string text = req.get_param_value("id");
    std::from_chars(text.data(), text.data() + text.size(), id);
    if (http::LanguageLinkById(id) == nullptr) return SendText(res, 400, "Bad request: unknown language");
    std::lock_guard<std::mutex> lock(Mutex_);
    THttpSession& session = SessionFor(req, res, true);
    session.LangId = id;
    const std::string url = session.Handler->SelectLanguage(id);
    // Before any page was requested the URL is empty: the page area stays as it is.
    if (url.empty()) {
      res.status = 204;
      return;
    }
    Navigate(session, url, "", res);
  }

  void Resize(const httplib::Request& req, httplib::Response& res) {
    std::lock_guard<std::mutex> lock(Mutex_);
    THttpSession& session = SessionFor(req, res, true);
    const TScreenInfo defaults;
    session.Handler->FormResize(ParseSize(req, "ww", defaults.WindowWidth), ParseSize(req, "wh", defaults.WindowHeight));
    res.status = 204;
    res.set_header("Cache-Control", "no-store");
  }

  // Runs one navigation through the session's handler and answers with its outcome.
  // Called with the render lock held.
  void Navigate(THttpSession& session, std::string url, const std::string& target, httplib::Response& res) {
    if (http::IsRoutedUrl(url) && url.find("javascript:back();") == std::string::npos &&
        !http::InsideAppFolder(http::NavigationFile(url, AppFolder_), AppFolder_))
      return SendText(res, 403, "Forbidden: outside the application folder");
    session.Host.Reset();
    bool cancel = false;
    session.Handler->WebBrowser1BeforeNavigate2(url, target, cancel);
    res.set_header("Cache-Control", "no-store");
    if (session.Host.Delivered) {
      res.set_content(http::PreparePage(*session.Host.Delivered, AppFolder_, url, target, PageScriptSrc_),
                      "text/html; charset=windows-1252");
      return;
    }
    if (session.Host.ShellPath) {
      // The desktop would open the file with its viewer; here the browser shows it.
      std::string path = *session.Host.ShellPath;
      path = path.substr(0, path.find('?'));
      const auto file = http::ResolveAppFile(path, AppFolder_);
      if (!file || http::StaticContentType(file->filename().string()).empty())
        return SendText(res, 404, "Not found");
      std::error_code ec;
      const fs::path rel = file->lexically_relative(fs::canonical(platform::ToHostPath(AppFolder_), ec));
      std::string engine = AppFolder_ + rel.generic_string();
      std::replace(engine.begin(), engine.end(), '/', '\\');
      res.status = 303;
      res.set_header("Location", http::RequestPathFromEnginePath(engine));
      return;
    }
    // Left to the browser: nothing changes in the page area.
    res.status = 204;
  }

  // A path in the application folder's space: a template runs as a navigation of the
  // frame that asked for it (a frame's source, a relative address the page script
  // did not see); any other file is served as it is when its kind is served.
  void AppFile(const httplib::Request& req, httplib::Response& res) {
    const std::string engine = http::EnginePathFromRequestPath(req.path, AppFolder_);
    if (engine.empty()) return SendText(res, 404, "Not found");
    const std::string dest = req.get_header_value("Sec-Fetch-Dest");
    const bool navigation = dest.empty() || dest == "document" || dest == "iframe" || dest == "frame";
    if (http::IsTemplateUrl(engine) && navigation) {
      if (req.method == "HEAD") return SendText(res, 405, "Method not allowed");
      std::string url = engine;
      const size_t q = req.target.find('?');
      if (q != std::string::npos) url += req.target.substr(q);
      std::lock_guard<std::mutex> lock(Mutex_);
      return Navigate(SessionFor(req, res, true), url, "", res);
    }
    if (req.method == "POST") return SendText(res, 405, "Method not allowed");
    const std::string type = http::StaticContentType(engine);
    const auto file = type.empty() ? std::nullopt : http::ResolveAppFile(engine, AppFolder_);
    if (!file) return SendText(res, 404, "Not found");
    std::ifstream in(*file, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) return SendText(res, 404, "Not found");
    res.set_header("Cache-Control", "no-cache");
    if (type.rfind("text/html", 0) == 0) {
      res.set_header("Cache-Control", "no-store");
      bytes = http::PreparePage(bytes, AppFolder_, engine, "", PageScriptSrc_);
    }
    res.set_content(bytes, type);
  }

  const std::string AppFolder_;
  const platform::RegionalSettings Regional_;
  TDataModule1& Data_;
  const int Port_;
  const std::vector<std::string> ExtraHostNames_;
  const std::string Secret_;
  const std::string KeyCookie_;
  const std::string SessionCookie_;
  const std::string PageScriptSrc_;

  // The engine is not re-entrant: one page runs at a time, for every session. The
  // same lock guards the sessions.
  std::mutex Mutex_;
  std::map<std::string, std::unique_ptr<THttpSession>> Sessions_;
  uint64_t Clock_ = 0;
};

// SIGINT and SIGTERM reach a handler that can only write a byte into a pipe; a
// watcher thread reads it and stops the server. The pipe is the one piece of
// process-wide state, as a signal handler has nowhere else to reach.
int g_stopPipe[2] = {-1, -1};

extern "C" void OnStopSignal(int) {
  const char byte = 1;
  const ssize_t written = write(g_stopPipe[1], &byte, 1);
  (void)written;
}

// A client that goes away mid-answer must not end the process; a caught signal
// (unlike an ignored one) is back to its default in programs the templates start.
extern "C" void OnBrokenPipe(int) {}

class TSignalScope {
 public:
  TSignalScope() {
    if (pipe(g_stopPipe) != 0) g_stopPipe[0] = g_stopPipe[1] = -1;
    struct sigaction stop {};
    stop.sa_handler = OnStopSignal;
    sigemptyset(&stop.sa_mask);
    stop.sa_flags = SA_RESTART;
    sigaction(SIGINT, &stop, &oldInt_);
    sigaction(SIGTERM, &stop, &oldTerm_);
    struct sigaction broken {};
    broken.sa_handler = OnBrokenPipe;
    sigemptyset(&broken.sa_mask);
    broken.sa_flags = SA_RESTART;
    sigaction(SIGPIPE, &broken, &oldPipe_);
  }
  ~TSignalScope() {
    sigaction(SIGINT, &oldInt_, nullptr);
    sigaction(SIGTERM, &oldTerm_, nullptr);
    sigaction(SIGPIPE, &oldPipe_, nullptr);
    for (int& fd : g_stopPipe) {
      if (fd >= 0) close(fd);
      fd = -1;
    }
  }
  TSignalScope(const TSignalScope&) = delete;
  TSignalScope& operator=(const TSignalScope&) = delete;

  // Waits for a signal (true) or for Release (false).
  bool Wait() {
    char byte = 0;
    while (true) {
      const ssize_t n = read(g_stopPipe[0], &byte, 1);
      if (n == 1) return byte == 1;
      if (n < 0 && errno == EINTR) continue;
      return false;
    }
  }
  void Release() {
    const char byte = 2;
    const ssize_t written = write(g_stopPipe[1], &byte, 1);
    (void)written;
  }

 private:
  struct sigaction oldInt_ {};
  struct sigaction oldTerm_ {};
  struct sigaction oldPipe_ {};
};

std::string HostForUrl(const std::string& address) {
  if (address == "0.0.0.0" || address.empty()) return "127.0.0.1";
  if (address == "::") return "[::1]";
  if (address.find(':') != std::string::npos) return "[" + address + "]";
  return address;
}

}  // namespace

int RunServe(const TServeOptions& options, std::ostream& out, std::ostream& err) {
  std::error_code ec;
  if (!fs::is_directory(options.AppDir, ec)) {
    err << "vantrel: application folder not found: " << options.AppDir << "\n";
    return 1;
  }
  if (options.Port < 0 || options.Port > 65535) {
    err << "vantrel: port out of range: " << options.Port << "\n";
    return 2;
  }
  const std::optional<std::string> entered = EnterApplicationFolder(options.AppDir, err);
  if (!entered) return 1;
  const std::string& appFolder = *entered;
  const std::string localeId = ChooseLocaleId(options.LocaleId);
  const bool loopback = http::IsLoopbackAddress(options.Bind);
  if (!loopback) {
    err << "vantrel: warning: serving on " << options.Bind
        << ", beyond this machine. Anyone who can reach it and learns the printed address can run the "
           "application's templates, which may start programs and write files.\n";
  }
  std::vector<std::string> extraHostNames;
  if (!loopback) {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) == 0 && name[0] != '\0') extraHostNames.emplace_back(name);
  }

  TSignalScope signals;
  TDataModule1 dataModule;
  httplib::Server server;
  // Address reuse only: a port another process listens on stays taken (the
  // library's default would share it, splitting requests between two hosts).
  server.set_socket_options([](int sock) {
    int yes = 1;
    setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  });
  // The server takes ownership of the queue it is handed and deletes it.
  server.new_task_queue = [] { return std::make_unique<httplib::ThreadPool>(16).release(); };
  int port = options.Port;
  if (port == 0) {
    port = server.bind_to_any_port(options.Bind);
    if (port <= 0) {
      err << "vantrel: cannot listen on " << options.Bind << "\n";
      return 1;
    }
  } else if (!server.bind_to_port(options.Bind, port)) {
    err << "vantrel: cannot listen on " << options.Bind << ":" << port << "\n";
    return 1;
  }

  THttpHost host(appFolder, platform::RegionalSettings::FromLocale(localeId), dataModule, port,
                 std::move(extraHostNames));
  host.Install(server);

  const std::string address = "http://" + HostForUrl(options.Bind) + ":" + std::to_string(port) + "/?k=" + host.Secret();
  out << "Vantrel is served at " << address << "\n"
      << "Open that address in a browser on this machine; stop with Ctrl+C.\n";
  out.flush();
  if (options.Open) OpenWithShell(address);

  std::atomic<bool> listenEnded = false;
  std::thread watcher([&] {
    if (!signals.Wait()) return;
    // The server may not be accepting yet: stop it until it has ended.
    while (!listenEnded) {
      server.stop();
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  });
  const bool listened = server.listen_after_bind();
  listenEnded = true;
  signals.Release();
  watcher.join();
  out << "Vantrel stopped.\n";
  out.flush();
  return listened ? 0 : 1;
}

}  // namespace vantrel
