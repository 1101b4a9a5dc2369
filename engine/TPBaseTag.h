// TPBaseTag: the class of pages, fragments and every template tag. A page is a
// template file being run; a fragment is a piece of text parsed as template (such
// as a tag's attribute text); every tag class derives from this class. Building an
// object parses all of its source at once; Render then walks the tree.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Engine.h"
#include "engine/QueryList.h"
#include "engine/TStringList.h"
#include "engine/TextStream.h"

namespace vantrel {

// Kind codes of the objects; the tag-name table yields the same numbers.
enum TagKind : std::uint8_t {
  kPage = 0,
  kText = 1,
  kInclude = 2,
  kFile = 3,
  kFile2 = 4,
  kSet = 5,
  kSetQ = 6,
  kApplication = 7,
  kCookie = 8,
  kHeader = 9,
  kLocation = 10,
  kSetting = 11,
  kTransaction = 12,
  kQuery = 13,
  kOutput = 14,
  kLoop = 15,
  kIf = 16,
  kElse = 17,
  kElseIf = 18,
  kParam = 19,
  kFunction = 20,
  kVariable = 21,
  kDebug = 23,
  kUnknown = 24,
  kComment = 25,
  kMail = 26,
};

// A text that copies share: assigning a new text replaces it for this holder only.
class TSharedText {
 public:
  TSharedText& operator=(std::string text) {
    Text_ = std::make_shared<const std::string>(std::move(text));
    return *this;
  }
  const std::string& Text() const { return Text_ ? *Text_ : Empty(); }

 private:
  static const std::string& Empty() {
    static const std::string empty;
    return empty;
  }
  std::shared_ptr<const std::string> Text_;
};

class TPBaseTag {
 public:
  // A page or fragment of the engine's run; CreatePage and CreateFragment fill it.
  explicit TPBaseTag(TEngine* engine) : Engine(engine) {}
  virtual ~TPBaseTag();
  TPBaseTag(const TPBaseTag&) = delete;
  TPBaseTag& operator=(const TPBaseTag&) = delete;

  // Builds and parses a page. Path is the full engine path of a template file,
  // optionally followed by "?" and a query string. The host passes no parent and
  // its run-wide lists; the include tag passes itself and its parent's lists.
  static std::unique_ptr<TPBaseTag> CreatePage(TEngine& engine, std::string_view Path, TPBaseTag* Parent,
                                               TStringList* AppVariables, TCookieList* Cookies,
                                               TQueryList* QueryList);
  // Builds and parses a fragment over Text with ExpandHashes set.
  static std::unique_ptr<TPBaseTag> CreateChild(std::string_view Text, TPBaseTag* Parent);
  // Builds and parses a fragment with the two flags given.
  static std::unique_ptr<TPBaseTag> CreateFragment(std::string_view Text, TPBaseTag* Parent, bool ExpandHashes,
                                                   bool QuoteOutput);

  // The object's output. Pages and fragments render their children; the page the
  // host built also frames its output.
  virtual std::string Render();
  // Appends the output of Render to out (speed: a text run appends its text without
  // a temporary copy).
  virtual void AppendRender(std::string& out) { out += Render(); }
  // Appends child's output to out and charges it to the request's work.
  void AppendChild(TPBaseTag& child, std::string& out) {
    const size_t before = out.size();
    child.AppendRender(out);
    Engine->Charge(TEngine::kTagWork + static_cast<long long>(out.size() - before));
  }
  // Parses from the current position of Source to its end or to one of ClosingTags.
  virtual void Parse();
  // Splits a rendered attribute text into the attribute list.
  virtual void ParseAttributes(std::string_view Text);
  // Resolves the values of the attribute list.
  virtual void EvaluateAttributes();
  // The value of a variable, a column or a clause; the empty text when nothing is found.
  virtual std::string GetValue(std::string_view Name, bool Quoted);
  virtual bool IsDefined(std::string_view Name);

  void SetVariable(std::string_view Name, std::string_view Value);
  bool DeleteVariable(std::string_view Name);
  std::string GetCookie(std::string_view Name);
  // "true" when the variable has a value that is not blank, else "false".
  std::string IsParamDefined(std::string_view Name);

  std::string StripQuotes(std::string_view Text);
  std::string GetAttribute(std::string_view Name, std::string_view Default) const;
  bool HasAttribute(std::string_view Name) const;

  // Records the redirect target on this object and every ancestor.
  void SetLocation(std::string_view Url);

  void ReportError(const std::string& Message) const { Engine->ReportError(Message); }
  void ReportQueryError(const std::string& Message) const { Engine->ReportQueryError(Message); }

  // Fields, in the order the engine describes them.
  TPBaseTag* Parent = nullptr;
  std::vector<std::unique_ptr<TPBaseTag>> Children;
  std::uint8_t Kind = kPage;
  std::unique_ptr<TPBaseTag> IncludedPage;
  TQueryList* QueryList = nullptr;
  bool ExpandHashes = false;
  bool QuoteOutput = false;
  TStringList* AppVariables = nullptr;
  TStringList* LocalVariables = nullptr;
  TCookieList* Cookies = nullptr;
  TStringList Attributes;
  std::unique_ptr<TPBaseTag> AttributeFragment;
  std::string AttributeText;
  TTextStream* Source = nullptr;
  // The page's file name and folder, shared by all its tags (speed: a tag copies a
  // reference, not the text).
  TSharedText FileName;
  TSharedText Folder;
  std::vector<std::string> ClosingTags;
  std::string Location;
  bool Suppressed = false;

  TEngine* Engine = nullptr;

 protected:
  // Tag classes: records the parent, the kind and the attribute text, and attaches.
  TPBaseTag(TPBaseTag* parent, std::uint8_t kind, std::string_view attributeText);
  // Shares the parent's source (tags only), scopes, flags, folder and file name.
  void AttachToParent();
  // Builds the AttributeFragment from a non-empty AttributeText.
  void MakeAttributeFragment();
  // The first three steps of most tags' Render: render the attribute fragment,
  // split it and evaluate it. False when the tag has no attribute fragment.
  bool PrepareAttributes();
  // The name lookup of pages, fragments and output tags; rowList stands in front of
  // the page variables (the current row, or a loop's row).
  std::string LookupValue(std::string_view Name, bool Quoted, const TStringList* rowList);
  bool LookupIsDefined(std::string_view Name, const TStringList* rowList);
  // The delegation of every other tag class: the parent resolves the name.
  std::string ParentGetValue(std::string_view Name, bool Quoted);
  bool ParentIsDefined(std::string_view Name);
  // Renders every child in order and joins their texts.
  std::string RenderChildren();
  // Renders every child in order and appends their texts to result, which grows
  // once to the joined size plus reserveExtra (room for what the caller adds after).
  void AppendChildren(std::string& result, size_t reserveExtra = 0);

 private:
  std::unique_ptr<TTextStream> OwnSource_;
  std::unique_ptr<TStringList> OwnLocalVariables_;

  void LoadTemplate();
  void DecodeQueryString(std::string query);
  void FramePrologue(std::string& result);
  friend class TParserAccess;
};

// Removes blanks and control characters at both ends, then the runs of single
// quotes at both ends, then the runs of double quotes. Never fails.
std::string StripQuotes(std::string_view Text);

}  // namespace vantrel
