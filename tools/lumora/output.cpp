// Table, JSON Lines and CSV lines. Texts from fixed-width fields go through
// FieldText, so a field that fills its width never runs into the next, then
// through CameraText, so every format carries the same characters: JSON
// escapes controls by its own rules; CSV, which has no escape for them, and
// the table, which goes to a terminal, show each one as "?" (CSV keeps line
// feeds inside its quotes).
#include "tools/lumora/output.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <vector>

#include <nlohmann/json.hpp>

#include "protocol/ipv4.h"
#include "protocol/ip_assign.h"
#include "protocol/settings.h"
#include "provisioning/sheet_row.h"
#include "tools/lumora/camera_text.h"
#include "tools/lumora/csv_line.h"

namespace lumora::cli {
namespace {

std::string Join(const std::vector<std::string>& items, const char* separator) {
  std::string out;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i != 0) out += separator;
    out += items[i];
  }
  return out;
}

// A setting as every format prints it: camera texts read through the code
// page, addresses as their fields hold them, ports in decimal, the mode as
// a request would write it back ("" when the reply carried no flags): read
// any other way, a scan applied unchanged as a plan would switch the mode.
std::string SettingCell(const Setting& setting, const Camera& camera, const OutputOptions& options) {
  switch (setting.kind) {
    case SettingKind::kText:
    case SettingKind::kVersion: return CameraText(setting.shown(camera.record), options.readCodePage);
    case SettingKind::kMode: return camera.carriesIpAssign ? ModeName(CheckedMode(camera.record.ipAssign)) : "";
    case SettingKind::kMac:
    case SettingKind::kAddress:
    case SettingKind::kPort: break;
  }
  return setting.shown(camera.record);
}

// JSON and CSV carry every setting, in the table's order; a secret only on
// request.
bool Printed(const Setting& setting, const OutputOptions& options) { return !setting.secret || options.showSecrets; }

std::string SourceText(const Camera& camera) {
  return Ipv4PortText(camera.arrival.sourceIp, camera.arrival.sourcePort);
}

// Column widths: the longest value each column can hold, so rows printed one
// by one still line up (a wider value pushes only its own row).
struct Column {
  const char* title;
  std::size_t width;
};
const Column kArrivalColumns[] = {{"INTERFACE", 15}, {"SOURCE", 21}, {"WARNINGS", 0}};

// The settings the table shows, in its order.
const std::vector<const Setting*>& TableSettings() {
  static const std::vector<const Setting*> settings = [] {
    std::vector<const Setting*> out;
    for (const Setting& setting : kSettings) {
      if (setting.tableTitle != nullptr) out.push_back(&setting);
    }
    std::sort(out.begin(), out.end(), [](const Setting* a, const Setting* b) { return a->tableColumn < b->tableColumn; });
    return out;
  }();
  return settings;
}

const std::vector<Column>& TableColumns() {
  static const std::vector<Column> columns = [] {
    std::vector<Column> out;
    for (const Setting* setting : TableSettings()) out.push_back({setting->tableTitle, ShownWidth(*setting)});
    out.insert(out.end(), std::begin(kArrivalColumns), std::end(kArrivalColumns));
    return out;
  }();
  return columns;
}

std::string TableLine(const std::vector<std::string>& cells) {
  std::string out;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    std::string cell = Utf8ControlsReplaced(cells[i], false);
    if (i + 1 < cells.size()) {
      std::size_t width = DisplayWidth(cell), column = TableColumns()[i].width;
      if (width < column) cell.append(column - width, ' ');
      cell += "  ";
    }
    out += cell;
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

}  // namespace

bool ParseFormat(const std::string& name, Format& out) {
  if (name == "table") out = Format::kTable;
  else if (name == "json") out = Format::kJson;
  else if (name == "csv") out = Format::kCsv;
  else return false;
  return true;
}

std::string HeaderLine(const OutputOptions& options) {
  switch (options.format) {
    case Format::kJson: return "";
    case Format::kCsv: return Join(provisioning::SheetTitles(options.showSecrets), ",");
    case Format::kTable: break;
  }
  std::vector<std::string> titles;
  for (const Column& column : TableColumns()) titles.push_back(column.title);
  return TableLine(titles);
}

std::string CameraLine(const Camera& camera, const std::vector<std::string>& warnings, const OutputOptions& options) {
  const std::string interfaceName = CameraText(camera.arrival.name, options.readCodePage);
  if (options.format == Format::kJson) {
    nlohmann::ordered_json line;
    for (const Setting& setting : kSettings) {
      if (!Printed(setting, options)) continue;
      std::string cell = SettingCell(setting, camera, options);
      if (setting.number != nullptr) line[setting.key] = camera.record.*setting.number;
      else if (setting.kind == SettingKind::kMode && cell.empty()) line[setting.key] = nullptr;
      else line[setting.key] = cell;
    }
    line["interface"] = interfaceName;
    line["source"] = SourceText(camera);
    line["warnings"] = warnings;
    return line.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
  }
  if (options.format == Format::kCsv) {
    provisioning::SheetCamera sheet{&camera.record, camera.carriesIpAssign, interfaceName, SourceText(camera), warnings};
    // CsvLine shows the controls; the cells are already this reading's.
    return CsvLine(provisioning::SheetCells(sheet, options.showSecrets, [&options](const std::string& text) {
      return CameraText(text, options.readCodePage);
    }));
  }
  std::vector<std::string> cells;
  for (const Setting* setting : TableSettings()) {
    std::string cell = SettingCell(*setting, camera, options);
    cells.push_back(setting->kind == SettingKind::kMode && cell.empty() ? "-" : cell);
  }
  cells.insert(cells.end(), {interfaceName, SourceText(camera), Join(warnings, ",")});
  return TableLine(cells);
}

}  // namespace lumora::cli
