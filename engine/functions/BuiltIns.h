// Declarations of the built-in functions, one source per family:
// StringFunctions.cpp, ListFunctions.cpp, NumberFunctions.cpp (numbers, dates and
// locale) and EnvironmentFunctions.cpp (environment, files, database and variables).
// Each reads its arguments from the prepared argument clause and writes its result.
#pragma once

#include <string>

namespace vantrel {

class TClause;

// String family
void Fn_cleantext(TClause& caller, TClause& arguments, std::string& result);
void Fn_chr(TClause& caller, TClause& arguments, std::string& result);
void Fn_comparestr(TClause& caller, TClause& arguments, std::string& result);
void Fn_comparetext(TClause& caller, TClause& arguments, std::string& result);
void Fn_concat(TClause& caller, TClause& arguments, std::string& result);
void Fn_copy(TClause& caller, TClause& arguments, std::string& result);
void Fn_delete(TClause& caller, TClause& arguments, std::string& result);
void Fn_find(TClause& caller, TClause& arguments, std::string& result);
void Fn_findoneof(TClause& caller, TClause& arguments, std::string& result);
void Fn_fullupc(TClause& caller, TClause& arguments, std::string& result);
void Fn_gettoken(TClause& caller, TClause& arguments, std::string& result);
void Fn_htmleditformat(TClause& caller, TClause& arguments, std::string& result);
void Fn_insert(TClause& caller, TClause& arguments, std::string& result);
void Fn_lcase(TClause& caller, TClause& arguments, std::string& result);
void Fn_left(TClause& caller, TClause& arguments, std::string& result);
void Fn_len(TClause& caller, TClause& arguments, std::string& result);
void Fn_mid(TClause& caller, TClause& arguments, std::string& result);
void Fn_pos(TClause& caller, TClause& arguments, std::string& result);
void Fn_quoted(TClause& caller, TClause& arguments, std::string& result);
void Fn_removechars(TClause& caller, TClause& arguments, std::string& result);
void Fn_replace(TClause& caller, TClause& arguments, std::string& result);
void Fn_replacenocase(TClause& caller, TClause& arguments, std::string& result);
void Fn_right(TClause& caller, TClause& arguments, std::string& result);
void Fn_safequote(TClause& caller, TClause& arguments, std::string& result);
void Fn_spanexcluding(TClause& caller, TClause& arguments, std::string& result);
void Fn_sqlsafe(TClause& caller, TClause& arguments, std::string& result);
void Fn_trim(TClause& caller, TClause& arguments, std::string& result);
void Fn_ucase(TClause& caller, TClause& arguments, std::string& result);
void Fn_urlencodedformat(TClause& caller, TClause& arguments, std::string& result);
void Fn_urldecodedformat(TClause& caller, TClause& arguments, std::string& result);
void Fn_validupc(TClause& caller, TClause& arguments, std::string& result);
void Fn_verifydata(TClause& caller, TClause& arguments, std::string& result);

// List family
void Fn_arraymax(TClause& caller, TClause& arguments, std::string& result);
void Fn_listappend(TClause& caller, TClause& arguments, std::string& result);
void Fn_listcontains(TClause& caller, TClause& arguments, std::string& result);
void Fn_listcontainsnocase(TClause& caller, TClause& arguments, std::string& result);
void Fn_listdeleteat(TClause& caller, TClause& arguments, std::string& result);
void Fn_listfind(TClause& caller, TClause& arguments, std::string& result);
void Fn_listfindnocase(TClause& caller, TClause& arguments, std::string& result);
void Fn_listfirst(TClause& caller, TClause& arguments, std::string& result);
void Fn_listgetat(TClause& caller, TClause& arguments, std::string& result);
void Fn_listinsertat(TClause& caller, TClause& arguments, std::string& result);
void Fn_listlast(TClause& caller, TClause& arguments, std::string& result);
void Fn_listlen(TClause& caller, TClause& arguments, std::string& result);
void Fn_listprepend(TClause& caller, TClause& arguments, std::string& result);
void Fn_listrest(TClause& caller, TClause& arguments, std::string& result);
void Fn_listsetat(TClause& caller, TClause& arguments, std::string& result);
void Fn_listtoarray(TClause& caller, TClause& arguments, std::string& result);
void Fn_valuelist(TClause& caller, TClause& arguments, std::string& result);

// Number family
void Fn_asint(TClause& caller, TClause& arguments, std::string& result);
void Fn_ceiling(TClause& caller, TClause& arguments, std::string& result);
void Fn_createtimespan(TClause& caller, TClause& arguments, std::string& result);
void Fn_date(TClause& caller, TClause& arguments, std::string& result);
void Fn_dateadd(TClause& caller, TClause& arguments, std::string& result);
void Fn_dateformat(TClause& caller, TClause& arguments, std::string& result);
void Fn_delocalize(TClause& caller, TClause& arguments, std::string& result);
void Fn_floor(TClause& caller, TClause& arguments, std::string& result);
void Fn_int(TClause& caller, TClause& arguments, std::string& result);
void Fn_isdate(TClause& caller, TClause& arguments, std::string& result);
void Fn_isdatetime(TClause& caller, TClause& arguments, std::string& result);
void Fn_isnumeric(TClause& caller, TClause& arguments, std::string& result);
void Fn_istime(TClause& caller, TClause& arguments, std::string& result);
void Fn_iswhole(TClause& caller, TClause& arguments, std::string& result);
void Fn_localize(TClause& caller, TClause& arguments, std::string& result);
void Fn_mod(TClause& caller, TClause& arguments, std::string& result);
void Fn_now(TClause& caller, TClause& arguments, std::string& result);
void Fn_numberformat(TClause& caller, TClause& arguments, std::string& result);
void Fn_randrange(TClause& caller, TClause& arguments, std::string& result);
void Fn_round(TClause& caller, TClause& arguments, std::string& result);
void Fn_sqr(TClause& caller, TClause& arguments, std::string& result);
void Fn_time(TClause& caller, TClause& arguments, std::string& result);

// Environment family
void Fn_dbsetfile(TClause& caller, TClause& arguments, std::string& result);
void Fn_directoryexists(TClause& caller, TClause& arguments, std::string& result);
void Fn_dosexec(TClause& caller, TClause& arguments, std::string& result);
void Fn_dosexechide(TClause& caller, TClause& arguments, std::string& result);
void Fn_evaluate(TClause& caller, TClause& arguments, std::string& result);
void Fn_filecopy(TClause& caller, TClause& arguments, std::string& result);
void Fn_fileexists(TClause& caller, TClause& arguments, std::string& result);
void Fn_isdefined(TClause& caller, TClause& arguments, std::string& result);
void Fn_parameterexists(TClause& caller, TClause& arguments, std::string& result);
void Fn_rootpath(TClause& caller, TClause& arguments, std::string& result);
void Fn_shellexec(TClause& caller, TClause& arguments, std::string& result);
void Fn_shellexechide(TClause& caller, TClause& arguments, std::string& result);
void Fn_structdelete(TClause& caller, TClause& arguments, std::string& result);
void Fn_valueof(TClause& caller, TClause& arguments, std::string& result);

}  // namespace vantrel
