// The CSV records of a sheet, one held at a time.
#include "provisioning/csv_reader.h"

namespace lumora::provisioning {
namespace {

bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

}  // namespace

char DetectSeparator(const std::string& text) {
  std::size_t counts[3] = {0, 0, 0};
  const char kinds[3] = {',', ';', '\t'};
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    if (IsLineEnd(c)) break;
    for (int k = 0; k < 3; ++k) {
      if (c == kinds[k]) ++counts[k];
    }
  }
  int best = 0;
  for (int k = 1; k < 3; ++k) {
    if (counts[k] > counts[best]) best = k;
  }
  return kinds[best];
}

int ReadCsvRecords(const std::string& text, char separator, const std::function<bool(const CsvRecord&)>& take) {
  int line = 1;
  std::size_t i = 0, n = text.size();
  // One record for all, so that a blank line costs no allocation.
  CsvRecord record;
  std::string cell;
  while (i < n) {
    record.line = line;
    record.cells.clear();
    record.overLong = false;
    bool cellStart = true, quoted = false;
    // Past the cap nothing more is stored, only the record's end is sought.
    auto add = [&](char c) {
      if (record.cells.size() >= kMaxCsvCells) return;
      if (cell.size() < kMaxCsvCellBytes) cell += c;
      else if (cell.size() == kMaxCsvCellBytes) cell += "...";
    };
    auto endCell = [&] {
      if (record.cells.size() < kMaxCsvCells) record.cells.push_back(std::move(cell));
      else record.overLong = true;
      cell.clear();
    };
    for (;;) {
      if (i >= n) {
        if (quoted) return record.line;
        break;
      }
      char c = text[i++];
      if (quoted) {
        if (c == '"') {
          if (i < n && text[i] == '"') {
            add('"');
            ++i;
          } else {
            quoted = false;
          }
          continue;
        }
        if (c == '\n' || (c == '\r' && (i >= n || text[i] != '\n'))) ++line;
        add(c);
        continue;
      }
      if (c == '"' && cellStart) {
        quoted = true;
        cellStart = false;
        continue;
      }
      if (c == separator) {
        endCell();
        cellStart = true;
        continue;
      }
      if (IsLineEnd(c)) {
        if (c == '\r' && i < n && text[i] == '\n') ++i;
        ++line;
        break;
      }
      add(c);
      cellStart = false;
    }
    endCell();
    if (!take(record)) return 0;
  }
  return 0;
}

bool AllEmpty(const std::vector<std::string>& cells) {
  for (const std::string& cell : cells) {
    if (!cell.empty()) return false;
  }
  return true;
}

}  // namespace lumora::provisioning
