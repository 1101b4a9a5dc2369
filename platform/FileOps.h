// File operations of the file tags, over engine paths.
#pragma once

#include <string>
#include <string_view>

namespace vantrel::platform {

// Appends bytes to an existing file; false (nothing created) when it is missing or
// cannot be written.
bool AppendToFile(std::string_view enginePath, std::string_view data, std::string& error);

// Deletes a file; false when it cannot be deleted.
bool DeleteFile(std::string_view enginePath, std::string& error);

// Moves or renames a file. Fails, leaving both files as they were, when the
// destination exists: the rename itself refuses to replace, so no other writer can
// slip in between a check and the move.
bool MoveFileNoReplace(std::string_view sourceEnginePath, std::string_view destEnginePath, std::string& error);

}  // namespace vantrel::platform
