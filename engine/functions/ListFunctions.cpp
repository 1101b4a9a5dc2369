// List built-ins. A list is a delimited text held in a variable: every function but
// listprepend takes the name of that variable, cuts its value into items with the
// clause's SplitList and answers an item, a position, a count or a rebuilt list text.
// None of them changes the variable. A name that gives no list is a failure.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/Strings.h"
#include "engine/TPBaseTag.h"
#include "engine/clause/TClause.h"
#include "engine/functions/BuiltIns.h"
#include "engine/functions/FunctionSupport.h"

namespace vantrel {

namespace {

using TItems = std::vector<std::string>;

// The delimiter in argument n when present (even when empty), else ",".
std::string DelimiterArgument(const TClause& arguments, std::size_t n) {
  return HasArgument(arguments, n) ? Argument(arguments, n) : std::string(",");
}

// The items of the variable that name names; TFunctionFailure when there is no list.
TItems Items(TClause& caller, const std::string& name, std::string_view delimiter) {
  std::optional<TItems> items = caller.SplitList(name, delimiter);
  if (!items) throw TFunctionFailure{};
  return std::move(*items);
}

std::string Join(TItems items, std::string_view delimiter) { return TClause::JoinList(std::move(items), delimiter); }

// listsetat, listinsertat and listdeleteat: the change applies to item position when
// there is such an item; a position past the last item rebuilds the list unchanged.
enum class TItemChange { Set, Insert, Delete };

void RunItemChange(TClause& caller, TClause& arguments, std::string& result, std::string_view label,
                   TItemChange change) {
  RunBuiltIn(caller, arguments, result, label, "", [&] {
    const std::string name = Argument(arguments, 1);
    const std::int32_t position = WholeArgument(arguments, 2);
    const bool withValue = change != TItemChange::Delete;
    const std::string value = withValue ? Argument(arguments, 3) : std::string();
    const std::string delimiter = DelimiterArgument(arguments, withValue ? 4 : 3);
    TItems items = Items(caller, name, delimiter);
    if (position < 1) throw TFunctionFailure{};
    if (static_cast<std::size_t>(position) <= items.size()) {
      const auto at = items.begin() + (position - 1);
      switch (change) {
        case TItemChange::Set: *at = value; break;
        case TItemChange::Insert: items.insert(at, value); break;
        case TItemChange::Delete: items.erase(at); break;
      }
    }
    return Join(std::move(items), delimiter);
  });
}

// listfind and listfindnocase: the position of the first item equal to the value.
void RunFind(TClause& caller, TClause& arguments, std::string& result, std::string_view label, bool ignoreCase) {
  RunBuiltIn(caller, arguments, result, label, "", [&] {
    const std::string name = Argument(arguments, 1);
    const std::string value = Argument(arguments, 2);
    const TItems items = Items(caller, name, DelimiterArgument(arguments, 3));
    const std::string wanted = ignoreCase ? LowerCase(value) : value;
    for (std::size_t i = 0; i < items.size(); ++i)
      if ((ignoreCase ? LowerCase(items[i]) : items[i]) == wanted) return std::to_string(i + 1);
    return std::string("0");
  });
}

// listcontains and listcontainsnocase: "yes" when the value is part of some item.
void RunContains(TClause& caller, TClause& arguments, std::string& result, std::string_view label,
                 bool ignoreCase) {
  RunBuiltIn(caller, arguments, result, label, "ERROR", [&] {
    const std::string name = Argument(arguments, 1);
    const std::string value = Argument(arguments, 2);
    const TItems items = Items(caller, name, DelimiterArgument(arguments, 3));
    if (value.empty()) return std::string("no");  // an empty value occurs nowhere
    const std::string wanted = ignoreCase ? LowerCase(value) : value;
    for (const std::string& item : items)
      if (Contains(ignoreCase ? LowerCase(item) : item, wanted)) return std::string("yes");
    return std::string("no");
  });
}

}  // namespace

void Fn_listlen(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltIn(caller, arguments, result, "listlen", "", [&] {
    const std::string name = Argument(arguments, 1);
    return std::to_string(Items(caller, name, DelimiterArgument(arguments, 2)).size());
  });
}

void Fn_listfirst(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltIn(caller, arguments, result, "ListFirst", "", [&] {
    const std::string name = Argument(arguments, 1);
    return Items(caller, name, DelimiterArgument(arguments, 2)).front();
  });
}

void Fn_listlast(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltIn(caller, arguments, result, "listlast", "", [&] {
    const std::string name = Argument(arguments, 1);
    return Items(caller, name, DelimiterArgument(arguments, 2)).back();
  });
}

void Fn_listrest(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltIn(caller, arguments, result, "ListRest", "", [&] {
    const std::string name = Argument(arguments, 1);
    const std::string delimiter = DelimiterArgument(arguments, 2);
    TItems items = Items(caller, name, delimiter);
    items.erase(items.begin());
    return Join(std::move(items), delimiter);
  });
}

void Fn_listgetat(TClause& caller, TClause& arguments, std::string& result) {
  // Reported with the values it was working on, not the argument list.
  std::string name;
  std::string positionText;
  std::string delimiter = ",";
  RunBuiltInReporting(
      caller, result, "",
      [&] {
        name = Argument(arguments, 1);
        positionText = Argument(arguments, 2);
        delimiter = DelimiterArgument(arguments, 3);
        const std::int32_t position = WholeArgument(arguments, 2);
        const TItems items = Items(caller, name, delimiter);
        if (position < 1 || static_cast<std::size_t>(position) > items.size()) throw TFunctionFailure{};
        return items[static_cast<std::size_t>(position) - 1];
      },
      [&] { return "Fn: ListGetAt( list: " + name + ", Pos: " + positionText + ", Delim: " + delimiter + ")"; });
}

void Fn_listsetat(TClause& caller, TClause& arguments, std::string& result) {
  RunItemChange(caller, arguments, result, "listsetat", TItemChange::Set);
}

void Fn_listinsertat(TClause& caller, TClause& arguments, std::string& result) {
  RunItemChange(caller, arguments, result, "ListInsertAt", TItemChange::Insert);
}

void Fn_listdeleteat(TClause& caller, TClause& arguments, std::string& result) {
  RunItemChange(caller, arguments, result, "ListDeleteAt", TItemChange::Delete);
}

void Fn_listfind(TClause& caller, TClause& arguments, std::string& result) {
  RunFind(caller, arguments, result, "listfind", false);
}

void Fn_listfindnocase(TClause& caller, TClause& arguments, std::string& result) {
  RunFind(caller, arguments, result, "listfindnocase", true);
}

void Fn_listcontains(TClause& caller, TClause& arguments, std::string& result) {
  RunContains(caller, arguments, result, "listcontains", false);
}

void Fn_listcontainsnocase(TClause& caller, TClause& arguments, std::string& result) {
  RunContains(caller, arguments, result, "listcontainsnocase", true);
}

void Fn_listappend(TClause& caller, TClause& arguments, std::string& result) {
  // Reads the variable's value as it is, without cutting it into items.
  RunBuiltIn(caller, arguments, result, "listappend", "ERROR", [&] {
    const std::string name = Argument(arguments, 1);
    const std::string value = StripQuotes(Argument(arguments, 2));
    std::string delimiter = HasArgument(arguments, 3) ? Argument(arguments, 3) : std::string();
    if (delimiter.empty()) delimiter = ",";
    if (caller.OwnerTag == nullptr) throw TFunctionFailure{};
    const std::string list = caller.OwnerTag->GetValue(name, false);
    return list.empty() ? value : list + delimiter + value;
  });
}

void Fn_listprepend(TClause& caller, TClause& arguments, std::string& result) {
  // The first argument is the list text itself; an empty third argument joins the
  // two texts without any character, and an empty list still gets the delimiter.
  RunBuiltIn(caller, arguments, result, "listprepend", "ERROR", [&] {
    const std::string list = Argument(arguments, 1);
    const std::string value = Argument(arguments, 2);
    const std::string delimiter = DelimiterArgument(arguments, 3);
    return value + delimiter + list;
  });
}

void Fn_listtoarray(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltIn(caller, arguments, result, "listtoarray", "", [&] {
    const std::string name = Argument(arguments, 1);
    const std::string delimiter = DelimiterArgument(arguments, 2);
    return Join(Items(caller, name, delimiter), delimiter);
  });
}

void Fn_arraymax(TClause& caller, TClause& arguments, std::string& result) {
  // The greatest item by byte values, not by number: "9" is greater than "10".
  RunBuiltIn(caller, arguments, result, "ArrayMax", "", [&] {
    const std::string name = Argument(arguments, 1);
    std::string maximum;
    for (const std::string& item : Items(caller, name, DelimiterArgument(arguments, 2)))
      if (item.compare(maximum) > 0) maximum = item;
    return maximum;
  });
}

void Fn_valuelist(TClause&, TClause&, std::string& result) { result.clear(); }

}  // namespace vantrel
