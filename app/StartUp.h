// What every host does before its first page: enter the application folder, whose
// engine form becomes the engine's AppFolder, and choose the locale of the user's
// regional settings.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

namespace vantrel {

// Enters appDir (templates name files relative to it) and returns its engine form;
// when it cannot be entered the reason goes to err and nothing is returned.
std::optional<std::string> EnterApplicationFolder(const std::string& appDir, std::ostream& err);

// The locale id given on the command line, else the user's from the environment.
std::string ChooseLocaleId(const std::string& given);

}  // namespace vantrel
