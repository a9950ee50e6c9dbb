// camsim: simulated network cameras for testing Lumora Search in a lab
// network namespace. Options are checked here; the loop is in simulator.cpp.
#include <cstdio>
#include <exception>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/common/host_guard.h"
#include "tools/camsim/options.h"
#include "tools/camsim/simulator.h"

namespace {

bool ReadWholeFile(const std::string& path, std::string& contents, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = "cannot open the file";
    return false;
  }
  std::ostringstream text;
  text << file.rdbuf();
  if (file.bad()) {
    error = "cannot read the file";
    return false;
  }
  contents = text.str();
  return true;
}

int Run(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  camsim::CamsimOptions options;
  std::string message;
  switch (camsim::ParseOptions(args, ReadWholeFile, options, message)) {
    case camsim::OptionsOutcome::kHelp:
      std::fputs(message.c_str(), stdout);
      return 0;
    case camsim::OptionsOutcome::kError:
      std::fputs(message.c_str(), stderr);
      return 2;
    case camsim::OptionsOutcome::kRun: break;
  }
  std::string why;
  if (!options.allowHostNetwork && !lumora::tools::InLabNamespace(why)) {
    std::fprintf(stderr, "camsim: %s\n", why.c_str());
    return 2;
  }
  return camsim::RunSimulator(options);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "camsim: %s\n", e.what());
  } catch (...) {
    std::fprintf(stderr, "camsim: unexpected failure\n");
  }
  return 1;
}
