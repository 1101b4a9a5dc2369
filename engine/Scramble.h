// Template text as stored on disk: line normalisation and scrambled templates.
//
// A scrambled template is one line of printable characters: the marker "VQS1:"
// followed by the base64 form of the template text, prefixed with "<crypt>", each
// byte combined with a fixed key stream. It holds no CR, LF or NUL, so it passes the
// line-based loading unchanged. This keeps templates from casual reading and
// editing; it is not encryption.
#pragma once

#include <string>
#include <string_view>

namespace vantrel {

// Reads bytes as lines (ending at CR LF, CR or LF; a NUL ends the text) and joins
// them again with CR LF after every line, the last one included.
std::string JoinTemplateLines(std::string_view bytes);

// The descrambled text of a scrambled template (beginning with "<crypt>"); the
// empty text for anything else, so a plain template is used as it stands.
std::string DescrambleTemplate(std::string_view text);

// The scrambled form of a template's text (already joined into CR LF lines).
std::string ScrambleTemplate(std::string_view source);

}  // namespace vantrel
