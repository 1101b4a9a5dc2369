// TClause construction: the tokenizer that splits a clause text into its flat
// element list, building a nested clause for every parenthesised part. Nested
// clauses read from the same stream as their parent, so the parent continues
// right after the nested clause's closing ")".
#include "engine/clause/TClause.h"

#include <algorithm>

#include "engine/TPBaseTag.h"

namespace vantrel {

namespace {

// Passes over the rest of a parenthesised part without tokenizing it, up to and
// including its closing ")". Used when nesting is too deep to build another
// clause: the part then contributes nothing, and the enclosing clause still
// continues after it.
void SkipNestedText(TTextStream& stream) {
  int depth = 1;
  bool inLiteral = false;
  char c;
  while (stream.Read(c)) {
    if (c == '"') {
      inLiteral = !inLiteral;
    } else if (!inLiteral) {
      if (c == '(') ++depth;
      if (c == ')' && --depth == 0) return;
    }
  }
}

}  // namespace

TClause::TClause(TEngine& engine, TTextStream& stream, TClause* parentClause)
    : Engine(engine), ParentClause(parentClause) {
  if (ParentClause) OwnerTag = ParentClause->OwnerTag;
  Tokenize(stream);
}

TClause::TClause(TEngine& engine, TTextStream& stream, TClause* parentClause, TPBaseTag* owner)
    : Engine(engine), OwnerTag(owner), ParentClause(parentClause) {
  // A nested clause resolves its names through the same tag as its parent.
  if (ParentClause) OwnerTag = ParentClause->OwnerTag;
  Tokenize(stream);
}

TClause::TClause(TEngine& engine, TClause* parentClause, TPBaseTag* owner, const TClause& tokens, TCopyKey)
    : Engine(engine), OwnerTag(owner), ParentClause(parentClause), Tokens_(&tokens) {
  const size_t n = tokens.Elements.Count();
  Elements.Reserve(n);
  for (size_t i = 0; i < n; ++i) {
    const TMyStringList::Item& item = tokens.Elements[i];
    Elements.Add(item.Text, item.Clause ? std::make_unique<TClause>(engine, this, owner, *item.Clause, TCopyKey{})
                                        : nullptr);
  }
}

TClause::~TClause() = default;

namespace {

int NestingHeight(const TClause& clause) {
  int height = 0;
  for (size_t i = 0; i < clause.Elements.Count(); ++i)
    if (clause.Elements[i].Clause) height = std::max(height, 1 + NestingHeight(*clause.Elements[i].Clause));
  return height;
}

}  // namespace

void TClauseCache::Keep(TEngine& engine, std::string_view text) {
  Text_ = std::string(text);
  Tokens_.reset();
  Usable_ = false;
  // Tokenized from the top of the nesting count, so the kept list is complete
  // whenever the text's nesting fits the limit at all.
  const int depth = engine.Depth;
  engine.Depth = 0;
  try {
    TTextStream stream{Text_};
    auto tokens = std::make_shared<TClause>(engine, stream, nullptr, nullptr);
    Height_ = NestingHeight(*tokens);
    Usable_ = Height_ < TEngine::MaxDepth;
    Tokens_ = std::move(tokens);
  } catch (...) {
    Tokens_.reset();
  }
  engine.Depth = depth;
}

std::string TClauseCache::Evaluate(TEngine& engine, std::string_view text, TPBaseTag* owner) {
  if (Tokens_ == nullptr || Text_ != text) Keep(engine, text);
  // A clause tokenized at this depth reaches down to depth + height; past the limit
  // its deepest parts would be cut, which only tokenizing afresh reproduces.
  if (!Usable_ || engine.Depth + Height_ >= TEngine::MaxDepth) return EvaluateClause(engine, text, owner);
  const std::shared_ptr<const TClause> tokens = Tokens_;
  try {
    TClause clause(engine, nullptr, owner, *tokens, TClause::TCopyKey{});
    return clause.GetResult();
  } catch (...) {
    engine.ReportError("Error Parsing Clause Results, text = " + std::string(text) + "; element count = 0");
    return {};
  }
}

void TClause::Tokenize(TTextStream& stream) {
  TDepthGuard guard(Engine);
  if (!guard.Entered()) {
    if (ParentClause) SkipNestedText(stream);
    return;
  }

  std::string token;
  bool inLiteral = false;   // inside a double-quoted literal
  bool inHash = false;      // inside #name# written outside a literal
  bool inEmbedded = false;  // inside #name# embedded in a literal
  auto append = [this](std::string text) { Elements.Add(std::move(text)); };

  char c;
  while (stream.Read(c)) {
    if (c == '"') inLiteral = !inLiteral;  // the quote itself is kept in the token below

    if (c == '#' && inLiteral) {
      char d;
      const bool haveNext = stream.Read(d);
      if (!(haveNext && d == '#')) {
        // "#" followed by anything but a second "#" starts an embedded expression:
        // the literal so far becomes an element, joined to what follows by "&".
        inLiteral = false;
        inEmbedded = true;
        if (!token.empty()) {
          append(std::move(token));
          append("&");
        }
        token.clear();
        if (!haveNext) continue;  // the text ended right after the "#"
        c = d;                    // the character after the "#" is processed in its place
      }
      // Otherwise "##" inside a literal stands for one "#", which c still holds.
    }

    if (c == '#' && inEmbedded) {
      // The embedded expression ends and the literal resumes. The "&" that joins the
      // rest of the literal is only added when at least two characters follow,
      // so a literal that closes right after the "#" gets no trailing "&".
      inLiteral = true;
      inEmbedded = false;
      append(std::move(token));
      if (stream.Remaining() >= 2) append("&");
      token.clear();
      continue;
    }
    if (c == '#' && !inLiteral && !inHash) {
      inHash = true;
      continue;
    }
    if (c == '#' && inHash) {
      // #name# outside a literal means the same as the name standing alone.
      if (!token.empty()) append(std::move(token));
      token.clear();
      inHash = false;
      continue;
    }
    if (c == ')' && !inLiteral) {
      // The clause is complete; for a top-level clause the rest of the text is ignored.
      append(std::move(token));
      return;
    }
    if ((c == ' ' || c == ',') && !inLiteral && !token.empty()) {
      append(std::move(token));
      token.clear();
      if (c == ',') append(",");
      continue;
    }
    if (c == '(' && !inLiteral) {
      // A name directly before "(" makes a call; an empty token makes a group.
      auto nested = std::make_unique<TClause>(Engine, stream, this);
      Elements.Add(std::move(token), std::move(nested));
      token.clear();
      continue;
    }
    if (c == ' ' && token.empty() && !inLiteral) continue;
    token += c;
  }

  // A bare token that ends the text is taken as a literal, not as a name.
  if (!token.empty()) append('"' + token + '"');
}

}  // namespace vantrel
