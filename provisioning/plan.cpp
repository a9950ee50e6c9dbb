// Reading and checking a site plan. Both dialects first become the same raw
// rows (column key and cell text), which one set of checks then reads, so a
// CSV row and a JSON line with the same values give the same plan.
#include "provisioning/plan.h"

#include <cctype>
#include <functional>
#include <map>
#include <set>
#include <string_view>

#include <nlohmann/json.hpp>

#include "protocol/ipv4.h"
#include "protocol/decimal_text.h"
#include "protocol/ip_assign.h"
#include "provisioning/sheet_text.h"

namespace lumora::provisioning {
namespace {

// Columns scan writes for a person to read; a plan may carry them.
const char* const kInformational[] = {"version", "interface", "source", "warnings"};

constexpr char kColumnList[] =
    "mac, name, ip, mask, gateway, http_port, audio_port, mode, pppoe_account, pppoe_password; "
    "version, interface, source and warnings are read and ignored";

bool IsInformational(const std::string& key) {
  for (const char* name : kInformational) {
    if (key == name) return true;
  }
  return false;
}

// A row as the file holds it, before any value is checked.
struct RawRow {
  int line = 0;
  std::optional<std::string> mac;
  std::array<std::optional<std::string>, kSettingCount> values;
};

// A plan has a few dozen columns. A record of more cells than this is no
// plan's: it is split no further, so a line of separators costs neither the
// memory of its empty cells nor a problem for each of them.
constexpr std::size_t kMaxCells = 256;

// As many cameras as lumora scan lists. Past it a plan is refused rather
// than read on: each row costs far more than its bytes, and a file of
// millions of short lines would otherwise hold gigabytes and as many problems.
constexpr std::size_t kMaxRows = 65536;

// No value a camera keeps is longer than 32 bytes. A longer cell is cut
// here and marked "...": it stays as wrong as it was, and the problem that
// names it stays short however long the cell.
constexpr std::size_t kMaxCellBytes = 1024;

constexpr std::size_t kMaxJsonLineBytes = 65536;

struct CsvRecord {
  int line = 0;
  std::vector<std::string> cells;  // the first kMaxCells at most
  bool overLong = false;           // it had more than kMaxCells
};

bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

// The header line's separator: whichever of , ; and tab occurs most often
// outside quotes; a comma when none does (a plan of one column).
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

// RFC 4180 with what spreadsheets add: CRLF, LF or a lone CR ends a record,
// a quoted cell holds separators, doubled quotes and line breaks. A quote
// inside an unquoted cell is taken as it is. Each record keeps the line it
// starts on and goes to `take` as soon as it ends, so that only one record
// is held at a time; `take` returns false when it wants no more. False only
// for a quoted cell left open.
bool SplitCsv(const std::string& text, char separator, const std::function<bool(const CsvRecord&)>& take,
              std::vector<PlanProblem>& problems) {
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
      if (record.cells.size() >= kMaxCells) return;
      if (cell.size() < kMaxCellBytes) cell += c;
      else if (cell.size() == kMaxCellBytes) cell += "...";
    };
    auto endCell = [&] {
      if (record.cells.size() < kMaxCells) record.cells.push_back(std::move(cell));
      else record.overLong = true;
      cell.clear();
    };
    for (;;) {
      if (i >= n) {
        if (quoted) {
          problems.push_back({record.line, "", "a quoted cell is not closed before the end of the plan"});
          return false;
        }
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
    if (!take(record)) return true;
  }
  return true;
}

bool AllEmpty(const std::vector<std::string>& cells) {
  for (const std::string& cell : cells) {
    if (!cell.empty()) return false;
  }
  return true;
}

// Which setting a column names: its kSettings index, kIgnoredColumn for an
// informational or untitled one.
constexpr int kIgnoredColumn = -1;
constexpr int kUnknownColumn = -2;

int ColumnOf(const std::string& title) {
  if (title.empty() || IsInformational(title)) return kIgnoredColumn;
  const Setting* setting = FindSetting(title);
  return setting ? static_cast<int>(setting - kSettings) : kUnknownColumn;
}

void UnknownColumn(int line, const std::string& title, std::vector<PlanProblem>& problems) {
  problems.push_back({line, title, "is not a plan column (" + std::string(kColumnList) + ")"});
}

// Text cells a CSV writer guarded against the spreadsheet get their
// apostrophe back off; JSON is exact and keeps everything.
bool IsGuardedColumn(std::size_t setting) {
  SettingKind kind = kSettings[setting].kind;
  return kind == SettingKind::kText || kind == SettingKind::kVersion;
}

// The header's columns by ColumnOf; false when no row can be read by them.
bool ReadHeader(const CsvRecord& header, std::vector<int>& columns, std::vector<PlanProblem>& problems) {
  if (header.overLong) {
    problems.push_back({header.line, "", "the header has more than " + std::to_string(kMaxCells) +
                                             " columns (a plan has at most " + std::to_string(kMaxCells) + ")"});
    return false;
  }
  if (AllEmpty(header.cells)) {
    problems.push_back({header.line, "", "the plan has no header line"});
    return false;
  }
  std::set<std::string_view> titles;
  bool hasMac = false;
  for (const std::string& title : header.cells) {
    int column = ColumnOf(title);
    if (!title.empty() && !titles.insert(title).second) {
      problems.push_back({header.line, title, "is in the header twice"});
    }
    if (column == kUnknownColumn) UnknownColumn(header.line, title, problems);
    hasMac = hasMac || title == "mac";
    columns.push_back(column);
  }
  if (!hasMac) {
    problems.push_back({header.line, "", "the header has no mac column (it names the camera of each row)"});
    return false;
  }
  return true;
}

// False when the plan has more rows than it may.
bool ReadCsvRow(const CsvRecord& record, const std::vector<int>& columns, std::size_t& count,
                std::vector<RawRow>& rows, std::vector<PlanProblem>& problems) {
  // Spreadsheets end a sheet with rows of separators only.
  if (!record.overLong && AllEmpty(record.cells)) return true;
  if (++count > kMaxRows) {
    problems.push_back({record.line, "", "the plan has more than " + std::to_string(kMaxRows) +
                                             " rows (lumora lists at most " + std::to_string(kMaxRows) + " cameras)"});
    return false;
  }
  if (record.overLong) {
    problems.push_back({record.line, "", "has more than " + std::to_string(kMaxCells) + " cells (a plan has at most " +
                                             std::to_string(kMaxCells) + " columns)"});
    return true;
  }
  const std::size_t macColumn = 0;  // kSettings[0] is the MAC
  RawRow row;
  row.line = record.line;
  for (std::size_t c = 0; c < record.cells.size(); ++c) {
    const std::string& cell = record.cells[c];
    if (cell.empty()) continue;
    if (c >= columns.size()) {
      problems.push_back({record.line, "", "has more cells than the header has columns"});
      break;
    }
    if (columns[c] == kIgnoredColumn || columns[c] == kUnknownColumn) continue;
    std::size_t setting = static_cast<std::size_t>(columns[c]);
    if (setting == macColumn) row.mac = cell;
    else row.values[setting] = IsGuardedColumn(setting) ? SheetUnescape(cell) : cell;
  }
  rows.push_back(std::move(row));
  return true;
}

void ReadCsv(const std::string& text, std::vector<RawRow>& rows, std::vector<PlanProblem>& problems) {
  const std::size_t rowsBefore = rows.size(), problemsBefore = problems.size();
  std::vector<int> columns;
  std::size_t count = 0;
  bool atHeader = true;
  auto take = [&](const CsvRecord& record) {
    if (!atHeader) return ReadCsvRow(record, columns, count, rows, problems);
    atHeader = false;
    return ReadHeader(record, columns, problems);
  };
  std::vector<PlanProblem> unclosed;
  if (!SplitCsv(text, DetectSeparator(text), take, unclosed)) {
    // A quote left open swallowed the rest of the plan into one cell: what
    // was read before it says nothing, so the open quote is the problem.
    rows.resize(rowsBefore);
    problems.resize(problemsBefore);
    problems.insert(problems.end(), unclosed.begin(), unclosed.end());
    return;
  }
  if (atHeader) problems.push_back({1, "", "the plan has no header line"});
}

void ReadJsonLines(const std::string& text, std::vector<RawRow>& rows, std::vector<PlanProblem>& problems) {
  int line = 0;
  std::size_t count = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string content = text.substr(start, end - start);
    start = end + 1;
    ++line;
    if (content.find_first_not_of(" \t\r") == std::string::npos) continue;
    if (++count > kMaxRows) {
      problems.push_back({line, "", "the plan has more than " + std::to_string(kMaxRows) +
                                        " rows (lumora lists at most " + std::to_string(kMaxRows) + " cameras)"});
      rows.clear();  // refused as a whole: no problem for each row read so far
      return;
    }
    // A scan's line is far shorter; a longer one could nest deep enough to
    // cost gigabytes once parsed.
    if (content.size() > kMaxJsonLineBytes) {
      problems.push_back({line, "", "is longer than a plan's line (" + std::to_string(kMaxJsonLineBytes) + " bytes)"});
      continue;
    }
    nlohmann::json object = nlohmann::json::parse(content, nullptr, false);
    if (object.is_discarded() || !object.is_object()) {
      problems.push_back({line, "", "is not a JSON object, as lumora scan --format json writes one a line"});
      continue;
    }
    RawRow row;
    row.line = line;
    for (auto item = object.begin(); item != object.end(); ++item) {
      const std::string& key = item.key();
      int column = ColumnOf(key);
      if (column == kIgnoredColumn) continue;
      if (column == kUnknownColumn) {
        UnknownColumn(line, key, problems);
        continue;
      }
      const nlohmann::json& value = item.value();
      std::optional<std::string> cell;
      if (value.is_string()) cell = value.get<std::string>();
      else if (value.is_number_integer()) cell = value.dump();
      else if (!value.is_null()) {
        problems.push_back({line, key, "holds a JSON " + std::string(value.type_name()) + ", not a text or a whole number"});
        continue;
      }
      if (cell && cell->empty()) cell.reset();
      if (column == 0) row.mac = cell;
      else row.values[static_cast<std::size_t>(column)] = cell;
    }
    rows.push_back(std::move(row));
  }
}

// The checks of one row, then of the rows together.
void CheckRows(const std::vector<RawRow>& raws, Plan& plan, std::vector<PlanProblem>& problems) {
  std::map<std::string, int> macLines;
  for (const RawRow& raw : raws) {
    PlanRow row;
    row.line = raw.line;
    bool good = true;
    std::string message;
    std::optional<std::string> mac;
    if (!raw.mac) {
      message = "is empty: every row needs the MAC of its camera";
    } else {
      mac = ReadMacCell(*raw.mac, message);
    }
    if (!mac) {
      problems.push_back({raw.line, "mac", message});
      good = false;
    }
    for (std::size_t s = 0; s < kSettingCount; ++s) {
      if (!raw.values[s] || kSettings[s].kind == SettingKind::kVersion) continue;
      std::string problem = ValueProblem(s, *raw.values[s]);
      if (!problem.empty()) {
        problems.push_back({raw.line, kSettings[s].key, problem});
        good = false;
      } else {
        row.values[s] = raw.values[s];
      }
    }
    if (mac) {
      row.mac = *mac;
      auto seen = macLines.emplace(*mac, raw.line);
      if (!seen.second) {
        problems.push_back({raw.line, "mac", *mac + " is also on line " + std::to_string(seen.first->second)});
        good = false;
      }
    }
    if (good) plan.rows.push_back(std::move(row));
  }
}

std::string Quoted(const std::string& value) { return "'" + value + "'"; }

}  // namespace

std::string ProblemText(const PlanProblem& problem) {
  std::string out = "line " + std::to_string(problem.line);
  if (!problem.column.empty()) out += ", column " + problem.column;
  return out + ": " + problem.message;
}

std::size_t SettingIndexOf(const char* key) { return SettingIndex(*FindSetting(key)); }

std::optional<std::string> ReadMacCell(const std::string& cell, std::string& message) {
  std::string digits = cell;
  if (cell.size() == 17 && (cell[2] == ':' || cell[2] == '-')) {
    std::string joined;
    bool oneSeparator = true;  // "00:11-22..." is not a MAC
    for (std::size_t i = 0; i < cell.size(); ++i) {
      if (i % 3 != 2) joined += cell[i];
      else oneSeparator = oneSeparator && cell[i] == cell[2];
    }
    if (oneSeparator) digits = joined;
  }
  bool hex = digits.size() == 12;
  for (char& c : digits) {
    hex = hex && std::isxdigit(static_cast<unsigned char>(c));
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  if (hex) return digits;
  // Never padded or guessed: a guessed MAC could name another camera.
  const std::string cause = " (keep the mac column as text, or export with this version of lumora)";
  bool decimal = !cell.empty() && cell.size() < 12 && cell.find_first_not_of("0123456789") == std::string::npos;
  if (decimal) {
    message = cell + " is not a MAC; a spreadsheet may have read " + std::string(12 - cell.size(), '0') + cell +
              " as a number" + cause;
  } else if (ReadsAsNumber(cell)) {
    message = cell + " is not a MAC; a spreadsheet may have read a MAC as a number" + cause;
  } else {
    message = Quoted(cell) + " is not a MAC (12 hexadecimal digits, with : or - between the pairs or without)";
  }
  return std::nullopt;
}

std::string ValueProblem(std::size_t setting, const std::string& value) {
  const Setting& s = kSettings[setting];
  switch (s.kind) {
    case SettingKind::kMac: {
      std::string message;
      return ReadMacCell(value, message) ? "" : message;
    }
    case SettingKind::kVersion: return "";
    case SettingKind::kText: {
      std::string shown = s.secret ? "the value" : Quoted(value);
      // The request carries the text up to its first zero byte.
      if (value.find('\0') != std::string::npos) return shown + " holds a zero byte";
      if (value.size() > SettingWidth(s)) {
        return shown + " is longer than the camera keeps (" + std::to_string(SettingWidth(s)) + " bytes)";
      }
      return "";
    }
    case SettingKind::kAddress: {
      uint32_t ip = 0;
      if (!ReadDecimalIpv4(value, ip)) {
        return Quoted(value) + " is not four decimal numbers 0..255 without leading zeros, such as 192.168.1.10";
      }
      if (&s == FindSetting("mask") && !IsSubnetMask(ip)) {
        return Quoted(value) + " is not a subnet mask (its one bits do not run unbroken from the left)";
      }
      return "";
    }
    case SettingKind::kPort: {
      uint64_t port = 0;
      if (!ReadDecimal(value, 0, 65535, port)) {
        return Quoted(value) + " is not a decimal port from 1 to 65535 without leading zeros";  // as set says
      }
      return "";
    }
    case SettingKind::kMode: {
      IpAssignMode mode;
      return ModeFromName(value, mode) ? "" : Quoted(value) + " is none of static, dhcp, pppoe";
    }
  }
  return "";
}

bool ReadPlan(const std::string& text, Plan& plan, std::vector<PlanProblem>& problems) {
  plan.rows.clear();
  const std::size_t before = problems.size();
  std::string body = text.compare(0, 3, kUtf8Bom) == 0 ? text.substr(3) : text;
  std::vector<RawRow> raws;
  std::size_t first = body.find_first_not_of(" \t\r\n");
  plan.dialect = first != std::string::npos && body[first] == '{' ? PlanDialect::kJsonLines : PlanDialect::kCsv;
  if (plan.dialect == PlanDialect::kJsonLines) ReadJsonLines(body, raws, problems);
  else ReadCsv(body, raws, problems);
  CheckRows(raws, plan, problems);
  return problems.size() == before;
}

}  // namespace lumora::provisioning
