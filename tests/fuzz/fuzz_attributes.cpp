// Attribute texts from bytes: rendered, split and evaluated as a tag's attributes.
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vantrel;
  const std::string text = fuzz::Text(data, size);
  if (fuzz::HasSideEffects(text)) return -1;
  fuzz::TRun run;
  // A param tag evaluates its attributes at render time and stores a default.
  auto fragment = TPBaseTag::CreateFragment("<cfparam " + text + ">", run.Page.get(), false, false);
  (void)fragment->Render();
  run.Page->ParseAttributes(text);
  run.Page->EvaluateAttributes();
  return 0;
}
