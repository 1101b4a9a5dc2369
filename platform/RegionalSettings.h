// Regional settings of the user's locale, read once per run from ICU locale data
// and converted to Windows-1252 text, the engine's character set.
#pragma once

#include <string>

namespace vantrel::platform {

struct RegionalSettings {
  std::string LocaleId = "en-US";
  char DecimalSeparator = '.';
  std::string ThousandSeparator = ",";

  // Reads the settings of an ICU locale id such as "en-US" or "de-CH". An unknown
  // id falls back to ICU's root data; a separator that is not one Windows-1252
  // character falls back to "." (decimal) or "," (thousands).
  static RegionalSettings FromLocale(const std::string& localeId);

  // The locale id from LC_ALL, LC_NUMERIC or LANG ("de_CH.UTF-8" -> "de-CH"),
  // else "en-US".
  static std::string LocaleIdFromEnvironment();
};

// UTF-8 text to Windows-1252 bytes; characters without a mapping become "?".
std::string Utf8ToAnsi(const std::string& utf8);
// Windows-1252 bytes to UTF-8 text.
std::string AnsiToUtf8(const std::string& ansi);

}  // namespace vantrel::platform
