// Scanning for set, open, plan and apply.
#include "tools/lumora/site_scan.h"

#include <cstdio>

#include "tools/lumora/printer.h"

namespace lumora::cli {

std::optional<int> OpenScanner(Scanner& scanner, const ScanOptions& options) {
  std::string error;
  bool usageError = false;
  if (scanner.Open(options, error, usageError)) return std::nullopt;
  std::fprintf(stderr, "lumora: %s\n", error.c_str());
  return usageError ? 2 : 1;
}

std::optional<int> ScanOnce(Scanner& scanner, const ScanOptions& options) {
  if (auto code = OpenScanner(scanner, options)) return code;
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
    f.adapter = camera.arrival.adapterIndex;
    f.adapterName = camera.arrival.adapterName;
    f.adapterIp = camera.arrival.adapterIp;
    f.adapterMask = camera.arrival.adapterMask;
    f.sourceIp = camera.arrival.sourceIp;
    f.sourcePort = camera.arrival.sourcePort;
    found.push_back(f);
  }
  return found;
}

std::vector<uint32_t> AdapterAddresses(const Scanner& scanner) {
  std::vector<uint32_t> addresses;
  for (const Adapter& adapter : scanner.adapters()) {
    for (const AdapterSubnet& subnet : adapter.subnets) addresses.push_back(subnet.ip);
  }
  return addresses;
}

}  // namespace lumora::cli
