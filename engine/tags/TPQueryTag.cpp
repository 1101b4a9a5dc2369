// The query tag; see TPQueryTag.h.
#include "engine/tags/TPQueryTag.h"

#include <chrono>
#include <exception>
#include <thread>

#include "engine/Strings.h"
#include "engine/clause/ClauseSupport.h"

namespace vantrel {

TPQueryTag::TPQueryTag(TPBaseTag* parent, std::string_view attributeText) : TPBaseTag(parent, kQuery, attributeText) {
  ExpandHashes = true;
  ClosingTags = {"/cfquery"};
  MakeAttributeFragment();
  Parse();
}

std::string TPQueryTag::Render() {
  Suppressed = Parent->Suppressed;
  if (Engine->Stopped() || Suppressed) return std::string();
  if (!PrepareAttributes()) return std::string();
  const std::string name = GetAttribute("name", "");
  const std::string datasource = GetAttribute("datasource", "");
  (void)GetAttribute("username", "");
  (void)GetAttribute("password", "");
  (void)GetAttribute("maxrows", "0");
  (void)GetAttribute("debug", "");
  (void)GetAttribute("alias", "");

  // The body is the statement; values substituted into it enter unchanged.
  std::string sql;
  for (char c : RenderChildren())
    if (c != '\t') sql += c;
  if (name.empty()) return std::string();

  // The first word, up to and including the first blank, decides the kind.
  const size_t blank = sql.find(' ');
  const std::string firstWord = blank == std::string::npos ? std::string() : UpperCase(sql.substr(0, blank + 1));
  const bool changesData =
      Contains(firstWord, "INSERT") || Contains(firstWord, "DELETE") || Contains(firstWord, "UPDATE");

  bool executed = false;
  try {
    if (Engine->Session == nullptr) throw EQDBError("No databases are available");
    const char separator = Engine->Regional.DecimalSeparator;
    auto query = std::make_unique<TQDBQuery>(
        *Engine->Session, [separator](double v) { return FormatGeneral(v, separator); });
    query->SetActive(false);
    query->SetDatabaseName(datasource);
    query->SetName(name);
    query->SQL.push_back(sql);
    SetVariable("sql", sql);
    if (changesData) {
      executed = true;
      query->ExecSQL();
      query.reset();
    } else {
      query->Open();
      QueryList->Put(name, std::move(query));
    }
  } catch (const std::exception& e) {
    if (changesData)
      ReportQueryError(std::string(e.what()) + "  In Query: " + name + ", In File " + Folder.Text() + FileName.Text());
    else
      ReportQueryError(std::string(e.what()) + "  In Query: " + name + ", In File " + Folder.Text() + FileName.Text() +
                       " SQL:  " + sql);
  }
  // Every statement that changes data is followed by a pause, also after a failure.
  if (executed && Engine->WritePauseMs > 0)
    std::this_thread::sleep_for(std::chrono::milliseconds(Engine->WritePauseMs));
  return std::string();
}

}  // namespace vantrel
