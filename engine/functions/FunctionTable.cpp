// The built-in function table and the lookups over it.
#include "engine/functions/FunctionTable.h"

#include <algorithm>

namespace vantrel {

// Four names are callable but not reserved: a bare arraymax, chr, delocalize or
// localize is looked up as a variable like any other name.
constexpr std::array<TFunctionRow, kFunctionCount> FunctionTable = {{
    {"arraymax", nullptr, false},
    {"asint", nullptr, true},
    {"dbsetfile", nullptr, true},
    {"ceiling", nullptr, true},
    {"cleantext", nullptr, true},
    {"chr", nullptr, false},
    {"comparestr", nullptr, true},
    {"comparetext", nullptr, true},
    {"concat", nullptr, true},
    {"copy", nullptr, true},
    {"createtimespan", nullptr, true},
    {"date", nullptr, true},
    {"dateadd", nullptr, true},
    {"dateformat", nullptr, true},
    {"delete", nullptr, true},
    {"delocalize", nullptr, false},
    {"directoryexists", nullptr, true},
    {"dosexec", nullptr, true},
    {"dosexechide", nullptr, true},
    {"evaluate", nullptr, true},
    {"filecopy", nullptr, true},
    {"fileexists", nullptr, true},
    {"find", nullptr, true},
    {"findoneof", nullptr, true},
    {"floor", nullptr, true},
    {"fullupc", nullptr, true},
    {"gettoken", nullptr, true},
    {"htmleditformat", nullptr, true},
    {"insert", nullptr, true},
    {"int", nullptr, true},
    {"isdate", nullptr, true},
    {"isdatetime", nullptr, true},
    {"isdefined", nullptr, true},
    {"isnumeric", nullptr, true},
    {"istime", nullptr, true},
    {"iswhole", nullptr, true},
    {"lcase", nullptr, true},
    {"left", nullptr, true},
    {"len", nullptr, true},
    {"listappend", nullptr, true},
    {"listcontains", nullptr, true},
    {"listcontainsnocase", nullptr, true},
    {"listdeleteat", nullptr, true},
    {"listfind", nullptr, true},
    {"listfindnocase", nullptr, true},
    {"listfirst", nullptr, true},
    {"listgetat", nullptr, true},
    {"listinsertat", nullptr, true},
    {"listlast", nullptr, true},
    {"listlen", nullptr, true},
    {"listprepend", nullptr, true},
    {"listrest", nullptr, true},
    {"listsetat", nullptr, true},
    {"listtoarray", nullptr, true},
    {"localize", nullptr, false},
    {"mid", nullptr, true},
    {"mod", nullptr, true},
    {"now", nullptr, true},
    {"numberformat", nullptr, true},
    {"parameterexists", nullptr, true},
    {"pos", nullptr, true},
    {"quoted", nullptr, true},
    {"randrange", nullptr, true},
    {"removechars", nullptr, true},
    {"replace", nullptr, true},
    {"replacenocase", nullptr, true},
    {"right", nullptr, true},
    {"rootpath", nullptr, true},
    {"round", nullptr, true},
    {"safequote", nullptr, true},
    {"shellexec", nullptr, true},
    {"shellexechide", nullptr, true},
    {"spanexcluding", nullptr, true},
    {"sqlsafe", nullptr, true},
    {"structdelete", nullptr, true},
    {"sqr", nullptr, true},
    {"time", nullptr, true},
    {"trim", nullptr, true},
    {"ucase", nullptr, true},
    {"urlencodedformat", nullptr, true},
    {"urldecodedformat", nullptr, true},
    {"validupc", nullptr, true},
    {"valuelist", nullptr, true},
    {"valueof", nullptr, true},
    {"verifydata", nullptr, true},
}};

namespace {

constexpr std::size_t CountReserved() {
  std::size_t n = 0;
  for (const TFunctionRow& row : FunctionTable)
    if (row.Reserved) ++n;
  return n;
}
static_assert(CountReserved() == kReservedFunctionCount, "reserved flags and kReservedFunctionCount disagree");

constexpr bool NamesAreLowerCaseAndDistinct() {
  for (std::size_t i = 0; i < FunctionTable.size(); ++i) {
    for (char c : FunctionTable[i].Name)
      if (c >= 'A' && c <= 'Z') return false;
    for (std::size_t j = i + 1; j < FunctionTable.size(); ++j)
      if (FunctionTable[i].Name == FunctionTable[j].Name) return false;
  }
  return true;
}
static_assert(NamesAreLowerCaseAndDistinct(), "function names must be lower case and distinct");

// Row indexes ordered by name, for the binary search of FindFunction.
constexpr std::array<unsigned char, kFunctionCount> kByName = [] {
  std::array<unsigned char, kFunctionCount> order{};
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<unsigned char>(i);
  std::sort(order.begin(), order.end(),
            [](unsigned char a, unsigned char b) { return FunctionTable[a].Name < FunctionTable[b].Name; });
  return order;
}();

}  // namespace

constexpr std::array<std::string_view, kReservedFunctionCount> ReservedFunctionNames = [] {
  std::array<std::string_view, kReservedFunctionCount> names{};
  std::size_t n = 0;
  for (const TFunctionRow& row : FunctionTable)
    if (row.Reserved) names[n++] = row.Name;
  return names;
}();

const TFunctionRow* FindFunction(std::string_view lowerName) {
  auto it = std::lower_bound(kByName.begin(), kByName.end(), lowerName,
                             [](unsigned char row, std::string_view name) { return FunctionTable[row].Name < name; });
  if (it == kByName.end() || FunctionTable[*it].Name != lowerName) return nullptr;
  return &FunctionTable[*it];
}

}  // namespace vantrel
