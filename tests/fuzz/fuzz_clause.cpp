// Clause evaluation from bytes, with names resolved through a page.
#include "engine/clause/TClause.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vantrel;
  const std::string text = fuzz::Text(data, size);
  if (fuzz::HasSideEffects(text)) return -1;
  fuzz::TRun run;
  (void)EvaluateClause(run.Engine, text, run.Page.get());
  (void)EvaluateClause(run.Engine, text, nullptr);
  return 0;
}
