// The <cf_file> tag; see TPFileTag2.h.
#include "engine/tags/TPFileTag2.h"

#include "engine/Strings.h"
#include "engine/tags/TPFileTag.h"

namespace vantrel {

TPFileTag2::TPFileTag2(TPBaseTag* parent, std::string_view attributeText) : TPBaseTag(parent, kFile2, attributeText) {
  ClosingTags = {"/cf_file"};
  MakeAttributeFragment();
  Parse();
}

std::string TPFileTag2::Render() {
  Suppressed = Parent->Suppressed;
  if (Engine->Stopped() || Suppressed) return std::string();
  if (!PrepareAttributes()) return std::string();
  TFileAction a = ReadFileAttributes(*this);
  const std::string ask = LowerCase(GetAttribute("ask", ""));
  const std::string ext = LowerCase(GetAttribute("ext", ""));
  const std::string path = LowerCase(GetAttribute("path", ""));
  if (ask == "true") {
    TSaveDialogRequest request{path.empty() ? Engine->AppFolder : path, a.File, ext};
    std::string chosen;
    a.Confirmed = Engine->SaveDialog && Engine->SaveDialog(request, chosen);
    if (a.Confirmed) a.File = chosen;
  }
  // The body is the text to write; it renders for every action, and a read
  // puts it in front of the file's content.
  const std::string body = RenderChildren();
  a.Output = body;
  a.ReadPrefix = body;
  PerformFileAction(*this, a);
  return std::string();
}

}  // namespace vantrel
