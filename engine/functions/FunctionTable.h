// The built-in function table: the 85 names a clause can call, each bound to its
// built-in, with the flag that keeps a bare word of that name from being looked up
// as a variable. ReservedFunctionNames is derived from the table.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace vantrel {

class TClause;

// A built-in receives the calling clause, the prepared argument clause and the
// result text (empty on entry), and writes its result into the text.
using TBuiltIn = void (*)(TClause& caller, TClause& arguments, std::string& result);

struct TFunctionRow {
  std::string_view Name;  // lower case
  TBuiltIn Function;      // the built-in the name selects
  bool Reserved;          // a bare word of this name stands for itself
};

inline constexpr std::size_t kFunctionCount = 85;
inline constexpr std::size_t kReservedFunctionCount = 81;

extern const std::array<TFunctionRow, kFunctionCount> FunctionTable;
// The names of the rows marked Reserved, in table order.
extern const std::array<std::string_view, kReservedFunctionCount> ReservedFunctionNames;

// The row of a lower-case function name, or none.
const TFunctionRow* FindFunction(std::string_view lowerName);

}  // namespace vantrel
