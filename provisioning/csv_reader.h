// Reading CSV as spreadsheets save it: the reading twin of the sheet writers
// (sheet_row, plan_writer). Records come one at a time with the line each
// starts on, and a record or a cell past its limit is cut rather than held,
// so no file can cost more memory than its limits allow.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace lumora::provisioning {

// A plan has a few dozen columns. A record of more cells than this is no
// plan's: it is split no further, so a line of separators costs neither the
// memory of its empty cells nor a problem for each of them.
constexpr std::size_t kMaxCsvCells = 256;

// No value a camera keeps is longer than 32 bytes. A longer cell is cut
// here and marked "...": it stays as wrong as it was, and the problem that
// names it stays short however long the cell.
constexpr std::size_t kMaxCsvCellBytes = 1024;

struct CsvRecord {
  int line = 0;
  std::vector<std::string> cells;  // the first kMaxCsvCells at most
  bool overLong = false;           // it had more than kMaxCsvCells
};

// The header line's separator: whichever of , ; and tab occurs most often
// outside quotes; a comma when none does (a sheet of one column).
char DetectSeparator(const std::string& text);

// RFC 4180 with what spreadsheets add: CRLF, LF or a lone CR ends a record,
// a quoted cell holds separators, doubled quotes and line breaks. A quote
// inside an unquoted cell is taken as it is. Each record goes to `take` as
// soon as it ends; `take` returns false when it wants no more. Returns 0,
// or for a quoted cell left open the line its record starts on.
int ReadCsvRecords(const std::string& text, char separator, const std::function<bool(const CsvRecord&)>& take);

// True when no cell holds anything: a spreadsheet's row of separators only.
bool AllEmpty(const std::vector<std::string>& cells);

}  // namespace lumora::provisioning
