// The file tag <cffile>: appends, copies, deletes, moves, renames, reads and writes files.
#pragma once

#include "engine/TPBaseTag.h"

namespace vantrel {

// One file action with its evaluated attributes.
struct TFileAction {
  std::string Action;       // lower-cased
  std::string File;         // lower-cased
  std::string Destination;  // lower-cased
  std::string Source;
  std::string Variable;
  std::string Output;
  std::string ReadPrefix;  // <cf_file>: its body, in front of what a read finds
  bool Confirmed = true;   // <cf_file>: false when the user cancelled the save dialog
};

// The attributes both file tags read, lower-cased where the tags use them so.
TFileAction ReadFileAttributes(const TPBaseTag& tag);
// Appends, copies, deletes, moves, renames, reads or writes; failures end the action
// silently, and missing files or attributes simply skip it.
void PerformFileAction(TPBaseTag& tag, const TFileAction& action);

class TPFileTag : public TPBaseTag {
 public:
  TPFileTag(TPBaseTag* parent, std::string_view attributeText);
  std::string Render() override;
  std::string GetValue(std::string_view Name, bool Quoted) override { return ParentGetValue(Name, Quoted); }
  bool IsDefined(std::string_view Name) override { return ParentIsDefined(Name); }
};

}  // namespace vantrel
