// Starting other programs for the dosexec and shellexec built-ins.
//
// A command line is split into words the way a shell command line is written:
// blanks separate words and double quotes group blanks into a word (the quotes
// themselves are dropped; "" is an empty word). Nothing else is special, so a
// backslash is an ordinary character and engine paths pass unchanged. No command
// interpreter runs in between: the first word is the program, the others are its
// arguments. A program word with a "\" or "/" is an engine path (mapped to the host
// like every engine path); a bare name is searched for in the folders of PATH.
//
// A started program runs in the process's current folder and environment, in a
// session of its own, with its standard streams on the null device and none of
// the engine's other open files; signals start with their default handling.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::platform {

// The words of a command line (see above).
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// Starts the program without waiting for it. True when it was started. The started
// program is detached: it is never left behind as an unreaped child of the engine.
bool StartProcess(std::string_view commandLine);

// Starts the program and waits until it ends. Its exit code (0 to 255; 128 plus the
// signal number when a signal ended it), or none when it could not be started.
std::optional<int> RunProcess(std::string_view commandLine);

}  // namespace vantrel::platform
