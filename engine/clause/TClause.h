// TClause: the clause (expression) language. A clause is tokenized at construction
// into a flat element list, with a nested TClause attached to every parenthesised
// part; GetResult then replaces calls, groups and names by their values and applies
// the operators in OperatorOrder. Every value is a text.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Engine.h"
#include "engine/TextStream.h"

namespace vantrel {

class TPBaseTag;
class TClause;

// The element list of a clause: texts, each with an optional attached clause.
class TMyStringList {
 public:
  struct Item {
    std::string Text;
    std::unique_ptr<TClause> Clause;
  };

  size_t Count() const { return Items_.size(); }
  Item& operator[](size_t i) { return Items_[i]; }
  const Item& operator[](size_t i) const { return Items_[i]; }
  void Add(std::string text, std::unique_ptr<TClause> clause = nullptr);
  void Reserve(size_t n) { Items_.reserve(n); }
  void Delete(size_t i);
  // First entry equal to text without regard to letter case, or -1.
  int IndexOf(std::string_view text) const;
  // Text of entry i+1, or the empty text when there is none.
  std::string NextItem(size_t i) const;
  // Text of entry i-1, or the empty text when i-1 is negative.
  std::string PrevItem(size_t i) const;
  // Deletes entry i+1 if it exists, then entry i-1 if i >= 1.
  void DeleteNeighbours(size_t i);
  // Every entry followed by CR LF.
  std::string Text() const;

 private:
  std::vector<Item> Items_;
};

class TClause {
 public:
  // Tokenizes a nested clause over the shared stream; the owner is the parent's.
  TClause(TEngine& engine, TTextStream& stream, TClause* parentClause);
  // Tokenizes a clause over the stream; names resolve through owner (may be none).
  TClause(TEngine& engine, TTextStream& stream, TClause* parentClause, TPBaseTag* owner);
  ~TClause();
  TClause(const TClause&) = delete;
  TClause& operator=(const TClause&) = delete;

  std::string GetResult();
  std::string EvaluateOperators();
  std::string ResolveOperand(std::string_view text);
  bool IsNumber(std::string_view text) const;
  static std::string CleanResult(std::string_view text);

  // Evaluates an argument clause in place (calls, groups, names, then operators).
  void PrepareArguments();
  // Runs the built-in the name selects on the prepared argument clause.
  std::string CallFunction(std::string_view name, TClause& arguments);
  // The value of the variable name cut at every occurrence of delimiter; none for an
  // empty value or a value ending with the delimiter.
  std::optional<std::vector<std::string>> SplitList(std::string_view name, std::string_view delimiter);
  static std::string JoinList(const std::optional<std::vector<std::string>>& list, std::string_view delimiter);

  TEngine& Engine;
  TMyStringList Elements;
  TPBaseTag* OwnerTag = nullptr;
  TClause* ParentClause = nullptr;
  std::string LeftOperand;
  std::string RightOperand;

  // Copies a kept tokenization (see TClauseCache); only TClauseCache can name the key.
  class TCopyKey {
    friend class TClauseCache;
    friend class TClause;
    TCopyKey() = default;
  };
  TClause(TEngine& engine, TClause* parentClause, TPBaseTag* owner, const TClause& tokens, TCopyKey);

 private:
  void Tokenize(TTextStream& stream);
  // The kept tokenization this clause was copied from; none for a clause tokenized
  // from its text. It gives the element list as it was before evaluation changed it.
  const TClause* Tokens_ = nullptr;
};

// Speed: a clause text that a tag evaluates again and again (a function tag in an
// output body, a loop's set and if tags) is tokenized once and kept; each evaluation
// works on a fresh copy of the kept element list, so its result, its calls and its
// messages are those of a clause tokenized from the text. The copy is used only
// where tokenizing afresh at the current nesting depth would reach the same list
// (the nesting limit can cut a deep clause short); otherwise the text is tokenized
// afresh. The kept list belongs to the tag and is never evaluated itself.
class TClauseCache {
 public:
  // The result of text as EvaluateClause gives it.
  std::string Evaluate(TEngine& engine, std::string_view text, TPBaseTag* owner);

 private:
  void Keep(TEngine& engine, std::string_view text);

  std::string Text_;
  std::shared_ptr<const TClause> Tokens_;
  int Height_ = 0;       // levels of nested clauses below the top
  bool Usable_ = false;  // false when even a top-level tokenization is cut short
};

// Evaluates text as a top-level clause whose names resolve through owner. Any
// failure gives the empty text (reported through the engine's error hook).
std::string EvaluateClause(TEngine& engine, std::string_view text, TPBaseTag* owner);

// True when the lowered name is one of the built-in function names that are never
// looked up as variables.
bool IsReservedFunctionName(std::string_view name);
// True when the lowered word is one of the reserved operator and truth words.
bool IsReservedWord(std::string_view word);

}  // namespace vantrel
