// Table, JSON Lines and CSV lines. Texts from fixed-width fields go through
// FieldText, so a field that fills its width never runs into the next, then
// through CameraText, so every format carries the same characters: JSON
// escapes controls by its own rules; CSV, which has no escape for them, and
// the table, which goes to a terminal, show each one as "?" (CSV keeps line
// feeds inside its quotes).
#include "tools/lumora/output.h"

#include <cstdio>
#include <vector>

#include <nlohmann/json.hpp>

#include "protocol/field_text.h"
#include "protocol/mac_text.h"
#include "provisioning/sheet_text.h"
#include "tools/lumora/camera_text.h"
#include "tools/lumora/csv_line.h"

namespace lumora::cli {
namespace {

struct Row {
  std::vector<std::string> cells;
};

std::string Join(const std::vector<std::string>& items, const char* separator) {
  std::string out;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i != 0) out += separator;
    out += items[i];
  }
  return out;
}

// The information text's reading; "" when the reply carried no flags.
std::string ModeText(const Camera& camera) {
  return camera.carriesIpAssign ? ModeName(ReportedMode(camera.record.ipAssign)) : "";
}

std::string SourceText(const Camera& camera) {
  return AddressText(camera.arrival.sourceIp, camera.arrival.sourcePort);
}

// Column widths: the longest value each column can hold, so rows printed one
// by one still line up (a wider value pushes only its own row).
struct Column {
  const char* title;
  int width;
};
const Column kTableColumns[] = {
    {"MAC", 12}, {"NAME", 16}, {"IP", 15}, {"MASK", 15}, {"GATEWAY", 15}, {"HTTP", 5}, {"AUDIO", 5},
    {"MODE", 6}, {"VERSION", 16}, {"INTERFACE", 15}, {"SOURCE", 21}, {"WARNINGS", 0},
};

std::string TableLine(const std::vector<std::string>& cells) {
  std::string out;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    std::string cell = ControlsReplaced(cells[i], false);
    if (i + 1 < cells.size()) {
      std::size_t width = DisplayWidth(cell), column = static_cast<std::size_t>(kTableColumns[i].width);
      if (width < column) cell.append(column - width, ' ');
      cell += "  ";
    }
    out += cell;
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

std::vector<std::string> CsvTitles(const OutputOptions& options) {
  std::vector<std::string> titles = {"mac", "name", "version", "ip", "mask", "gateway", "http_port", "audio_port",
                                     "mode", "pppoe_account"};
  if (options.showSecrets) titles.push_back("pppoe_password");
  titles.insert(titles.end(), {"interface", "source", "warnings"});
  return titles;
}

}  // namespace

bool ParseFormat(const std::string& name, Format& out) {
  if (name == "table") out = Format::kTable;
  else if (name == "json") out = Format::kJson;
  else if (name == "csv") out = Format::kCsv;
  else return false;
  return true;
}

std::string AddressText(uint32_t ip, uint16_t port) {
  const uint8_t* b = reinterpret_cast<const uint8_t*>(&ip);
  char text[32];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u:%u", b[0], b[1], b[2], b[3], static_cast<unsigned>(port));
  return text;
}

std::string HeaderLine(const OutputOptions& options) {
  switch (options.format) {
    case Format::kJson: return "";
    case Format::kCsv: return Join(CsvTitles(options), ",");
    case Format::kTable: break;
  }
  std::vector<std::string> titles;
  for (const Column& column : kTableColumns) titles.push_back(column.title);
  return TableLine(titles);
}

std::string CameraLine(const Camera& camera, const std::vector<std::string>& warnings, const OutputOptions& options) {
  const DeviceRecord& r = camera.record;
  auto text = [&options](const auto& field) { return CameraText(FieldText(field), options.readCodePage); };
  const std::string interfaceName = CameraText(camera.arrival.interfaceName, options.readCodePage);
  std::string mac = MacToText(r.mac).text;
  std::string mode = ModeText(camera);
  if (options.format == Format::kJson) {
    nlohmann::ordered_json line;
    line["mac"] = mac;
    line["name"] = text(r.name);
    line["version"] = text(r.version);
    line["ip"] = FieldText(r.ipText);
    line["mask"] = FieldText(r.maskText);
    line["gateway"] = FieldText(r.gatewayText);
    line["http_port"] = r.httpPort;
    line["audio_port"] = r.audioPort;
    line["mode"] = mode.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(mode);
    line["pppoe_account"] = text(r.pppoeAccount);
    if (options.showSecrets) line["pppoe_password"] = text(r.pppoePassword);
    line["interface"] = interfaceName;
    line["source"] = SourceText(camera);
    line["warnings"] = warnings;
    return line.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
  }
  std::vector<std::string> cells;
  if (options.format == Format::kCsv) {
    // What a spreadsheet would rewrite is guarded (provisioning/sheet_text.h).
    using provisioning::SheetSafe;
    cells = {provisioning::ColonMac(r.mac), SheetSafe(text(r.name)), SheetSafe(text(r.version)),
             FieldText(r.ipText), FieldText(r.maskText), FieldText(r.gatewayText), std::to_string(r.httpPort),
             std::to_string(r.audioPort), mode, SheetSafe(text(r.pppoeAccount))};
    if (options.showSecrets) cells.push_back(SheetSafe(text(r.pppoePassword)));
    cells.insert(cells.end(), {interfaceName, SourceText(camera), Join(warnings, ";")});
    return CsvLine(cells);
  }
  cells = {mac, text(r.name), FieldText(r.ipText), FieldText(r.maskText), FieldText(r.gatewayText),
           std::to_string(r.httpPort), std::to_string(r.audioPort), mode.empty() ? "-" : mode,
           text(r.version), interfaceName, SourceText(camera), Join(warnings, ",")};
  return TableLine(cells);
}

}  // namespace lumora::cli
