// A whole template from bytes: parsed and rendered as a page fragment.
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vantrel;
  const std::string text = fuzz::Text(data, size);
  if (fuzz::HasSideEffects(text)) return -1;
  fuzz::TRun run;
  auto fragment = TPBaseTag::CreateFragment(text, run.Page.get(), size % 2 == 0, false);
  (void)fragment->Render();
  return 0;
}
