// The report's three printings. A change's before is the
// camera's own bytes, read like every camera text (CameraText); its after is
// the plan's text, already UTF-8 or the camera's bytes where they read the same.
#include "tools/lumora/report_output.h"

#include <algorithm>

#include <nlohmann/json.hpp>

#include "protocol/settings.h"
#include "provisioning/sheet_text.h"
#include "tools/lumora/csv_line.h"

namespace lumora::cli {
namespace {

using provisioning::RowReport;
using provisioning::SettingChange;

constexpr char kHidden[] = "(hidden)";

// One side of a change as printed.
std::string ChangeValue(const SettingChange& change, const std::string& value, const ReportOptions& options) {
  if (kSettings[change.setting].secret && !options.showSecrets) return kHidden;
  return CameraText(value, options.readCodePage);
}

std::string JsonLine(const RowReport& report, const ReportOptions& options) {
  nlohmann::ordered_json line;
  line["mac"] = provisioning::MacDigits(report.mac);
  line["status"] = provisioning::StatusName(report.status);
  line["interface"] = report.interfaceName;
  line["changes"] = nlohmann::ordered_json::object();
  for (const SettingChange& change : report.changes) {
    line["changes"][kSettings[change.setting].key] = {{"before", ChangeValue(change, change.before, options)},
                                                      {"after", ChangeValue(change, change.after, options)}};
  }
  line["reason"] = CameraText(report.reason, options.readCodePage);
  return line.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

// Measured widths: the report is printed once every row is known.
std::vector<std::string> TableLines(const std::vector<std::vector<std::string>>& rows) {
  std::vector<std::size_t> widths(rows.front().size(), 0);
  for (const auto& cells : rows) {
    for (std::size_t i = 0; i < cells.size(); ++i) widths[i] = std::max(widths[i], DisplayWidth(cells[i]));
  }
  std::vector<std::string> lines;
  for (const auto& cells : rows) {
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
      line += cells[i];
      if (i + 1 < cells.size()) line.append(widths[i] - DisplayWidth(cells[i]) + 2, ' ');
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

}  // namespace

std::vector<std::string> ReportLines(const std::vector<RowReport>& reports, const ReportOptions& options) {
  std::vector<std::string> lines;
  if (options.format == Format::kJson) {
    for (const RowReport& report : reports) lines.push_back(JsonLine(report, options));
    return lines;
  }
  const provisioning::CellText cellText = [&options](const std::string& text) {
    return CameraText(text, options.readCodePage);
  };
  if (options.format == Format::kCsv) {
    lines.push_back(CsvLine(provisioning::ReportSheetTitles()));
    for (const RowReport& report : reports) {
      lines.push_back(CsvLine(provisioning::ReportSheetCells(report, options.showSecrets, cellText)));
    }
    return lines;
  }
  std::vector<std::vector<std::string>> rows = {{"MAC", "STATUS", "INTERFACE", "CHANGES", "REASON"}};
  for (const RowReport& report : reports) {
    std::vector<std::string> cells = {provisioning::MacDigits(report.mac), provisioning::StatusName(report.status), cellText(report.interfaceName),
                                      provisioning::ChangesText(report, options.showSecrets, cellText),
                                      cellText(report.reason)};
    for (std::string& cell : cells) cell = Utf8ControlsReplaced(cell, false);
    rows.push_back(cells);
  }
  return TableLines(rows);
}

}  // namespace lumora::cli
