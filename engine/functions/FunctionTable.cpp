// The built-in function table and the lookups over it.
#include "engine/functions/FunctionTable.h"

#include "engine/functions/BuiltIns.h"

#include <algorithm>

namespace vantrel {

// Four names are callable but not reserved: a bare arraymax, chr, delocalize or
// localize is looked up as a variable like any other name.
constexpr std::array<TFunctionRow, kFunctionCount> FunctionTable = {{
    {"arraymax", &Fn_arraymax, false},
    {"asint", &Fn_asint, true},
    {"dbsetfile", &Fn_dbsetfile, true},
    {"ceiling", &Fn_ceiling, true},
    {"cleantext", &Fn_cleantext, true},
    {"chr", &Fn_chr, false},
    {"comparestr", &Fn_comparestr, true},
    {"comparetext", &Fn_comparetext, true},
    {"concat", &Fn_concat, true},
    {"copy", &Fn_copy, true},
    {"createtimespan", &Fn_createtimespan, true},
    {"date", &Fn_date, true},
    {"dateadd", &Fn_dateadd, true},
    {"dateformat", &Fn_dateformat, true},
    {"delete", &Fn_delete, true},
    {"delocalize", &Fn_delocalize, false},
    {"directoryexists", &Fn_directoryexists, true},
    {"dosexec", &Fn_dosexec, true},
    {"dosexechide", &Fn_dosexechide, true},
    {"evaluate", &Fn_evaluate, true},
    {"filecopy", &Fn_filecopy, true},
    {"fileexists", &Fn_fileexists, true},
    {"find", &Fn_find, true},
    {"findoneof", &Fn_findoneof, true},
    {"floor", &Fn_floor, true},
    {"fullupc", &Fn_fullupc, true},
    {"gettoken", &Fn_gettoken, true},
    {"htmleditformat", &Fn_htmleditformat, true},
    {"insert", &Fn_insert, true},
    {"int", &Fn_int, true},
    {"isdate", &Fn_isdate, true},
    {"isdatetime", &Fn_isdatetime, true},
    {"isdefined", &Fn_isdefined, true},
    {"isnumeric", &Fn_isnumeric, true},
    {"istime", &Fn_istime, true},
    {"iswhole", &Fn_iswhole, true},
    {"lcase", &Fn_lcase, true},
    {"left", &Fn_left, true},
    {"len", &Fn_len, true},
    {"listappend", &Fn_listappend, true},
    {"listcontains", &Fn_listcontains, true},
    {"listcontainsnocase", &Fn_listcontainsnocase, true},
    {"listdeleteat", &Fn_listdeleteat, true},
    {"listfind", &Fn_listfind, true},
    {"listfindnocase", &Fn_listfindnocase, true},
    {"listfirst", &Fn_listfirst, true},
    {"listgetat", &Fn_listgetat, true},
    {"listinsertat", &Fn_listinsertat, true},
    {"listlast", &Fn_listlast, true},
    {"listlen", &Fn_listlen, true},
    {"listprepend", &Fn_listprepend, true},
    {"listrest", &Fn_listrest, true},
    {"listsetat", &Fn_listsetat, true},
    {"listtoarray", &Fn_listtoarray, true},
    {"localize", &Fn_localize, false},
    {"mid", &Fn_mid, true},
    {"mod", &Fn_mod, true},
    {"now", &Fn_now, true},
    {"numberformat", &Fn_numberformat, true},
    {"parameterexists", &Fn_parameterexists, true},
    {"pos", &Fn_pos, true},
    {"quoted", &Fn_quoted, true},
    {"randrange", &Fn_randrange, true},
    {"removechars", &Fn_removechars, true},
    {"replace", &Fn_replace, true},
    {"replacenocase", &Fn_replacenocase, true},
    {"right", &Fn_right, true},
    {"rootpath", &Fn_rootpath, true},
    {"round", &Fn_round, true},
    {"safequote", &Fn_safequote, true},
    {"shellexec", &Fn_shellexec, true},
    {"shellexechide", &Fn_shellexechide, true},
    {"spanexcluding", &Fn_spanexcluding, true},
    {"sqlsafe", &Fn_sqlsafe, true},
    {"structdelete", &Fn_structdelete, true},
    {"sqr", &Fn_sqr, true},
    {"time", &Fn_time, true},
    {"trim", &Fn_trim, true},
    {"ucase", &Fn_ucase, true},
    {"urlencodedformat", &Fn_urlencodedformat, true},
    {"urldecodedformat", &Fn_urldecodedformat, true},
    {"validupc", &Fn_validupc, true},
    {"valuelist", &Fn_valuelist, true},
    {"valueof", &Fn_valueof, true},
    {"verifydata", &Fn_verifydata, true},
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
