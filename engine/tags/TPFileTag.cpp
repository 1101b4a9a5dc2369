// The file tags' shared action and <cffile>; see TPFileTag.h.
#include "engine/tags/TPFileTag.h"

#include "engine/Strings.h"
#include "platform/FileOps.h"
#include "platform/FileSystem.h"

namespace vantrel {

void PerformFileAction(TPBaseTag& tag, const TFileAction& a) {
  std::string error;  // failures end the action without a report
  if (a.Action == "append") {
    if (!a.File.empty() && a.Confirmed && platform::FileExists(a.File))
      platform::AppendToFile(a.File, a.Output, error);
  } else if (a.Action == "copy") {
    if (!a.Source.empty() && !a.Destination.empty() && platform::FileExists(a.Source))
      platform::CopyFile(a.Source, a.Destination, error);
  } else if (a.Action == "delete") {
    if (!a.File.empty() && platform::FileExists(a.File)) platform::DeleteFile(a.File, error);
  } else if (a.Action == "move" || a.Action == "rename") {
    if (!a.Source.empty() && !a.Destination.empty() && platform::FileExists(a.Source))
      platform::MoveFileNoReplace(a.Source, a.Destination, error);
  } else if (a.Action == "read") {
    std::string content;
    if (!a.File.empty() && !a.Variable.empty() && platform::FileExists(a.File) &&
        platform::ReadFileBytes(a.File, content, error))
      tag.SetVariable(a.Variable, a.ReadPrefix + content);
  } else if (a.Action == "write") {
    if (!a.File.empty() && a.Confirmed) platform::WriteFileBytes(a.File, a.Output, error);
  }
}

TFileAction ReadFileAttributes(const TPBaseTag& tag) {
  TFileAction a;
  a.Action = LowerCase(tag.GetAttribute("action", ""));
  a.File = LowerCase(tag.GetAttribute("file", ""));
  a.Destination = LowerCase(tag.GetAttribute("destination", ""));
  a.Source = tag.GetAttribute("source", "");
  a.Variable = tag.GetAttribute("variable", "");
  a.Output = tag.GetAttribute("output", "");
  for (const char* unused : {"accept", "addnewline", "fattributes", "fcharset", "fmode"})
    (void)tag.GetAttribute(unused, "");
  return a;
}

TPFileTag::TPFileTag(TPBaseTag* parent, std::string_view attributeText) : TPBaseTag(parent, kFile, attributeText) {
  MakeAttributeFragment();
}

std::string TPFileTag::Render() {
  Suppressed = Parent->Suppressed;
  if (Engine->Stopped() || Suppressed) return std::string();
  if (!PrepareAttributes()) return std::string();
  PerformFileAction(*this, ReadFileAttributes(*this));
  return std::string();
}

}  // namespace vantrel
