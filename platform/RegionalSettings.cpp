// Regional settings from ICU; see RegionalSettings.h.
#include "platform/RegionalSettings.h"

#include <cstdlib>

#include <unicode/dcfmtsym.h>
#include <unicode/locid.h>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>

namespace vantrel::platform {

namespace {

std::string ConvertWith(const char* from, const char* to, const std::string& text) {
  if (text.empty()) return text;
  UErrorCode status = U_ZERO_ERROR;
  std::string out(text.size() * 4 + 16, '\0');
  int32_t n = ucnv_convert(to, from, out.data(), static_cast<int32_t>(out.size()), text.data(),
                           static_cast<int32_t>(text.size()), &status);
  if (U_FAILURE(status)) return text;
  out.resize(static_cast<size_t>(n));
  return out;
}

std::string UnicodeToAnsi(const icu::UnicodeString& s) {
  std::string utf8;
  s.toUTF8String(utf8);
  return Utf8ToAnsi(utf8);
}

}  // namespace

std::string Utf8ToAnsi(const std::string& utf8) { return ConvertWith("UTF-8", "windows-1252", utf8); }
std::string AnsiToUtf8(const std::string& ansi) { return ConvertWith("windows-1252", "UTF-8", ansi); }

RegionalSettings RegionalSettings::FromLocale(const std::string& localeId) {
  RegionalSettings rs;
  rs.LocaleId = localeId;
  UErrorCode status = U_ZERO_ERROR;
  icu::Locale locale = icu::Locale::forLanguageTag(localeId, status);
  if (U_FAILURE(status)) locale = icu::Locale::getRoot();
  status = U_ZERO_ERROR;
  icu::DecimalFormatSymbols symbols(locale, status);
  if (U_FAILURE(status)) return rs;
  std::string dec = UnicodeToAnsi(symbols.getSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol));
  rs.DecimalSeparator = dec.size() == 1 ? dec[0] : '.';
  icu::UnicodeString group = symbols.getSymbol(icu::DecimalFormatSymbols::kGroupingSeparatorSymbol);
  if (group == icu::UnicodeString(static_cast<UChar32>(0x202F)) ||
      group == icu::UnicodeString(static_cast<UChar32>(0x00A0))) {
    rs.ThousandSeparator = "\xA0";  // narrow and no-break spaces: the no-break space
  } else {
    std::string g = UnicodeToAnsi(group);
    rs.ThousandSeparator = g.size() == 1 ? g : ",";
  }
  return rs;
}

std::string RegionalSettings::LocaleIdFromEnvironment() {
  for (const char* var : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
    const char* v = std::getenv(var);
    if (v == nullptr || *v == '\0') continue;
    std::string s(v);
    if (s == "C" || s == "POSIX" || s.rfind("C.", 0) == 0) continue;
    size_t cut = s.find_first_of(".@");
    if (cut != std::string::npos) s.resize(cut);
    for (char& c : s) if (c == '_') c = '-';
    if (!s.empty()) return s;
  }
  return "en-US";
}

}  // namespace vantrel::platform
