// Built-in functions with their name and arguments from bytes: the first byte picks
// the function, the rest is cut at NUL bytes into arguments, each passed as a literal.
#include "engine/clause/TClause.h"
#include "engine/functions/FunctionTable.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vantrel;
  if (size == 0) return -1;
  const TFunctionRow& row = FunctionTable[data[0] % FunctionTable.size()];
  const std::string name(row.Name);
  if (fuzz::HasSideEffects(name)) return -1;
  std::string clause = "(" + name + "(";
  std::string arg;
  bool first = true;
  auto flush = [&] {
    if (!first) clause += ", ";
    first = false;
    std::string quoted;
    for (char c : arg) quoted += c == '"' ? '\'' : c;  // a double quote would end the literal
    clause += "\"" + quoted + "\"";
    arg.clear();
  };
  for (size_t i = 1; i < size; ++i) {
    if (data[i] == 0) flush();
    else arg += static_cast<char>(data[i]);
  }
  flush();
  clause += "))";
  fuzz::TRun run;
  (void)EvaluateClause(run.Engine, clause, run.Page.get());
  return 0;
}
