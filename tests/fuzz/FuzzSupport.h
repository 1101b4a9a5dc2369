// Shared set-up of the fuzz targets: one engine run with a page to own fragments
// and clauses, and the filter that keeps inputs away from side effects on the
// fuzzing machine (started programs, written or copied files, mail).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/Strings.h"
#include "engine/TPBaseTag.h"

namespace vantrel::fuzz {

// Inputs naming a built-in or tag with effects outside the engine are skipped:
// a fuzzer must not start programs or write files.
inline bool HasSideEffects(const std::string& text) {
  const std::string l = LowerCase(text);
  for (const char* word : {"exec", "filecopy", "dbsetfile", "evaluate", "valueof", "cffile", "cf_file", "cf_mail"})
    if (l.find(word) != std::string::npos) return true;
  return false;
}

struct TRun {
  TEngine Engine{"\\nonexistent-app\\", platform::RegionalSettings{}};
  TStringList AppVariables;
  TCookieList Cookies;
  TQueryList QueryList;
  std::unique_ptr<TPBaseTag> Page;

  TRun() {
    // Small budgets keep every input within the fuzzer's time limit.
    Engine.MaxLoopPasses = 2000;
    Engine.MaxWork = 20000000;
    Engine.MaxValueLength = 1 << 20;
    AppVariables.Add("DecimalCode", ".");
    Page = TPBaseTag::CreatePage(Engine, "\\nonexistent-app\\Select\\Page.qsp?x=5&name=abc&list=a,b,c", nullptr,
                                 &AppVariables, &Cookies, &QueryList);
  }
};

inline std::string Text(const uint8_t* data, size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

}  // namespace vantrel::fuzz
