// The hosts' start-up; see StartUp.h.
#include "app/StartUp.h"

#include <ostream>

#include "platform/FileSystem.h"
#include "platform/RegionalSettings.h"

namespace vantrel {

std::optional<std::string> EnterApplicationFolder(const std::string& appDir, std::ostream& err) {
  std::string appFolder = platform::EngineFolderFromHost(appDir);
  std::string error;
  if (!platform::ChangeCurrentFolder(appDir, error)) {
    err << "vantrel: cannot enter application folder " << appDir << ": " << error << "\n";
    return std::nullopt;
  }
  return appFolder;
}

std::string ChooseLocaleId(const std::string& given) {
  return given.empty() ? platform::RegionalSettings::LocaleIdFromEnvironment() : given;
}

}  // namespace vantrel
