// Reading and checking a site plan. Both dialects first become the same raw
// rows (column key and cell text), which one set of checks then reads, so a
// CSV row and a JSON line with the same values give the same plan.
#include "provisioning/plan.h"

#include <map>
#include <set>
#include <string_view>

#include <nlohmann/json.hpp>

#include "provisioning/csv_reader.h"
#include "provisioning/sheet_text.h"
#include "provisioning/value_rules.h"

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

// As many cameras as lumora scan lists. Past it a plan is refused rather
// than read on: each row costs far more than its bytes, and a file of
// millions of short lines would otherwise hold gigabytes and as many problems.
constexpr std::size_t kMaxRows = 65536;

constexpr std::size_t kMaxJsonLineBytes = 65536;

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
    problems.push_back({header.line, "", "the header has more than " + std::to_string(kMaxCsvCells) +
                                             " columns (a plan has at most " + std::to_string(kMaxCsvCells) + ")"});
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
    rows.clear();  // refused as a whole, as a JSON plan is
    return false;
  }
  if (record.overLong) {
    problems.push_back({record.line, "", "has more than " + std::to_string(kMaxCsvCells) + " cells (a plan has at most " +
                                             std::to_string(kMaxCsvCells) + " columns)"});
    return true;
  }
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
    if (setting == SettingIndex(SettingId::kMac)) row.mac = cell;
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
  if (int line = ReadCsvRecords(text, DetectSeparator(text), take)) {
    // A quote left open swallowed the rest of the plan into one cell: what
    // was read before it says nothing, so the open quote is the problem.
    rows.resize(rowsBefore);
    problems.resize(problemsBefore);
    problems.push_back({line, "", "a quoted cell is not closed before the end of the plan"});
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
      if (column == static_cast<int>(SettingIndex(SettingId::kMac))) row.mac = cell;
      else row.values[static_cast<std::size_t>(column)] = cell;
    }
    rows.push_back(std::move(row));
  }
}

// The checks of one row, then of the rows together.
void CheckRows(const std::vector<RawRow>& raws, Plan& plan, std::vector<PlanProblem>& problems) {
  std::map<MacAddress, int> macLines;
  for (const RawRow& raw : raws) {
    PlanRow row;
    row.line = raw.line;
    bool good = true;
    std::string message;
    std::optional<MacAddress> mac;
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
      std::string problem = ValueProblem(kSettings[s].id, *raw.values[s]);
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
        problems.push_back({raw.line, "mac", MacDigits(*mac) + " is also on line " + std::to_string(seen.first->second)});
        good = false;
      }
    }
    if (good) plan.rows.push_back(std::move(row));
  }
}

}  // namespace

std::string ProblemText(const PlanProblem& problem) {
  std::string out = "line " + std::to_string(problem.line);
  if (!problem.column.empty()) out += ", column " + problem.column;
  return out + ": " + problem.message;
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
