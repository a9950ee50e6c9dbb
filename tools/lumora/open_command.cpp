// `lumora open`: a camera's web page in the browser, found by a scan.
#include "tools/lumora/open_command.h"

#include <cstdio>

#include "protocol/field_text.h"
#include "protocol/web_address.h"
#include "provisioning/value_rules.h"
#include "tools/lumora/camera_scan.h"
#include "tools/lumora/platform.h"

namespace lumora::cli {
namespace {

constexpr char kOpenFooter[] = R"(
Finds the camera by a scan and opens http://IP/index.html (or
http://IP:PORT/index.html when its HTTP port is not 80) in the browser.
Exit status: 0 done, 1 not found or the browser could not be started, 2 on a
usage error.

Examples:
  lumora open 001A2B3C4D01
  lumora open 001A2B3C4D01 --print)";

}  // namespace

std::optional<std::string> ReadMacArgument(const std::string& text) {
  std::optional<std::string> mac = provisioning::ReadMacDigits(text);
  if (!mac) std::fprintf(stderr, "lumora: MAC: '%s' is not 12 hexadecimal digits\n", text.c_str());
  return mac;
}

void AddOpenCommand(CLI::App& parent, OpenCommand& c) {
  c.app = parent.add_subcommand("open", "open a camera's web page");
  c.app->footer(kOpenFooter);
  c.app->add_option("MAC", c.mac, "the camera's MAC, 12 hexadecimal digits")->required();
  AddScanOptions(*c.app, c.scanArgs);
  c.app->add_flag("--print", c.printOnly, "only print the address");
}

ExitCode RunOpenCommand(OpenCommand& c, const HostGuard& guard) {
  if (!ReadCodePageOption(c.scanArgs)) return ExitCode::kUsage;
  std::optional<std::string> mac = ReadMacArgument(c.mac);
  if (!mac || !guard()) return ExitCode::kUsage;
  Scanner scanner;
  std::size_t index = 0;
  if (auto code = FindCamera(scanner, c.scanArgs.scan, *mac, index)) return *code;
  const DeviceRecord& record = scanner.list().cameras()[index].record;
  std::string url = DeviceWebAddress(FieldText(record.ipText).c_str(), record.httpPort);
  std::printf("%s\n", url.c_str());
  std::fflush(stdout);
  if (c.printOnly) return ExitCode::kDone;
  std::string error;
  if (!OpenInBrowser(url, error)) {
    std::fprintf(stderr, "lumora: %s\n", error.c_str());
    return ExitCode::kNotDone;
  }
  return ExitCode::kDone;
}

}  // namespace lumora::cli
