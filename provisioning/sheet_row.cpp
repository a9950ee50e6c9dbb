// The sheet's rows, over the settings table.
#include "provisioning/sheet_row.h"

#include "protocol/ip_assign.h"
#include "protocol/settings.h"
#include "provisioning/sheet_text.h"

namespace lumora::provisioning {
namespace {

bool Written(const Setting& setting, bool withPassword) { return !setting.secret || withPassword; }

}  // namespace

std::vector<std::string> SheetTitles(bool withPassword) {
  std::vector<std::string> titles;
  for (const Setting& setting : kSettings) {
    if (Written(setting, withPassword)) titles.push_back(setting.key);
  }
  titles.insert(titles.end(), {"interface", "source", "warnings"});
  return titles;
}

std::vector<std::string> SheetCells(const SheetCamera& camera, bool withPassword, const CellText& cellText) {
  const DeviceRecord& record = *camera.record;
  std::vector<std::string> cells;
  for (const Setting& setting : kSettings) {
    if (!Written(setting, withPassword)) continue;
    switch (setting.kind) {
      case SettingKind::kMac: cells.push_back(ColonMac(record.mac)); break;
      case SettingKind::kText:
      case SettingKind::kVersion: cells.push_back(SheetSafe(cellText(setting.shown(record)))); break;
      // Read any other way, an unedited sheet applied would switch the mode.
      case SettingKind::kMode:
        cells.push_back(camera.carriesIpAssign ? ModeName(CheckedMode(record.ipAssign)) : "");
        break;
      case SettingKind::kAddress:
      case SettingKind::kPort: cells.push_back(setting.shown(record)); break;
    }
  }
  std::string warnings;
  for (const std::string& warning : camera.warnings) warnings += (warnings.empty() ? "" : ";") + warning;
  cells.insert(cells.end(), {SheetSafe(cellText(camera.interfaceName)), camera.source, warnings});
  return cells;
}

}  // namespace lumora::provisioning
