// List built-ins (not yet implemented: each gives the empty text).
#include "engine/functions/BuiltIns.h"

#include "engine/clause/TClause.h"

namespace vantrel {

void Fn_arraymax(TClause&, TClause&, std::string&) {}
void Fn_listappend(TClause&, TClause&, std::string&) {}
void Fn_listcontains(TClause&, TClause&, std::string&) {}
void Fn_listcontainsnocase(TClause&, TClause&, std::string&) {}
void Fn_listdeleteat(TClause&, TClause&, std::string&) {}
void Fn_listfind(TClause&, TClause&, std::string&) {}
void Fn_listfindnocase(TClause&, TClause&, std::string&) {}
void Fn_listfirst(TClause&, TClause&, std::string&) {}
void Fn_listgetat(TClause&, TClause&, std::string&) {}
void Fn_listinsertat(TClause&, TClause&, std::string&) {}
void Fn_listlast(TClause&, TClause&, std::string&) {}
void Fn_listlen(TClause&, TClause&, std::string&) {}
void Fn_listprepend(TClause&, TClause&, std::string&) {}
void Fn_listrest(TClause&, TClause&, std::string&) {}
void Fn_listsetat(TClause&, TClause&, std::string&) {}
void Fn_listtoarray(TClause&, TClause&, std::string&) {}
void Fn_valuelist(TClause&, TClause&, std::string&) {}

}  // namespace vantrel
