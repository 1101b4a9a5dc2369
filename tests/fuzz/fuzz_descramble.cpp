// Template loading from bytes: line joining and descrambling, and the round trip of
// scrambling what was joined.
#include <cstdlib>

#include "engine/Scramble.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vantrel;
  const std::string bytes = fuzz::Text(data, size);
  (void)DescrambleTemplate(bytes);
  const std::string joined = JoinTemplateLines(bytes);
  (void)DescrambleTemplate(joined);
  const std::string scrambled = ScrambleTemplate(joined);
  if (scrambled.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) std::abort();
  if (DescrambleTemplate(JoinTemplateLines(scrambled)) != "<crypt>" + joined) std::abort();
  return 0;
}
