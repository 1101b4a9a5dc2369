// The program's start: the command line selects the host.
//   vantrel render ...          the command-line host (pages to files or stdout)
//   vantrel scramble IN OUT     store a template scrambled
//   vantrel unscramble IN OUT   recover a scrambled template's text
//   vantrel serve ...           the HTTP host (the application in a web browser)
//   vantrel [desktop] ...       the desktop window (the default without a command)
#include <iostream>

#include <malloc.h>

#include <CLI/CLI.hpp>

#ifdef VANTREL_DESKTOP
#include "app/DesktopHost.h"
#endif
#include "app/HttpHost.h"
#include "app/RenderHost.h"

#ifndef VANTREL_SOURCE_DIR
#define VANTREL_SOURCE_DIR "."
#endif

int main(int argc, char** argv) {
  // Pages are built and freed over and over: memory freed at the top of the heap
  // is kept for the next page instead of being handed back to the system and
  // faulted in again.
  mallopt(M_TRIM_THRESHOLD, 64 << 20);
  mallopt(M_TOP_PAD, 4 << 20);
  CLI::App app{"Vantrel Quorvel Sizer"};
  app.require_subcommand(1);

  vantrel::TRenderOptions render;
  render.AppDir = std::string(VANTREL_SOURCE_DIR) + "/demo";
  std::vector<std::string> sets;
  auto* cmdRender = app.add_subcommand("render", "Render pages from the command line");
  cmdRender->add_option("--app", render.AppDir, "The application folder")->capture_default_str();
  cmdRender->add_option("--locale", render.LocaleId, "An ICU locale id such as en-US or de-CH");
  cmdRender->add_option("--set", sets, "NAME=VALUE added to the application variables")->allow_extra_args(false);
  cmdRender->add_option("--out", render.OutDir, "Write the page of URL i to OUTDIR/i.html");
  cmdRender->add_flag("--errors", render.Errors, "Write the engine's error messages to stderr");
  cmdRender->add_option("--write-pause-ms", render.WritePauseMs, "Pause after a data-changing statement")
      ->check(CLI::NonNegativeNumber);
  cmdRender->add_option("--save-as", render.SaveAs, "Answer every save dialog with this path");
  cmdRender->add_option("--mail-log", render.MailLog, "Record mail messages in this file instead of sending");
  cmdRender->add_option("--repeat", render.Repeat, "Render the URL sequence N times")->check(CLI::PositiveNumber);
  cmdRender->add_option("URL", render.Urls, "Pseudo-URLs to navigate to, in order")->required();

  std::string in, out;
  auto* cmdScramble = app.add_subcommand("scramble", "Store a template scrambled");
  cmdScramble->add_option("IN", in)->required();
  cmdScramble->add_option("OUT", out)->required();
  auto* cmdUnscramble = app.add_subcommand("unscramble", "Recover the text of a scrambled template");
  cmdUnscramble->add_option("IN", in)->required();
  cmdUnscramble->add_option("OUT", out)->required();

  vantrel::TServeOptions serve;
  serve.AppDir = std::string(VANTREL_SOURCE_DIR) + "/demo";
  auto* cmdServe = app.add_subcommand("serve", "Serve the application to a web browser on this machine");
  cmdServe->add_option("--app", serve.AppDir, "The application folder")->capture_default_str();
  cmdServe->add_option("--port", serve.Port, "The port; 0 chooses a free one")
      ->capture_default_str()
      ->check(CLI::Range(0, 65535));
  cmdServe->add_option("--bind", serve.Bind, "The address to listen on")->capture_default_str();
  cmdServe->add_option("--locale", serve.LocaleId, "An ICU locale id such as en-US or de-CH");
  cmdServe->add_flag("--open", serve.Open, "Open the address in the default browser");

#ifdef VANTREL_DESKTOP
  // The desktop window: `vantrel` alone, or `vantrel desktop`, with the same options.
  app.require_subcommand(0, 1);
  vantrel::TDesktopOptions desktop;
  desktop.AppDir = std::string(VANTREL_SOURCE_DIR) + "/demo";
  auto* cmdDesktop = app.add_subcommand("desktop", "Open the application in its window (the default)");
  for (CLI::App* on : {static_cast<CLI::App*>(&app), cmdDesktop}) {
    on->add_option("--app", desktop.AppDir, "The application folder of the window")->capture_default_str();
    on->add_option("--locale", desktop.LocaleId, "An ICU locale id such as en-US or de-CH");
    on->add_option("--screenshot", desktop.Screenshot, "Write a PNG of the window once the start page is shown, then end");
    on->add_option("--trace", desktop.Trace, "A log of what the window did and showed (for tests)")->group("");
  }
#endif

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return 2;
  }

  if (*cmdRender) {
    for (const std::string& s : sets) {
      size_t eq = s.find('=');
      if (eq == std::string::npos || eq == 0) {
        std::cerr << "vantrel: --set expects NAME=VALUE, got: " << s << "\n";
        return 2;
      }
      render.Sets.emplace_back(s.substr(0, eq), s.substr(eq + 1));
    }
    return vantrel::RunRender(render, std::cout, std::cerr);
  }
  if (*cmdServe) return vantrel::RunServe(serve, std::cout, std::cerr);
  if (*cmdScramble) return vantrel::RunScramble(in, out, true, std::cerr);
  if (*cmdUnscramble) return vantrel::RunScramble(in, out, false, std::cerr);
#ifdef VANTREL_DESKTOP
  if (*cmdDesktop || app.get_subcommands().empty()) return vantrel::RunDesktop(desktop, std::cerr);
#endif
  return 2;
}
