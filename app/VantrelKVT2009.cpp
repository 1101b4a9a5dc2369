// The program's start: the command line selects the host.
//   vantrel render ...          the command-line host (pages to files or stdout)
//   vantrel scramble IN OUT     store a template scrambled
//   vantrel unscramble IN OUT   recover a scrambled template's text
#include <iostream>

#include <CLI/CLI.hpp>

#include "app/RenderHost.h"

#ifndef VANTREL_SOURCE_DIR
#define VANTREL_SOURCE_DIR "."
#endif

int main(int argc, char** argv) {
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
  if (*cmdScramble) return vantrel::RunScramble(in, out, true, std::cerr);
  if (*cmdUnscramble) return vantrel::RunScramble(in, out, false, std::cerr);
  return 2;
}
