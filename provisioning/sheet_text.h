// CSV cells that survive a spreadsheet. Calc and Excel run a cell that
// starts with = + - or @ as a formula and read a cell that looks like a
// number as one ("0123" comes back as "123", "1E5" as "100000"), so every
// CSV lumora writes guards such text cells with one leading apostrophe, and
// the plan reader removes exactly that apostrophe again. Used for the text
// columns name, version, pppoe_account and pppoe_password; a MAC is written
// in colon notation instead, which spreadsheets keep as text.
#pragma once

#include <cstdint>
#include <string>

namespace lumora::provisioning {

// The byte-order mark Excel needs to read a double-clicked CSV as UTF-8.
constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

// `text` with one apostrophe in front when it starts with = + - @ or an
// apostrophe, or reads as a number (digits with an optional sign, decimal
// point or exponent: 0123, 1E5, 12.50, -3); else `text` itself.
std::string SheetSafe(const std::string& text);

// Digits with an optional sign, decimal point and exponent: a cell a
// spreadsheet takes for a number.
bool ReadsAsNumber(const std::string& text);

// Removes one leading apostrophe where SheetSafe would have put one, so
// SheetUnescape(SheetSafe(x)) == x for every x; any other cell is returned
// as it is.
std::string SheetUnescape(const std::string& cell);

// RFC 4180: the cell in double quotes, each quote doubled, when it holds a
// comma, a quote, a CR or a LF; else the cell itself.
std::string CsvQuoted(const std::string& cell);

// "00:11:22:33:44:55", upper-case digits.
std::string ColonMac(const uint8_t mac[6]);

}  // namespace lumora::provisioning
