// CSV cells that survive a spreadsheet. Calc and Excel run a cell that
// starts with = + - or @ as a formula and read any cell that looks like a
// number, a date, a time or a truth value as one: LibreOffice Calc turned
// "0123" into 123, "1E5" into 100000, "3/4" and "Jan-5" into dates, "12:30"
// into a time, "50%" into a percentage, "(5)" into -5, "1,234" into 1234,
// " 12" into 12 and "false" into FALSE. So every CSV lumora writes, and the
// dialog's "Copy list", guards such text cells with one leading apostrophe,
// and the plan reader removes exactly that apostrophe again. The guard errs
// toward guarding: an apostrophe too many is harmless, one too few changes
// a camera. Used for the text columns name, version, pppoe_account and
// pppoe_password; a MAC is written in colon notation instead, which
// spreadsheets keep as text.
#pragma once

#include <cstdint>
#include <string>

namespace lumora::provisioning {

// The byte-order mark Excel needs to read a double-clicked CSV as UTF-8.
constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

// `text` with one apostrophe in front when it starts with = + - @ or an
// apostrophe; starts or ends with a blank (space, tab, line break, no-break
// space); is TRUE or FALSE in any case; or holds digits and, besides them,
// only what numbers, dates and times are written with: signs, decimal,
// thousands, date and time separators, parentheses, percent, currency
// signs, an exponent's E, month and day names in English, AM and PM (0123,
// 1E5, 1,234, (5), 50%, $5, 3/4, Jan-5, 12:30, 5pm). Else `text` itself.
std::string SheetSafe(const std::string& text);

// Digits with an optional sign, decimal point and exponent: the plain
// numbers, as the MAC column's message names them.
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
