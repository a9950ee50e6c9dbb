// The shared scan options and the host guard.
#include "tools/lumora/scan_options.h"

#include <cstdio>

#include "tools/common/host_guard.h"
#include "tools/lumora/option_checks.h"

namespace lumora::cli {
namespace {

#ifdef _WIN32
constexpr char kCodePageHelp[] =
    "read camera texts that are not UTF-8 in this code page number (936, 932, ...; default: the system's)";
#else
constexpr char kCodePageHelp[] =
    "read camera texts that are not UTF-8 in this iconv code page (GBK, SHIFT_JIS, ...; default: WINDOWS-1252)";
#endif

// The ranges are said in the descriptions; CLI11's own note would repeat them.
template <typename Value>
void AddChecked(CLI::App& command, const char* name, Value& value, const char* description, const char* typeName,
                const CLI::Validator& check) {
  command.add_option(name, value, description)->type_name(typeName)->check(check);
}

}  // namespace

void AddScanOptions(CLI::App& command, ScanArgs& args) {
  command.add_option("--interface", args.scan.interfaces, "search only on this interface (repeatable)")
      ->type_name("NAME")
      ->allow_extra_args(false);
  AddChecked(command, "--port", args.scan.port, "the cameras' UDP tool port, 1..65535 (default 4000)", "N",
             WholeNumber(1, 65535));
  AddChecked(command, "--wait", args.scan.waitSeconds, "end S seconds after the last new camera or search (default 1)",
             "S", DecimalSeconds(0.0, 3600.0));
  AddChecked(command, "--timeout", args.scan.timeoutSeconds, "end after S seconds in any case (default 10)", "S",
             DecimalSeconds(0.1, 3600.0));
  AddChecked(command, "--repeat", args.scan.repeat, "search N times, 50 to 250 ms apart, 1..100 (default 3)", "N",
             WholeNumber(1, 100));
  command.add_option("--codepage", args.codePage, kCodePageHelp)->type_name("CP");
}

bool ReadCodePageOption(ScanArgs& args) {
  std::string error;
  if (OpenCodePage(args.codePage, args.readCodePage, error)) return true;
  std::fprintf(stderr, "lumora: %s\n", error.c_str());
  return false;
}

HostGuard MakeHostGuard(const bool& allowHostNetwork) {
  return [&allowHostNetwork] {
    std::string why;
    if (allowHostNetwork || lumora::tools::InLabNamespace(why)) return true;
    std::fprintf(stderr, "lumora: %s; --allow-host-network overrides this on a real network\n", why.c_str());
    return false;
  };
}

}  // namespace lumora::cli
