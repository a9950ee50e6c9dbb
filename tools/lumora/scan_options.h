// The options every command that scans shares (interfaces, port, timing,
// code page), and the guard that keeps a development build off the
// machine's own network.
#pragma once

#include <CLI/CLI.hpp>

#include <functional>
#include <string>

#include "tools/lumora/code_page.h"
#include "tools/lumora/scanner.h"

namespace lumora::cli {

struct ScanArgs {
  ScanOptions scan;
  std::string codePage;
  CodePageReader readCodePage;  // from codePage, once ReadCodePageOption has checked it
};

void AddScanOptions(CLI::App& command, ScanArgs& args);

// Opens the code page --codepage names; false, said on stderr, when it is
// not known.
bool ReadCodePageOption(ScanArgs& args);

// Asked after every value is checked and before any socket is opened: false,
// said on stderr, when the command must not scan from here.
using HostGuard = std::function<bool()>;
HostGuard MakeHostGuard(const bool& allowHostNetwork);

}  // namespace lumora::cli
