// The page object: construction of pages and fragments, template loading, request
// parameters, the generic render of pages and fragments (with the page framing of
// the page the host builds), and destruction.
#include "engine/TPBaseTag.h"

#include <exception>

#include "engine/Scramble.h"
#include "engine/Strings.h"
#include "engine/tags/TPIncludeTag.h"
#include "platform/FileSystem.h"

namespace vantrel {

namespace {

constexpr std::string_view kPrologue1 =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\"><head><meta http-equiv=\"Pragma\" "
    "content=\"no-cache\"><meta http-equiv=\"expires\" content=\"0\"><BASE HREF=\"";
constexpr std::string_view kPrologue2 = "\"><link rel=\"stylesheet\" href=\"";
constexpr std::string_view kPrologue3 = "vantrel.css\">";
constexpr std::string_view kClosingHead =
    "<head><meta http-equiv=\"Pragma\" content=\"no-cache\"><meta http-equiv=\"expires\" content=\"0\"></head>";
constexpr std::string_view kRedirect1 = "<html><head><meta HTTP-EQUIV=Refresh CONTENT=\"0; URL=http://";
constexpr std::string_view kRedirect2 = "\"></head><body></body></html>";
constexpr std::string_view kApplicationFile = "application.cfm";
// A body with at most this many children joins their texts in one buffer.
constexpr size_t kJoinedChildren = 16;

// Replaces each occurrence of an escape by its character, until none remains.
void DecodeEscape(std::string& v, std::string_view escape, char c) {
  for (size_t p = v.find(escape); p != std::string::npos; p = v.find(escape)) v.replace(p, escape.size(), 1, c);
}

}  // namespace

TPBaseTag::TPBaseTag(TPBaseTag* parent, std::uint8_t kind, std::string_view attributeText)
    : Parent(parent), Kind(kind), AttributeText(attributeText), Engine(parent->Engine) {
  AttachToParent();
}

TPBaseTag::~TPBaseTag() {
  // The page the host built frees the request's result sets; the list stays.
  if (Parent == nullptr && QueryList != nullptr && Kind == kPage) QueryList->Clear();
}

void TPBaseTag::AttachToParent() {
  if (Kind != kPage) Source = Parent->Source;
  LocalVariables = Parent->LocalVariables;
  AppVariables = Parent->AppVariables;
  Cookies = Parent->Cookies;
  QueryList = Parent->QueryList;
  Location.clear();
  ExpandHashes = Parent->ExpandHashes;
  QuoteOutput = Parent->QuoteOutput;
  Folder = Parent->Folder;
  FileName = Parent->FileName;
  Attributes.Clear();
  Engine->StopRendering = false;
}

void TPBaseTag::MakeAttributeFragment() {
  if (!AttributeText.empty()) AttributeFragment = CreateChild(AttributeText, this);
}

std::unique_ptr<TPBaseTag> TPBaseTag::CreatePage(TEngine& engine, std::string_view Path, TPBaseTag* Parent,
                                                 TStringList* AppVariables, TCookieList* Cookies,
                                                 TQueryList* QueryList) {
  auto page = std::make_unique<TPBaseTag>(&engine);
  page->AttributeText = std::string(Path);
  std::string query;
  size_t q = page->AttributeText.find('?');
  if (q != std::string::npos) {
    query = page->AttributeText.substr(q + 1);
    page->AttributeText.resize(q);
  }
  size_t slash = page->AttributeText.rfind('\\');
  if (slash != std::string::npos) {
    page->Folder = page->AttributeText.substr(0, slash + 1);
    page->FileName = page->AttributeText.substr(slash + 1);
  } else {
    page->FileName = page->AttributeText;
  }
  page->LoadTemplate();
  if (Parent != nullptr) {
    page->Parent = Parent;
    page->AttachToParent();
  } else {
    page->OwnLocalVariables_ = std::make_unique<TStringList>();
    page->LocalVariables = page->OwnLocalVariables_.get();
    page->ExpandHashes = false;
    page->AppVariables = AppVariables;
    page->Cookies = Cookies;
  }
  page->QueryList = QueryList;
  try {
    page->SetVariable("Application.Referrer", page->AttributeText);
    page->SetVariable("Application.CGIFormData", query);
    page->ClosingTags.clear();
    page->Children.clear();
    page->Kind = kPage;
    page->Attributes.Clear();
    if (!query.empty()) page->DecodeQueryString(query);
    page->Parse();
  } catch (const std::exception&) {
    // construction ends silently; what was built stays
  }
  return page;
}

void TPBaseTag::LoadTemplate() {
  OwnSource_ = std::make_unique<TTextStream>();
  Source = OwnSource_.get();
  Engine->Charge(TEngine::kLoadWork);
  if (!platform::FileExists(AttributeText)) return;
  std::string bytes, error;
  if (!platform::ReadFileBytes(AttributeText, bytes, error)) {
    ReportError(error + "  In File: " + AttributeText);
    return;
  }
  Engine->Charge(static_cast<long long>(bytes.size()));
  std::string lower = LowerCase(AttributeText);
  if (Contains(lower, ".htm") || Contains(lower, ".cfm") || Contains(lower, ".qsp")) {
    std::string text = JoinTemplateLines(bytes);
    std::string plain = DescrambleTemplate(text);
    if (StartsWith(plain, "<crypt>")) {
      *OwnSource_ = TTextStream(plain.substr(7));
    } else {
      *OwnSource_ = TTextStream(std::move(text));
    }
  } else {
    *OwnSource_ = TTextStream(std::move(bytes));
  }
}

void TPBaseTag::DecodeQueryString(std::string s) {
  auto split = [](const std::string& pair, std::string& name, std::string& value) {
    size_t eq = pair.find('=');
    if (eq == std::string::npos) {
      name.clear();
      value.clear();
      return;
    }
    name = pair.substr(0, eq);
    value = pair.substr(eq + 1);
  };
  std::string name, value;
  for (size_t amp = s.find('&'); amp != std::string::npos; amp = s.find('&')) {
    split(s.substr(0, amp), name, value);
    s.erase(0, amp + 1);
    for (char& c : value)
      if (c == '+') c = ' ';
    DecodeEscape(value, "%26", '&');
    DecodeEscape(value, "%2B", '+');
    DecodeEscape(value, "%20", ' ');
    DecodeEscape(value, "%2F", '/');
    DecodeEscape(value, "%27", '\'');
    DecodeEscape(value, "%2C", ',');
    DecodeEscape(value, "%5C", '\\');
    DecodeEscape(value, "%22", '"');
    DecodeEscape(value, "%23", '#');
    DecodeEscape(value, "%25", '%');
    DecodeEscape(value, "%3A", ':');
    DecodeEscape(value, "%3E", '>');
    DecodeEscape(value, "%3C", '<');
    DecodeEscape(value, "%3F", '?');
    if (!name.empty()) SetVariable(name, value);
  }
  // The last pair is trimmed between its two decoding rounds and never decodes
  // the colon and angle-bracket escapes.
  split(s, name, value);
  for (char& c : value)
    if (c == '+') c = ' ';
  DecodeEscape(value, "%26", '&');
  DecodeEscape(value, "%2B", '+');
  value = Trim(value);
  DecodeEscape(value, "%20", ' ');
  DecodeEscape(value, "%2F", '/');
  DecodeEscape(value, "%27", '\'');
  DecodeEscape(value, "%2C", ',');
  DecodeEscape(value, "%5C", '\\');
  DecodeEscape(value, "%22", '"');
  DecodeEscape(value, "%23", '#');
  DecodeEscape(value, "%25", '%');
  DecodeEscape(value, "%3F", '?');
  if (!name.empty()) SetVariable(name, value);
}

std::unique_ptr<TPBaseTag> TPBaseTag::CreateChild(std::string_view Text, TPBaseTag* Parent) {
  // The fragment takes QuoteOutput from its parent and always expands hashes.
  return CreateFragment(Text, Parent, true, Parent->QuoteOutput);
}

std::unique_ptr<TPBaseTag> TPBaseTag::CreateFragment(std::string_view Text, TPBaseTag* Parent, bool ExpandHashes,
                                                     bool QuoteOutput) {
  auto f = std::make_unique<TPBaseTag>(Parent->Engine);
  f->AttributeText = std::string(Text);
  f->OwnSource_ = std::make_unique<TTextStream>(std::string(Text));
  f->Source = f->OwnSource_.get();
  f->Parent = Parent;
  f->AttachToParent();
  f->ExpandHashes = ExpandHashes;
  f->QuoteOutput = QuoteOutput;
  f->Parse();
  return f;
}

void TPBaseTag::SetLocation(std::string_view Url) {
  for (TPBaseTag* t = this; t != nullptr; t = t->Parent) t->Location = std::string(Url);
}

std::string TPBaseTag::RenderChildren() {
  std::string result;
  AppendChildren(result);
  return result;
}

void TPBaseTag::AppendChildren(std::string& result, size_t reserveExtra) {
  TDepthGuard guard(*Engine);
  if (!guard.Entered()) return;
  // Speed: a body of a few children (a page, an output tag around a long table)
  // renders its children first, in order, and joins their texts into a buffer of the
  // final size, so a long text is copied once instead of at every growth of the
  // buffer; a single part into an empty result is moved, not copied. A body of many
  // children (mostly short texts) appends each text as it comes.
  if (Children.size() > kJoinedChildren) {
    for (size_t i = 0; i < Children.size(); ++i) AppendChild(*Children[i], result);
    return;
  }
  std::vector<std::string> parts;
  parts.reserve(Children.size());
  size_t total = result.size() + reserveExtra;
  for (size_t i = 0; i < Children.size(); ++i) {
    parts.push_back(Children[i]->Render());
    total += parts.back().size();
    Engine->Charge(TEngine::kTagWork + static_cast<long long>(parts.back().size()));
  }
  if (parts.size() == 1 && result.empty() && reserveExtra == 0) {
    result = std::move(parts.front());
    return;
  }
  result.reserve(total);
  for (std::string& part : parts) {
    result += part;
    std::string().swap(part);
  }
}

void TPBaseTag::FramePrologue(std::string& result) {
  // The nearest application.cfm, from the page's folder up to the application
  // folder, runs first through an include tag inserted as the first child.
  std::string d = Folder.Text();
  std::string includeText;
  if (platform::FileExists(d + std::string(kApplicationFile))) {
    includeText = "TEMPLATE=\"application.cfm\"";
  }
  // Speed: a folder already looked at (the page's own, first) is not looked at again.
  bool lookedAt = true;
  while (includeText.empty() && d != Engine->AppFolder) {
    if (!lookedAt && platform::FileExists(d + std::string(kApplicationFile))) {
      // The relative folder begins with the backslash that ends the application folder.
      size_t from = Engine->AppFolder.empty() ? 0 : Engine->AppFolder.size() - 1;
      std::string relative = from < d.size() ? d.substr(from) : std::string();
      includeText = "TEMPLATE=\"" + relative + std::string(kApplicationFile) + "\"";
      break;
    }
    lookedAt = false;
    if (d.empty()) break;
    d.pop_back();
    size_t slash = d.rfind('\\');
    if (slash == std::string::npos) break;
    d.resize(slash + 1);
  }
  if (includeText.empty() && Folder.Text() != Engine->AppFolder &&
      platform::FileExists(Engine->AppFolder + std::string(kApplicationFile))) {
    includeText = "TEMPLATE=\"/application.cfm\"";
  }
  if (!includeText.empty()) Children.insert(Children.begin(), std::make_unique<TPIncludeTag>(this, includeText));
  result += kPrologue1;
  result += Folder.Text();
  result += kPrologue2;
  result += Folder.Text();
  result += kPrologue3;
}

std::string TPBaseTag::Render() {
  try {
    std::string result;
    if (Parent == nullptr) Engine->ResetRequest();
    if (!Children.empty() && !Engine->Stopped()) {
      if (Parent == nullptr) FramePrologue(result);
      // The page the host built appends the closing head below: room for it is
      // reserved with the children's text (speed: no second copy of the page).
      AppendChildren(result, Parent == nullptr ? kClosingHead.size() : 0);
    }
    if (Parent != nullptr) {
      Suppressed = Parent->Suppressed;
    } else {
      Suppressed = false;
      if (!Location.empty()) return std::string(kRedirect1) + Location + std::string(kRedirect2);
      result += kClosingHead;
    }
    if (QuoteOutput) return "\"" + result + "\"";
    return result;
  } catch (const std::exception&) {
    return std::string();
  }
}

}  // namespace vantrel
