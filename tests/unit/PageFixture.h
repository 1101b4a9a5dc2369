// The fixture the clause and built-in tests share: an engine, the scopes a page
// needs, a page made from a path with its query string, the tag that owns the
// clauses, the messages of the error hook, and one loop over rows of a clause, its
// result and the one report it must hand to the error hook (or none).
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/Engine.h"
#include "engine/QueryList.h"
#include "engine/TPBaseTag.h"
#include "engine/TStringList.h"
#include "engine/clause/TClause.h"
#include "platform/RegionalSettings.h"

namespace vantrel {

// The report of a built-in: the head, then every prepared entry followed by CR LF.
// Entries are given without the separators, which are prepared to "" between them.
inline std::string Report(const std::string& head, const std::vector<std::string>& entries) {
  std::string text = "Fn: " + head + "(";
  for (size_t i = 0; i < entries.size(); ++i) {
    if (i > 0) text += "\"\"\r\n";
    text += entries[i] + "\r\n";
  }
  return text + ")";
}

// How a fixture's engine and page are made and its clauses evaluated.
struct PageSetup {
  // Eval puts the clause in parentheses, so that a name ending it is looked up;
  // off, the clause is evaluated as written.
  bool WrapInParentheses = true;
  // The clauses are owned by a fragment on the page that resolves names through
  // the page's variables; off, by the page itself.
  bool OwnerFragment = true;
  platform::RegionalSettings Regional{};
  std::string EngineFolder = "\\tmp\\";
};

class PageFixture : public ::testing::Test {
 protected:
  struct Row {
    std::string Clause;
    std::string Expected;
    std::string Report = "";  // the one report expected; empty: nothing may be reported
  };

  // pagePath is the page's engine path, a query string after "?" giving its first
  // variables. The error hook is in place before the page is made.
  explicit PageFixture(const std::string& pagePath, PageSetup setup = {})
      : engine(setup.EngineFolder, std::move(setup.Regional)), wrap_(setup.WrapInParentheses) {
    engine.OnError = [this](const std::string& message) { errors.push_back(message); };
    page = TPBaseTag::CreatePage(engine, pagePath, nullptr, &app, &cookies, &queries);
    if (setup.OwnerFragment) owner = TPBaseTag::CreateChild("x", page.get());
  }

  // The tag the clauses of Eval and CheckRows belong to.
  TPBaseTag* ClauseOwner() const { return owner ? owner.get() : page.get(); }

  std::string Eval(const std::string& clause, TPBaseTag* clauseOwner) {
    return EvaluateClause(engine, wrap_ ? "(" + clause + ")" : clause, clauseOwner);
  }
  std::string Eval(const std::string& clause) { return Eval(clause, ClauseOwner()); }

  void CheckRows(const std::vector<Row>& rows) {
    for (const Row& row : rows) {
      SCOPED_TRACE("clause: " + row.Clause);
      errors.clear();
      EXPECT_EQ(Eval(row.Clause), row.Expected);
      if (row.Report.empty()) {
        EXPECT_TRUE(errors.empty()) << errors.front();
      } else {
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_EQ(errors[0], row.Report);
      }
    }
  }

  TEngine engine;
  TStringList app;
  TCookieList cookies;
  TQueryList queries;
  std::unique_ptr<TPBaseTag> page;
  std::unique_ptr<TPBaseTag> owner;  // none without OwnerFragment
  std::vector<std::string> errors;

 private:
  bool wrap_;
};

}  // namespace vantrel
