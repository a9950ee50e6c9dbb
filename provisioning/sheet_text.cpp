// Spreadsheet-safe cells and CSV quoting.
#include "provisioning/sheet_text.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <iterator>

namespace lumora::provisioning {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

// What Calc and Excel take for a number: "0123", "12.50", ".5", "1E5", "2e-3".
bool ReadsAsNumber(const std::string& text) {
  std::size_t i = 0, n = text.size();
  if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < n && IsDigit(text[i])) ++i, ++digits;
  if (i < n && text[i] == '.') {
    ++i;
    while (i < n && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t exponent = 0;
    while (i < n && IsDigit(text[i])) ++i, ++exponent;
    if (exponent == 0) return false;
  }
  return i == n;
}

namespace {

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Blanks a spreadsheet trims from a cell's ends, or takes for a thousands
// separator inside a number: space, no-break space, narrow no-break space
// and thin space in UTF-8; tab and line breaks only ever at the ends.
const char* const kBlanks[] = {" ", "\xC2\xA0", "\xE2\x80\xAF", "\xE2\x80\x89", "\t", "\r", "\n"};
constexpr std::size_t kInnerBlanks = 4;

// Words of dates and times: Calc reads "Jan-5", "5 May 2020", "Sep 2020",
// "5pm" and "Monday 5" as dates and times, and the ordinal endings come
// with them ("Jan 5th").
const char* const kDateWords[] = {
    "jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "sept", "oct", "nov", "dec",
    "january", "february", "march", "april", "june", "july", "august", "september", "october", "november",
    "december", "mon", "tue", "tues", "wed", "thu", "thur", "thurs", "fri", "sat", "sun", "monday", "tuesday",
    "wednesday", "thursday", "friday", "saturday", "sunday", "am", "pm", "st", "nd", "rd", "th"};

bool StartsWith(const std::string& text, std::size_t at, const char* prefix) {
  return text.compare(at, std::strlen(prefix), prefix) == 0;
}

// The bytes of the character at `at` when a spreadsheet reads it as part of
// a number, date or time: a sign, a decimal, thousands, date or time
// separator ("1,234", "1'234", "1 234", "3/4", "12:30", "1.5.2020"),
// parentheses for a negative, percent, a currency sign ($ ¢ £ ¤ ¥ and the
// U+20A0 block, € among them), the minus sign; 0 for any other.
std::size_t NumberMarkBytes(const std::string& text, std::size_t at) {
  if (std::strchr(".,'/:-+()%$", text[at]) != nullptr && text[at] != '\0') return 1;
  for (std::size_t b = 0; b < kInnerBlanks; ++b) {
    if (StartsWith(text, at, kBlanks[b])) return std::strlen(kBlanks[b]);
  }
  const auto byte = [&](std::size_t k) { return at + k < text.size() ? static_cast<unsigned char>(text[at + k]) : 0; };
  if (byte(0) == 0xC2 && byte(1) >= 0xA2 && byte(1) <= 0xA5) return 2;
  if (byte(0) != 0xE2) return 0;
  const unsigned point = 0x2000u + ((byte(1) & 0x3Fu) << 6) + (byte(2) & 0x3Fu);  // E2 xx yy: U+2000..U+2FFF
  const bool continued = (byte(1) & 0xC0) == 0x80 && (byte(2) & 0xC0) == 0x80;
  return continued && ((point >= 0x20A0 && point <= 0x20CF) || point == 0x2212) ? 3 : 0;
}

// Digits with nothing but number marks and date words around them: any
// notation of a number, a date or a time. Some texts a spreadsheet would
// keep answer yes as well ("1-2", "5th"); that costs only an apostrophe.
bool ReadsAsNumberOrDate(const std::string& text) {
  const bool time = text.find(':') != std::string::npos;
  bool digit = false;
  for (std::size_t i = 0; i < text.size();) {
    if (IsDigit(text[i])) {
      digit = true;
      ++i;
      continue;
    }
    if (IsLetter(text[i])) {
      const bool afterNumber = i > 0 && (IsDigit(text[i - 1]) || text[i - 1] == '.');
      std::string word;
      for (; i < text.size() && IsLetter(text[i]); ++i) word += static_cast<char>(text[i] | 0x20);  // lower case
      if (word == "e" && afterNumber) continue;  // an exponent: 1E5, 2.e-3
      // With a time: "12:30 a", and ISO 8601's "2020-01-05T10:00".
      if (time && (word == "a" || word == "p" || word == "t")) continue;
      if (std::find(std::begin(kDateWords), std::end(kDateWords), word) != std::end(kDateWords)) continue;
      return false;
    }
    std::size_t mark = NumberMarkBytes(text, i);
    if (mark == 0) return false;
    i += mark;
  }
  return digit;
}

bool EqualsIgnoringCase(const std::string& text, const char* word) {
  if (text.size() != std::strlen(word)) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) != word[i]) return false;
  }
  return true;
}

bool HasBlankEnd(const std::string& text) {
  for (const char* blank : kBlanks) {
    const std::size_t n = std::strlen(blank);
    if (StartsWith(text, 0, blank) || (text.size() >= n && StartsWith(text, text.size() - n, blank))) return true;
  }
  return false;
}

bool NeedsGuard(const std::string& text) {
  if (text.empty()) return false;
  switch (text[0]) {
    case '=':
    case '+':
    case '-':
    case '@':
    case '\'': return true;
    default: break;
  }
  // Calc writes "false" back as FALSE and " 12" as 12.
  return HasBlankEnd(text) || EqualsIgnoringCase(text, "true") || EqualsIgnoringCase(text, "false") ||
         ReadsAsNumberOrDate(text);
}

}  // namespace

std::string SheetSafe(const std::string& text) { return NeedsGuard(text) ? "'" + text : text; }

std::string SheetUnescape(const std::string& cell) {
  if (!cell.empty() && cell[0] == '\'' && NeedsGuard(cell.substr(1))) return cell.substr(1);
  return cell;
}

std::string CsvQuoted(const std::string& cell) {
  if (cell.find_first_of(",\"\r\n") == std::string::npos) return cell;
  std::string out = "\"";
  for (char c : cell) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string ColonMac(const uint8_t mac[6]) {
  char text[18];
  std::snprintf(text, sizeof text, "%02X:%02X:%02X:%02X:%02X:%02X", mac[0], mac[1], mac[2], mac[3], mac[4], mac[5]);
  return text;
}

}  // namespace lumora::provisioning
