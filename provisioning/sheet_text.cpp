// Spreadsheet-safe cells and CSV quoting.
#include "provisioning/sheet_text.h"

#include <cstdio>

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

bool NeedsGuard(const std::string& text) {
  if (text.empty()) return false;
  switch (text[0]) {
    case '=':
    case '+':
    case '-':
    case '@':
    case '\'': return true;
    default: return ReadsAsNumber(text);
  }
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
