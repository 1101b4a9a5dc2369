// The desktop's services for the hosts: opening a file with its default program,
// handing a message to the mail program, and a mail log for tests and authors.
#pragma once

#include <string>

#include "engine/Engine.h"

namespace vantrel {

// Opens the file (an engine path) with the desktop's default program (xdg-open),
// without waiting; the result is ignored.
void OpenWithShell(const std::string& path);

// Hands the message to the desktop's mail program (xdg-email), which shows its
// compose window filled in. Returns 0 when the mail program took the message,
// non-zero when it is missing or failed.
int SendWithMailProgram(const TMailMessage& message);

// Appends the message to a log file instead of starting a mail program; 0 when it
// was written.
int WriteMailLog(const std::string& logFile, const TMailMessage& message);

}  // namespace vantrel
