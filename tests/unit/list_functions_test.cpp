// Tests of the list built-ins: each row is a clause evaluated on a page whose
// variables hold the lists, its result and the report it must hand to the error
// hook (or none).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/Engine.h"
#include "engine/QueryList.h"
#include "engine/TPBaseTag.h"
#include "engine/TStringList.h"
#include "engine/clause/TClause.h"
#include "engine/functions/FunctionTable.h"
#include "PageFixture.h"

namespace vantrel {
namespace {

// A page with the lists v=a,b,,c  w=a,b,  z=9;10;2  y="a, b"  u=Äx,b and
// session.s=1,2, and a fragment on it that owns the clauses.
class ListFunctions : public PageFixture {
 protected:
  ListFunctions() : PageFixture("\\nowhere\\p.qsp") {
    page->SetVariable("v", "a,b,,c");
    page->SetVariable("w", "a,b,");
    page->SetVariable("z", "9;10;2");
    page->SetVariable("y", "a, b");
    page->SetVariable("u", "\xC4x,b");
    page->SetVariable("session.s", "1,2");
  }
};

TEST_F(ListFunctions, CountingAndReadingItems) {
  CheckRows({
      {"listlen(\"v\")", "4"},
      {"listlen(\"session.s\")", "2"},
      {"listlen(\"z\", \";\")", "3"},
      {"listlen(\"v\", \"\")", "1"},  // an empty delimiter: the whole value is one item
      {"listlen(\"w\")", "", Report("listlen", {"\"w\""})},
      {"listlen(\"nothing\")", "", Report("listlen", {"\"nothing\""})},  // never "0"
      {"listlen(v)", "", Report("listlen", {"\"a,b,,c\""})},  // the value is taken as a name
      {"listfirst(\"v\")", "a"},
      {"listfirst(\"w\")", "", Report("ListFirst", {"\"w\""})},
      {"listlast(\"v\")", "c"},
      {"listlast(\"z\", \";\")", "2"},
      {"listlast(\"w\")", "", Report("listlast", {"\"w\""})},
      {"listrest(\"v\")", "b,,c"},
      {"listrest(\"z\", \";\")", "10;2"},
      {"listrest(\"z\")", ""},  // one item
      {"listrest(\"w\")", "", Report("ListRest", {"\"w\""})},
      {"listgetat(\"v\", 1)", "a"},
      {"listgetat(\"v\", 3)", ""},  // an empty item
      {"listgetat(\"v\", 4)", "c"},
      {"listgetat(\"v\", \"$4\")", "c"},
      {"listgetat(\"z\", 2, \";\")", "10"},
      {"listgetat(\"v\", 5)", "", "Fn: ListGetAt( list: v, Pos: 5, Delim: ,)"},
      {"listgetat(\"v\", 0)", "", "Fn: ListGetAt( list: v, Pos: 0, Delim: ,)"},
      {"listgetat(\"v\", \"x\")", "", "Fn: ListGetAt( list: v, Pos: x, Delim: ,)"},
      {"listgetat(\"v\", 1.5, \";\")", "", "Fn: ListGetAt( list: v, Pos: 1.5, Delim: ;)"},
      {"listgetat(\"w\", 1)", "", "Fn: ListGetAt( list: w, Pos: 1, Delim: ,)"},
      {"\"[\" & listgetat(\"y\", 2)", "[ b"},
      {"\"[\" & listgetat(\"y\", 2, \", \")", "[ b"},  // only the delimiter's first character goes
  });
}

TEST_F(ListFunctions, ChangingItems) {
  CheckRows({
      {"listsetat(\"v\", 2, \"X\")", "a,X,,c"},
      {"listsetat(\"v\", 3, \"X\")", "a,b,X,c"},
      {"listsetat(\"v\", 9, \"X\")", "a,b,,c"},
      {"listsetat(\"z\", 1, \"X\", \";\")", "X;10;2"},
      {"listsetat(\"v\", 0, \"X\")", "", Report("listsetat", {"\"v\"", "0", "\"X\""})},
      {"listsetat(\"w\", 1, \"X\")", "", Report("listsetat", {"\"w\"", "1", "\"X\""})},
      {"listsetat(\"v\", 1)", "", Report("listsetat", {"\"v\"", "1"})},
      {"listinsertat(\"v\", 1, \"X\")", "X,a,b,,c"},
      {"listinsertat(\"v\", 4, \"X\")", "a,b,,X,c"},
      {"listinsertat(\"v\", 5, \"X\")", "a,b,,c"},  // cannot add at the end
      {"listinsertat(\"z\", 2, \"X\", \";\")", "9;X;10;2"},
      {"listinsertat(\"v\", \"-1\", \"X\")", "", Report("ListInsertAt", {"\"v\"", "\"-1\"", "\"X\""})},
      {"listdeleteat(\"v\", 2)", "a,,c"},
      {"listdeleteat(\"v\", 4)", "a,b,"},
      {"listdeleteat(\"v\", 7)", "a,b,,c"},
      {"listdeleteat(\"z\", 1)", ""},  // the only item
      {"listdeleteat(\"z\", 1, \";\")", "10;2"},
      {"listdeleteat(\"v\", \"q\")", "", Report("ListDeleteAt", {"\"v\"", "\"q\""})},
      {"listtoarray(\"v\")", "a,b,,c"},
      {"listtoarray(\"z\", \";\")", "9;10;2"},
      {"\"[\" & listtoarray(\"y\", \", \")", "[a,  b"},  // the blank stays with the item
      {"listtoarray(\"w\")", "", Report("listtoarray", {"\"w\""})},
      {"v", "a,b,,c"},  // no function changes the variable
  });
}

TEST_F(ListFunctions, FindingValues) {
  CheckRows({
      {"listfind(\"v\", \"c\")", "4"},
      {"listfind(\"v\", \"C\")", "0"},
      {"listfind(\"v\", \"\")", "3"},  // the empty item
      {"listfind(\"z\", \"10\", \";\")", "2"},
      {"listfind(\"w\", \"a\")", "", Report("listfind", {"\"w\"", "\"a\""})},
      {"listfindnocase(\"v\", \"C\")", "4"},
      {"listfindnocase(\"u\", \"\xE4X\")", "0"},  // only A to Z fold
      {"listfindnocase(\"u\", \"\xC4X\")", "1"},
      {"listfindnocase(\"w\", \"a\")", "", Report("listfindnocase", {"\"w\"", "\"a\""})},
      {"listcontains(\"v\", \"b\")", "yes"},
      {"listcontains(\"v\", \"x\")", "no"},
      {"listcontains(\"v\", \"B\")", "no"},
      {"listcontains(\"z\", \"0\", \";\")", "yes"},
      {"listcontains(\"v\", \"\")", "no"},
      {"listcontains(\"w\", \"a\")", "ERROR", Report("listcontains", {"\"w\"", "\"a\""})},
      {"listcontainsnocase(\"v\", \"B\")", "yes"},
      {"listcontainsnocase(\"w\", \"a\")", "ERROR", Report("listcontainsnocase", {"\"w\"", "\"a\""})},
  });
}

TEST_F(ListFunctions, BuildingLists) {
  CheckRows({
      {"listappend(\"v\", \"d\")", "a,b,,c,d"},
      {"listappend(\"v\", \"d\", \";\")", "a,b,,c;d"},
      {"listappend(\"v\", \"d\", \"\")", "a,b,,c,d"},
      {"listappend(\"w\", \"d\")", "a,b,,d"},  // the value is not cut into items
      {"listappend(\"nothing\", \"d\")", "d"},
      {"listappend(\"v\", \"'d'\")", "a,b,,c,d"},  // stripped once more
      {"listappend(\"v\")", "ERROR", Report("listappend", {"\"v\""})},
      {"v", "a,b,,c"},
      {"listprepend(\"v\", \"d\")", "d,v"},  // the list text itself
      {"listprepend(\"b;c\", \"a\", \";\")", "a;b;c"},
      {"listprepend(\"abc\", \"x\", \"\")", "xabc"},
      {"listprepend(\"\", \"x\")", "x,"},
      {"listprepend(\"v\")", "ERROR", Report("listprepend", {"\"v\""})},
      {"arraymax(\"z\", \";\")", "9"},
      {"arraymax(\"z\")", "9;10;2"},
      {"arraymax(\"v\")", "c"},
      {"arraymax(\"w\")", "", Report("ArrayMax", {"\"w\""})},
      {"valuelist(\"v\")", ""},
      {"valuelist()", ""},
  });
}

// arraymax compares byte values: "b" above "B", and 0xE4 above every ASCII letter.
TEST_F(ListFunctions, ArrayMaxComparesBytes) {
  page->SetVariable("letters", "B,b,A");
  page->SetVariable("accented", "z,\xE4,Z");
  page->SetVariable("empty", ",,");
  CheckRows({
      {"arraymax(\"letters\")", "b"},
      {"arraymax(\"accented\")", "\xE4"},
      {"arraymax(\"empty\", \";\")", ",,"},
  });
}

// Every list built-in called with no entries at all.
TEST_F(ListFunctions, MissingArguments) {
  const struct {
    std::string Name;
    std::string Expected;
    std::string Reported;  // empty: no report
  } rows[] = {
      {"listlen", "", "Fn: listlen()"},
      {"listfirst", "", "Fn: ListFirst()"},
      {"listlast", "", "Fn: listlast()"},
      {"listrest", "", "Fn: ListRest()"},
      {"listgetat", "", "Fn: ListGetAt( list: , Pos: , Delim: ,)"},
      {"listsetat", "", "Fn: listsetat()"},
      {"listinsertat", "", "Fn: ListInsertAt()"},
      {"listdeleteat", "", "Fn: ListDeleteAt()"},
      {"listfind", "", "Fn: listfind()"},
      {"listfindnocase", "", "Fn: listfindnocase()"},
      {"listcontains", "ERROR", "Fn: listcontains()"},
      {"listcontainsnocase", "ERROR", "Fn: listcontainsnocase()"},
      {"listappend", "ERROR", "Fn: listappend()"},
      {"listprepend", "ERROR", "Fn: listprepend()"},
      {"listtoarray", "", "Fn: listtoarray()"},
      {"arraymax", "", "Fn: ArrayMax()"},
      {"valuelist", "", ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE("function: " + row.Name);
    errors.clear();
    TTextStream empty;
    TClause caller(engine, empty, nullptr, owner.get());
    TClause arguments(engine, empty, nullptr, owner.get());
    std::string result;
    FindFunction(row.Name)->Function(caller, arguments, result);
    EXPECT_EQ(result, row.Expected);
    if (row.Reported.empty()) {
      EXPECT_TRUE(errors.empty());
    } else {
      ASSERT_EQ(errors.size(), 1u);
      EXPECT_EQ(errors[0], row.Reported);
    }
  }
}

TEST_F(ListFunctions, BadInputsNeitherCrashNorHang) {
  std::string big;
  for (int i = 0; i < 100000; ++i) big += "item,";
  big += "last";
  page->SetVariable("big", big);
  page->SetVariable("comma", ",");
  const std::vector<std::string> clauses = {
      "listgetat(\"v\", 2147483647)", "listgetat(\"v\", \"-2147483648\")", "listsetat(\"v\", 2147483647, \"x\")",
      "listinsertat(\"v\", \"-2147483648\", \"x\")", "listdeleteat(\"v\", 99999999999)", "listlen(\"big\")",
      "listlast(\"big\")", "listfind(\"big\", \"last\")", "listdeleteat(\"big\", 50000)", "arraymax(\"big\")",
      "listlen(\"comma\")", "listfirst(\"comma\")", "listlen(\"v\", \"a,b,,c,longer\")", "listappend(,,,)",
      "listprepend(,,,)", "listgetat(,,,)", "listtoarray(\"\")", "listcontains(\"big\", \"zz\")",
  };
  for (const std::string& clause : clauses) {
    SCOPED_TRACE("clause: " + clause);
    Eval(clause);
  }
  EXPECT_EQ(Eval("listlen(\"big\")"), "100001");
  EXPECT_EQ(Eval("listfind(\"big\", \"last\")"), "100001");
}

}  // namespace
}  // namespace vantrel
