// The <cf_mail> tag and SendMailMessage; see TPMailTag.h.
#include "engine/tags/TPMailTag.h"

#include <exception>

#include "engine/Strings.h"

namespace vantrel {

namespace {

// Items separated by any of ";" and ","; empty items are skipped and items are not
// trimmed, so a blank after a separator stays part of the next item.
std::vector<std::string> SplitItems(const std::string& text) {
  std::vector<std::string> items;
  std::string item;
  for (char c : text) {
    if (c == ';' || c == ',') {
      if (!item.empty()) items.push_back(item);
      item.clear();
    } else {
      item += c;
    }
  }
  if (!item.empty()) items.push_back(item);
  return items;
}

}  // namespace

int SendMailMessage(TEngine& engine, const std::string& subject, const std::string& body, const std::string& to,
                    const std::string& cc, const std::string& bcc, const std::string& attach, int flags) {
  TMailMessage message;
  message.Subject = subject;
  message.NoteText = body;
  message.Flags = flags;
  const std::pair<const std::string*, int> classes[] = {{&to, 1}, {&cc, 2}, {&bcc, 3}};
  for (const auto& [list, recipClass] : classes)
    for (std::string& name : SplitItems(*list)) message.Recips.push_back({recipClass, std::move(name)});
  message.Files = SplitItems(attach);
  if (!engine.MailProgram) return 1;  // no mail program: nothing happens
  return engine.MailProgram(message);
}

TPMailTag::TPMailTag(TPBaseTag* parent, std::string_view attributeText) : TPBaseTag(parent, kMail, attributeText) {
  ClosingTags = {"/cf_mail"};
  MakeAttributeFragment();
  Parse();
}

std::string TPMailTag::Render() {
  Suppressed = Parent->Suppressed;
  if (Engine->Stopped() || Suppressed) return std::string();
  try {
    if (!PrepareAttributes()) return std::string();
    const std::string to = Trim(GetAttribute("to", ""));
    const std::string cc = Trim(GetAttribute("cc", ""));
    const std::string bcc = Trim(GetAttribute("bcc", ""));
    const std::string subject = Trim(GetAttribute("subject", ""));
    const std::string attach = ReplaceAll(Trim(GetAttribute("attach", "")), "\\\\", "\\");
    Suppressed = false;
    const std::string text = RenderChildren();
    const int result = SendMailMessage(*Engine, subject, text, to, cc, bcc, attach, 9);
    SetVariable("MapiResult", result == 0 ? "true" : "false");
  } catch (const std::exception&) {
    // the tag does nothing more; MapiResult keeps its value
  }
  return std::string();
}

}  // namespace vantrel
