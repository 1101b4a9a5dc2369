// Number built-ins (not yet implemented: each gives the empty text).
#include "engine/functions/BuiltIns.h"

#include "engine/clause/TClause.h"

namespace vantrel {

void Fn_asint(TClause&, TClause&, std::string&) {}
void Fn_ceiling(TClause&, TClause&, std::string&) {}
void Fn_createtimespan(TClause&, TClause&, std::string&) {}
void Fn_date(TClause&, TClause&, std::string&) {}
void Fn_dateadd(TClause&, TClause&, std::string&) {}
void Fn_dateformat(TClause&, TClause&, std::string&) {}
void Fn_delocalize(TClause&, TClause&, std::string&) {}
void Fn_floor(TClause&, TClause&, std::string&) {}
void Fn_int(TClause&, TClause&, std::string&) {}
void Fn_isdate(TClause&, TClause&, std::string&) {}
void Fn_isdatetime(TClause&, TClause&, std::string&) {}
void Fn_isnumeric(TClause&, TClause&, std::string&) {}
void Fn_istime(TClause&, TClause&, std::string&) {}
void Fn_iswhole(TClause&, TClause&, std::string&) {}
void Fn_localize(TClause&, TClause&, std::string&) {}
void Fn_mod(TClause&, TClause&, std::string&) {}
void Fn_now(TClause&, TClause&, std::string&) {}
void Fn_numberformat(TClause&, TClause&, std::string&) {}
void Fn_randrange(TClause&, TClause&, std::string&) {}
void Fn_round(TClause&, TClause&, std::string&) {}
void Fn_sqr(TClause&, TClause&, std::string&) {}
void Fn_time(TClause&, TClause&, std::string&) {}

}  // namespace vantrel
