// String built-ins (not yet implemented: each gives the empty text).
#include "engine/functions/BuiltIns.h"

#include "engine/clause/TClause.h"

namespace vantrel {

void Fn_cleantext(TClause&, TClause&, std::string&) {}
void Fn_chr(TClause&, TClause&, std::string&) {}
void Fn_comparestr(TClause&, TClause&, std::string&) {}
void Fn_comparetext(TClause&, TClause&, std::string&) {}
void Fn_concat(TClause&, TClause&, std::string&) {}
void Fn_copy(TClause&, TClause&, std::string&) {}
void Fn_delete(TClause&, TClause&, std::string&) {}
void Fn_find(TClause&, TClause&, std::string&) {}
void Fn_findoneof(TClause&, TClause&, std::string&) {}
void Fn_fullupc(TClause&, TClause&, std::string&) {}
void Fn_gettoken(TClause&, TClause&, std::string&) {}
void Fn_htmleditformat(TClause&, TClause&, std::string&) {}
void Fn_insert(TClause&, TClause&, std::string&) {}
void Fn_lcase(TClause&, TClause&, std::string&) {}
void Fn_left(TClause&, TClause&, std::string&) {}
void Fn_len(TClause&, TClause&, std::string&) {}
void Fn_mid(TClause&, TClause&, std::string&) {}
void Fn_pos(TClause&, TClause&, std::string&) {}
void Fn_quoted(TClause&, TClause&, std::string&) {}
void Fn_removechars(TClause&, TClause&, std::string&) {}
void Fn_replace(TClause&, TClause&, std::string&) {}
void Fn_replacenocase(TClause&, TClause&, std::string&) {}
void Fn_right(TClause&, TClause&, std::string&) {}
void Fn_safequote(TClause&, TClause&, std::string&) {}
void Fn_spanexcluding(TClause&, TClause&, std::string&) {}
void Fn_sqlsafe(TClause&, TClause&, std::string&) {}
void Fn_trim(TClause&, TClause&, std::string&) {}
void Fn_ucase(TClause&, TClause&, std::string&) {}
void Fn_urlencodedformat(TClause&, TClause&, std::string&) {}
void Fn_urldecodedformat(TClause&, TClause&, std::string&) {}
void Fn_validupc(TClause&, TClause&, std::string&) {}
void Fn_verifydata(TClause&, TClause&, std::string&) {}

}  // namespace vantrel
