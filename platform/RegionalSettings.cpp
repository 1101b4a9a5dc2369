// Regional settings from ICU; see RegionalSettings.h. The date and time formats
// are ICU patterns translated into the mask letters of the date formatter; the
// currency layout is read from the locale's currency pattern.
#include "platform/RegionalSettings.h"

#include <cstdlib>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include <unicode/datefmt.h>
#include <unicode/dcfmtsym.h>
#include <unicode/decimfmt.h>
#include <unicode/dtfmtsym.h>
#include <unicode/locid.h>
#include <unicode/numfmt.h>
#include <unicode/smpdtfmt.h>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>

namespace vantrel::platform {

namespace {

// Converts between two character sets; unmappable characters become "?".
std::string ConvertWith(const char* from, const char* to, const std::string& text) {
  if (text.empty()) return text;
  UErrorCode status = U_ZERO_ERROR;
  UConverter* source = ucnv_open(from, &status);
  UConverter* target = ucnv_open(to, &status);
  std::string out;
  if (U_SUCCESS(status)) {
    ucnv_setSubstChars(target, "?", 1, &status);
    out.assign(text.size() * 4 + 16, '\0');
    char* outPos = out.data();
    const char* inPos = text.data();
    ucnv_convertEx(target, source, &outPos, out.data() + out.size(), &inPos, text.data() + text.size(), nullptr,
                   nullptr, nullptr, nullptr, true, true, &status);
    out.resize(static_cast<size_t>(outPos - out.data()));
  }
  if (source != nullptr) ucnv_close(source);
  if (target != nullptr) ucnv_close(target);
  if (U_FAILURE(status)) return text;
  return out;
}

// Blanks that locale data uses inside patterns and groupings (no-break, narrow
// no-break and thin spaces).
bool IsSpaceLike(UChar32 c) { return c == 0x20 || c == 0xA0 || c == 0x202F || c == 0x2009; }

std::string UnicodeToAnsi(const icu::UnicodeString& s) {
  std::string utf8;
  s.toUTF8String(utf8);
  return Utf8ToAnsi(utf8);
}

// One Windows-1252 character, or none when the text is not exactly one.
std::optional<char> SingleAnsiChar(const icu::UnicodeString& s) {
  if (s.countChar32() != 1) return std::nullopt;
  const std::string a = UnicodeToAnsi(s);
  if (a.size() != 1 || (a[0] == '?' && s.char32At(0) != '?')) return std::nullopt;
  return a[0];
}

// ---- ICU date patterns ----

// A piece of an ICU date pattern: a field (a letter and its run length) or
// literal text.
struct TPatternPiece {
  bool Field = false;
  UChar32 Letter = 0;
  int Count = 0;
  icu::UnicodeString Literal;
};

bool IsAsciiLetter(UChar32 c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Splits an ICU pattern into fields and literals. Quoted text is literal; two
// apostrophes stand for one, inside quotes and outside.
std::vector<TPatternPiece> SplitPattern(const icu::UnicodeString& pattern) {
  std::vector<TPatternPiece> pieces;
  auto addLiteral = [&pieces](UChar32 c) {
    if (pieces.empty() || pieces.back().Field) pieces.emplace_back();
    pieces.back().Literal.append(c);
  };
  bool quoted = false;
  const int32_t n = pattern.length();
  for (int32_t i = 0; i < n;) {
    const UChar32 c = pattern.char32At(i);
    const int32_t next = pattern.moveIndex32(i, 1);
    if (c == '\'') {
      if (next < n && pattern.char32At(next) == '\'') {
        addLiteral('\'');
        i = pattern.moveIndex32(next, 1);
      } else {
        quoted = !quoted;
        i = next;
      }
      continue;
    }
    if (!quoted && IsAsciiLetter(c)) {
      int count = 0;
      int32_t j = i;
      while (j < n && pattern.char32At(j) == c) {
        ++count;
        j = pattern.moveIndex32(j, 1);
      }
      TPatternPiece field;
      field.Field = true;
      field.Letter = c;
      field.Count = count;
      pieces.push_back(field);
      i = j;
      continue;
    }
    addLiteral(IsSpaceLike(c) ? UChar32{' '} : c);
    i = next;
  }
  return pieces;
}

// The first character of the literal between the first field of one of the
// letters `first` and the next field, when it is one Windows-1252 character other
// than a blank.
std::optional<char> SeparatorAfter(const std::vector<TPatternPiece>& pieces, std::u16string_view first) {
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (!pieces[i].Field || first.find(static_cast<char16_t>(pieces[i].Letter)) == std::u16string_view::npos)
      continue;
    if (i + 2 < pieces.size() && !pieces[i + 1].Field && pieces[i + 2].Field) {
      const icu::UnicodeString& literal = pieces[i + 1].Literal;
      if (literal.length() > 0 && literal.char32At(0) != ' ')
        return SingleAnsiChar(icu::UnicodeString(literal.char32At(0)));
    }
    return std::nullopt;
  }
  return std::nullopt;
}

enum class TPatternKind { ShortDate, LongDate, Time };

// The mask letters of one ICU field; empty for fields the formatter has no letter
// for (time zones, week numbers, quarters), which are left out.
std::string MaskForField(UChar32 letter, int count, TPatternKind kind) {
  switch (letter) {
    case 'G':
      return count <= 3 ? "g" : "gg";
    case 'y':
    case 'Y':
    case 'u':
    case 'U':
    case 'r':
      // The short date always shows the year in four digits.
      return kind != TPatternKind::ShortDate && count == 2 ? "yy" : "yyyy";
    case 'M':
    case 'L':
      return count == 1 ? "m" : count == 2 ? "mm" : count == 3 ? "mmm" : "mmmm";
    case 'd':
      return count == 1 ? "d" : "dd";
    case 'E':
      return count == 4 ? "dddd" : "ddd";
    case 'c':
    case 'e':
      return count <= 2 ? "" : count == 4 ? "dddd" : "ddd";
    case 'h':
    case 'H':
    case 'k':
    case 'K':
      return count == 1 ? "h" : "hh";
    case 'm':
      return count == 1 ? "n" : "nn";
    case 's':
      return count == 1 ? "s" : "ss";
    case 'S':
      return "zzz";
    case 'a':
    case 'b':
    case 'B':
      return "ampm";
    default:
      return "";
  }
}

// Literal text in a form the formatter writes as it stands: text without letters,
// quotes and separator placeholders as it is, other text in quotes.
std::string MaskForLiteral(const std::string& ansi) {
  bool plain = true;
  for (char c : ansi)
    if (IsAsciiLetter(static_cast<unsigned char>(c)) || c == '"' || c == '\'' || c == '/' || c == ':') plain = false;
  if (plain) return ansi;
  if (ansi.find('"') == std::string::npos) return '"' + ansi + '"';
  if (ansi.find('\'') == std::string::npos) return '\'' + ansi + '\'';
  std::string out;  // both quote characters: each character on its own
  for (char c : ansi) out += c == '"' ? std::string("'\"'") : MaskForLiteral(std::string(1, c));
  return out;
}

// Translates an ICU pattern into the formatter's mask letters. In the short date
// the date separator becomes "/", in a time format the time separator becomes ":",
// so that the formatter writes the regional separators there.
std::string TranslatePattern(const icu::UnicodeString& pattern, TPatternKind kind, char dateSeparator,
                             char timeSeparator) {
  std::string mask;
  for (const TPatternPiece& piece : SplitPattern(pattern)) {
    if (piece.Field) {
      mask += MaskForField(piece.Letter, piece.Count, kind);
      continue;
    }
    const std::string ansi = UnicodeToAnsi(piece.Literal);
    std::string run;
    for (char c : ansi) {
      const bool isDate = kind == TPatternKind::ShortDate && c == dateSeparator;
      const bool isTime = kind == TPatternKind::Time && c == timeSeparator;
      if (!isDate && !isTime) {
        run += c;
        continue;
      }
      mask += MaskForLiteral(run);
      run.clear();
      mask += isDate ? '/' : ':';
    }
    mask += MaskForLiteral(run);
  }
  // Blanks that stood next to a left-out field (a time zone) go.
  const size_t first = mask.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return mask.substr(first, mask.find_last_not_of(' ') - first + 1);
}

icu::UnicodeString DatePattern(icu::DateFormat::EStyle dateStyle, icu::DateFormat::EStyle timeStyle,
                               const icu::Locale& locale) {
  std::unique_ptr<icu::DateFormat> format(
      dateStyle != icu::DateFormat::kNone ? icu::DateFormat::createDateInstance(dateStyle, locale)
                                          : icu::DateFormat::createTimeInstance(timeStyle, locale));
  icu::UnicodeString pattern;
  if (auto* simple = dynamic_cast<icu::SimpleDateFormat*>(format.get())) simple->toPattern(pattern);
  return pattern;
}

// ---- currency layout ----

constexpr std::array<const char*, 4> kPositiveLayouts = {"$1", "1$", "$ 1", "1 $"};
constexpr std::array<const char*, 16> kNegativeLayouts = {"($1)", "-$1",  "$-1",  "$1-",  "(1$)",  "-1$",
                                                          "1-$",  "1$-",  "-1 $", "-$ 1", "1 $-",  "$ 1-",
                                                          "$ -1", "1- $", "($ 1)", "(1 $)"};

// A currency subpattern reduced to its layout: "$" for the symbol, "1" for the
// number, and the signs, parentheses and blanks around them.
std::string LayoutOf(const icu::UnicodeString& subpattern) {
  std::string layout;
  bool inNumber = false;
  for (int32_t i = 0; i < subpattern.length(); i = subpattern.moveIndex32(i, 1)) {
    const UChar32 c = subpattern.char32At(i);
    const bool numberChar = c == '#' || c == '0' || c == ',' || c == '.' || c == '@' || (c >= '1' && c <= '9');
    if (numberChar) {
      if (!inNumber) layout += '1';
      inNumber = true;
      continue;
    }
    inNumber = false;
    if (c == 0xA4) {
      if (layout.empty() || layout.back() != '$') layout += '$';
    } else if (c == '-' || c == '(' || c == ')') {
      layout += static_cast<char>(c);
    } else if (IsSpaceLike(c)) {
      if (!layout.empty() && layout.back() != ' ') layout += ' ';
    }
  }
  // Blanks count only between the symbol and the number.
  while (!layout.empty() && layout.back() == ' ') layout.pop_back();
  while (!layout.empty() && layout.front() == ' ') layout.erase(0, 1);
  return layout;
}

template <size_t N>
int LayoutIndex(const std::array<const char*, N>& layouts, const std::string& layout) {
  for (size_t i = 0; i < N; ++i)
    if (layout == layouts[i]) return static_cast<int>(i);
  return -1;
}

void ReadCurrencyLayout(const icu::Locale& locale, RegionalSettings& rs) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::NumberFormat> format(icu::NumberFormat::createCurrencyInstance(locale, status));
  auto* decimal = dynamic_cast<icu::DecimalFormat*>(format.get());
  if (U_FAILURE(status) || decimal == nullptr) return;
  icu::UnicodeString pattern;
  decimal->toPattern(pattern);
  const int32_t semicolon = pattern.indexOf(u';');
  const icu::UnicodeString positive = semicolon < 0 ? pattern : icu::UnicodeString(pattern, 0, semicolon);
  const int positiveIndex = LayoutIndex(kPositiveLayouts, LayoutOf(positive));
  rs.CurrencyFormat = positiveIndex < 0 ? 0 : positiveIndex;
  // Without a negative subpattern the minus sign goes before the positive layout.
  const std::string negative = semicolon < 0 ? "-" + std::string(kPositiveLayouts[static_cast<size_t>(rs.CurrencyFormat)])
                                             : LayoutOf(icu::UnicodeString(pattern, semicolon + 1));
  const int negativeIndex = LayoutIndex(kNegativeLayouts, negative);
  constexpr std::array<int, 4> kMinusBefore = {1, 5, 9, 8};
  rs.NegativeCurrencyFormat =
      negativeIndex >= 0 ? negativeIndex : kMinusBefore[static_cast<size_t>(rs.CurrencyFormat)];
}

}  // namespace

std::string Utf8ToAnsi(const std::string& utf8) { return ConvertWith("UTF-8", "windows-1252", utf8); }
std::string AnsiToUtf8(const std::string& ansi) { return ConvertWith("windows-1252", "UTF-8", ansi); }

std::string RegionalSettings::CurrencyLayout(const std::string& amount, bool negative) const {
  const char* layout = negative ? (NegativeCurrencyFormat >= 0 && NegativeCurrencyFormat < 16
                                       ? kNegativeLayouts[static_cast<size_t>(NegativeCurrencyFormat)]
                                       : kNegativeLayouts[1])
                                : (CurrencyFormat >= 0 && CurrencyFormat < 4
                                       ? kPositiveLayouts[static_cast<size_t>(CurrencyFormat)]
                                       : kPositiveLayouts[0]);
  std::string out;
  for (const char* p = layout; *p != '\0'; ++p) {
    if (*p == '$') out += CurrencySymbol;
    else if (*p == '1') out += amount;
    else out += *p;
  }
  return out;
}

RegionalSettings RegionalSettings::FromLocale(const std::string& localeId) {
  RegionalSettings rs;
  rs.LocaleId = localeId;
  UErrorCode status = U_ZERO_ERROR;
  icu::Locale locale = icu::Locale::forLanguageTag(localeId, status);
  if (U_FAILURE(status)) locale = icu::Locale::getRoot();

  // Numbers and currency.
  status = U_ZERO_ERROR;
  icu::DecimalFormatSymbols symbols(locale, status);
  if (U_SUCCESS(status)) {
    rs.DecimalSeparator =
        SingleAnsiChar(symbols.getSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol)).value_or('.');
    const icu::UnicodeString group = symbols.getSymbol(icu::DecimalFormatSymbols::kGroupingSeparatorSymbol);
    if (group.length() == 1 && IsSpaceLike(group.char32At(0)) && group.char32At(0) != ' ') {
      rs.ThousandSeparator = "\xA0";  // narrow and no-break spaces: the no-break space
    } else {
      rs.ThousandSeparator = std::string(1, SingleAnsiChar(group).value_or(','));
    }
    const icu::UnicodeString currency = symbols.getSymbol(icu::DecimalFormatSymbols::kCurrencySymbol);
    std::string symbol = UnicodeToAnsi(currency);
    // A symbol without a Windows-1252 form is written as its ISO code.
    if (symbol.find('?') != std::string::npos && currency.indexOf(u'?') < 0)
      symbol = UnicodeToAnsi(symbols.getSymbol(icu::DecimalFormatSymbols::kIntlCurrencySymbol));
    rs.CurrencySymbol = symbol;
  }
  ReadCurrencyLayout(locale, rs);

  // Date and time formats, translated after the separators are known.
  const icu::UnicodeString shortDate = DatePattern(icu::DateFormat::kShort, icu::DateFormat::kNone, locale);
  const icu::UnicodeString longDate = DatePattern(icu::DateFormat::kFull, icu::DateFormat::kNone, locale);
  const icu::UnicodeString shortTime = DatePattern(icu::DateFormat::kNone, icu::DateFormat::kShort, locale);
  const icu::UnicodeString longTime = DatePattern(icu::DateFormat::kNone, icu::DateFormat::kMedium, locale);
  rs.DateSeparator = SeparatorAfter(SplitPattern(shortDate), u"yYuMLd").value_or('/');
  rs.TimeSeparator = SeparatorAfter(SplitPattern(longTime), u"hHkK").value_or(':');
  if (!shortDate.isEmpty())
    rs.ShortDateFormat = TranslatePattern(shortDate, TPatternKind::ShortDate, rs.DateSeparator, rs.TimeSeparator);
  if (!longDate.isEmpty())
    rs.LongDateFormat = TranslatePattern(longDate, TPatternKind::LongDate, rs.DateSeparator, rs.TimeSeparator);
  if (!shortTime.isEmpty())
    rs.ShortTimeFormat = TranslatePattern(shortTime, TPatternKind::Time, rs.DateSeparator, rs.TimeSeparator);
  if (!longTime.isEmpty())
    rs.LongTimeFormat = TranslatePattern(longTime, TPatternKind::Time, rs.DateSeparator, rs.TimeSeparator);

  // Names.
  status = U_ZERO_ERROR;
  icu::DateFormatSymbols names(locale, status);
  if (U_FAILURE(status)) return rs;
  int32_t count = 0;
  const icu::UnicodeString* texts = names.getAmPmStrings(count);
  if (count >= 2) {
    rs.TimeAMString = UnicodeToAnsi(texts[0]);
    rs.TimePMString = UnicodeToAnsi(texts[1]);
  }
  using Symbols = icu::DateFormatSymbols;
  texts = names.getMonths(count, Symbols::STANDALONE, Symbols::ABBREVIATED);
  for (int32_t i = 0; i < 12 && i < count; ++i) rs.ShortMonthNames[static_cast<size_t>(i)] = UnicodeToAnsi(texts[i]);
  texts = names.getMonths(count, Symbols::STANDALONE, Symbols::WIDE);
  for (int32_t i = 0; i < 12 && i < count; ++i) rs.LongMonthNames[static_cast<size_t>(i)] = UnicodeToAnsi(texts[i]);
  // ICU's weekday arrays start with an unused entry; Sunday is entry 1.
  texts = names.getWeekdays(count, Symbols::STANDALONE, Symbols::ABBREVIATED);
  for (int32_t i = 1; i < 8 && i < count; ++i) rs.ShortDayNames[static_cast<size_t>(i - 1)] = UnicodeToAnsi(texts[i]);
  texts = names.getWeekdays(count, Symbols::STANDALONE, Symbols::WIDE);
  for (int32_t i = 1; i < 8 && i < count; ++i) rs.LongDayNames[static_cast<size_t>(i - 1)] = UnicodeToAnsi(texts[i]);
  texts = names.getEras(count);
  if (count >= 2) rs.ShortEraName = UnicodeToAnsi(texts[1]);
  texts = names.getEraNames(count);
  if (count >= 2) rs.LongEraName = UnicodeToAnsi(texts[1]);
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
