// Scanning for plan and apply.
#include "tools/lumora/site_scan.h"

#include <cstdio>

#include "protocol/settings.h"
#include "tools/lumora/printer.h"

namespace lumora::cli {

std::optional<int> ScanSite(Scanner& scanner, const ScanOptions& options) {
  std::string error;
  bool usageError = false;
  if (!scanner.Open(options, error, usageError)) {
    std::fprintf(stderr, "lumora: %s\n", error.c_str());
    return usageError ? 2 : 1;
  }
  scanner.Run([](const CameraList&, std::size_t) {});
  ReportIgnored(scanner.list());
  return std::nullopt;
}

std::vector<provisioning::FoundCamera> FoundCameras(const Scanner& scanner) {
  std::vector<provisioning::FoundCamera> found;
  for (const Camera& camera : scanner.list().cameras()) {
    provisioning::FoundCamera f;
    f.record = camera.record;
    f.carriesIpAssign = camera.carriesIpAssign;
    for (const net::Interface& i : scanner.interfaces()) {
      if (i.name == camera.arrival.interfaceName) f.adapter = i.index;
    }
    f.adapterName = camera.arrival.interfaceName;
    f.adapterIp = camera.arrival.interfaceIp;
    f.adapterMask = camera.arrival.interfaceMask;
    f.sourceIp = camera.arrival.sourceIp;
    f.sourcePort = camera.arrival.sourcePort;
    found.push_back(f);
  }
  return found;
}

void ReadTextsAsCameraBytes(provisioning::Plan& plan, const Scanner& scanner, const CodePageReader& readCodePage) {
  for (provisioning::PlanRow& row : plan.rows) {
    std::vector<std::size_t> found = scanner.list().FindMac(row.mac);
    if (found.size() != 1) continue;  // refused or not found: nothing is sent
    const DeviceRecord& record = scanner.list().cameras()[found.front()].record;
    for (std::size_t s = 0; s < kSettingCount; ++s) {
      std::optional<std::string>& value = row.values[s];
      if (!value || kSettings[s].kind != SettingKind::kText) continue;
      std::string bytes = kSettings[s].shown(record);
      // CSV shows a control character as "?": that cell too means "as it is".
      std::string printed = CameraText(bytes, readCodePage);
      if (*value == printed || *value == ControlsReplaced(printed, true)) value = bytes;
    }
  }
}

}  // namespace lumora::cli
