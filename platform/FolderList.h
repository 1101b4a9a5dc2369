// Listing a folder's files by mask, for the folder mode of the loop tag.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vantrel::platform {

// True when name matches the wildcard pattern ("*" any run, "?" one character),
// compared without regard to case. "*.*" matches every name, with or without a dot.
bool MatchesMask(std::string_view name, std::string_view pattern);

// The plain names of the regular files in the folder that match one of the
// patterns of mask (separated by ";"), leaving out hidden files (names beginning
// with "."), sorted alphabetically without regard to case.
std::vector<std::string> ListFiles(std::string_view engineFolder, std::string_view mask);

}  // namespace vantrel::platform
