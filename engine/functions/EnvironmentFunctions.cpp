// Environment built-ins (not yet implemented: each gives the empty text).
#include "engine/functions/BuiltIns.h"

#include "engine/clause/TClause.h"

namespace vantrel {

void Fn_dbsetfile(TClause&, TClause&, std::string&) {}
void Fn_directoryexists(TClause&, TClause&, std::string&) {}
void Fn_dosexec(TClause&, TClause&, std::string&) {}
void Fn_dosexechide(TClause&, TClause&, std::string&) {}
void Fn_evaluate(TClause&, TClause&, std::string&) {}
void Fn_filecopy(TClause&, TClause&, std::string&) {}
void Fn_fileexists(TClause&, TClause&, std::string&) {}
void Fn_isdefined(TClause&, TClause&, std::string&) {}
void Fn_parameterexists(TClause&, TClause&, std::string&) {}
void Fn_rootpath(TClause&, TClause&, std::string&) {}
void Fn_shellexec(TClause&, TClause&, std::string&) {}
void Fn_shellexechide(TClause&, TClause&, std::string&) {}
void Fn_structdelete(TClause&, TClause&, std::string&) {}
void Fn_valueof(TClause&, TClause&, std::string&) {}

}  // namespace vantrel
