// Query-string decoding: a request path with the bytes as its query string.
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vantrel;
  fuzz::TRun run;
  auto page = TPBaseTag::CreatePage(run.Engine, "\\nonexistent-app\\p.qsp?" + fuzz::Text(data, size), nullptr,
                                    &run.AppVariables, &run.Cookies, &run.QueryList);
  (void)page->Render();
  return 0;
}
