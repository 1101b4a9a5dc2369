// Disk access for the engine. Engine paths are Windows-style texts: "\" separates
// folders ("/" is accepted too) and an absolute path begins with "\". Only this
// layer turns them into host paths; when a component does not exist with the exact
// letter case, it is matched without regard to case, so a template tree written on
// a case-insensitive file system runs unchanged.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::platform {

// "/tmp/x/app" -> "\tmp\x\app\" : the engine form of a host folder, ending in "\".
std::string EngineFolderFromHost(const std::filesystem::path& folder);

// Maps an engine path to a host path, resolving each component case-insensitively
// when the exact name is missing. A relative engine path stays relative to the
// process's current folder.
std::filesystem::path ToHostPath(std::string_view enginePath);

bool FileExists(std::string_view enginePath);
bool DirectoryExists(std::string_view enginePath);

// Reads the whole file as bytes. Returns false and sets error on failure.
bool ReadFileBytes(std::string_view enginePath, std::string& out, std::string& error);

// Writes bytes to a new file or replaces an existing one. The new content is written
// to a temporary file beside the target and renamed over it, so a failed write never
// leaves a half-written file. A missing file name component is created with the
// name as given.
bool WriteFileBytes(std::string_view enginePath, std::string_view data, std::string& error);

// The current folder of the process.
bool ChangeCurrentFolder(const std::filesystem::path& folder, std::string& error);

// ---- File copy (the filecopy built-in) ----

// Copies every byte of the source file to the destination, creating it or replacing
// an existing one. The source must be a regular file (a folder or a device such as
// an endless stream is refused). The bytes are written to a temporary file beside
// the destination and renamed over it, so a failed copy leaves the destination as
// it was, and copying a file onto itself keeps its content. Returns false and sets
// error on failure.
bool CopyFile(std::string_view sourceEnginePath, std::string_view destEnginePath, std::string& error);

}  // namespace vantrel::platform
