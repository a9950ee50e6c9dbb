// lumora-find: the search from the command line. Runs the same worker and the
// same hand-over as the Windows program, sends one search request and lists
// every camera that answers within a few seconds.
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>

#include "protocol/decode_reply.h"
#include "protocol/field_text.h"
#include "protocol/mac_text.h"
#include "tools/common/host_guard.h"
#include "worker/queued_dialog_link.h"
#include "worker/worker.h"

namespace {

constexpr char kUsage[] =
    "usage: lumora-find [--seconds N] [--tool-port P] [--allow-host-network]\n"
    "\n"
    "Broadcasts one search request from UDP port 3566 to 255.255.255.255 at the\n"
    "tool port (default 4000), then lists every camera that answers within N\n"
    "seconds (default 3): number, name, IP address, MAC, ports and version.\n"
    "Numbers count down from 255 in the order the cameras first answered.\n"
    "\n"
    "It refuses to run in the machine's own network namespace unless\n"
    "--allow-host-network is given: run it inside a lab namespace.\n";

struct Options {
  int seconds = 3;
  unsigned toolPort = lumora::kDefaultToolPort;
  bool allowHostNetwork = false;
};

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    bool hasValue = i + 1 < argc;
    if (arg == "--seconds" && hasValue) {
      options.seconds = std::atoi(argv[++i]);
      if (options.seconds < 1 || options.seconds > 3600) return false;
    } else if (arg == "--tool-port" && hasValue) {
      long port = std::strtol(argv[++i], nullptr, 10);
      if (port < 1 || port > 65535) return false;
      options.toolPort = static_cast<unsigned>(port);
    } else if (arg == "--allow-host-network") {
      options.allowHostNetwork = true;
    } else {
      return false;
    }
  }
  return true;
}

// Prints each camera the first time it is stored, and errors as they come.
class ConsolePrinter final : public lumora::DialogEventSink {
 public:
  explicit ConsolePrinter(lumora::SearchState& state) : state_(state) {}

  void TakeDatagram(const uint8_t* data, int length) override {
    int slot = lumora::DecodeReply(&state_, data, length);
    if (slot == lumora::kNoSlot || printed_[slot]) return;
    printed_[slot] = true;
    ++found_;
    const lumora::DeviceRecord& r = state_.table.slots[slot];
    std::printf("%3d  %-16s  %-15s  %s  http %d  audio %d  %s\n", r.number, lumora::FieldText(r.name).c_str(),
                r.ipText, lumora::MacToText(r.mac).text, r.httpPort, r.audioPort,
                lumora::FieldText(r.version).c_str());
    std::fflush(stdout);
  }
  void ClearDevices() override {
    lumora::ZeroTable(state_.table);
    std::memset(printed_, 0, sizeof printed_);
    found_ = 0;
  }
  void ShowToolPort(unsigned) override {}
  void ShowStatus(const char* text) override {
    if (std::strncmp(text, "ERR", 3) == 0) std::fprintf(stderr, "%s", text);
  }

  int found() const { return found_; }

 private:
  lumora::SearchState& state_;
  bool printed_[lumora::kTableSlots] = {};
  int found_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  std::string why;
  if (!options.allowHostNetwork && !lumora::tools::InLabNamespace(why)) {
    std::fprintf(stderr, "lumora-find: %s\n", why.c_str());
    return 2;
  }

  std::mutex mutex;
  std::condition_variable wake;
  bool pending = false;
  lumora::QueuedDialogLink link([&] {
    {
      std::lock_guard<std::mutex> lock(mutex);
      pending = true;
    }
    wake.notify_one();
    return true;
  });
  link.SetToolPortEdit(options.toolPort);

  static lumora::SearchState state;
  lumora::WorkerContext ctx;
  if (!lumora::OpenWorkerContext(ctx, &state, &link)) return 1;
  state.pendingRequest.store(lumora::kRequestSearch);
  std::thread worker([&] { lumora::RunWorker(ctx); });

  ConsolePrinter printer(state);
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(options.seconds);
  while (std::chrono::steady_clock::now() < deadline && state.stopFlag.load() == 0) {
    {
      std::unique_lock<std::mutex> lock(mutex);
      wake.wait_until(lock, deadline, [&] { return pending; });
      pending = false;
    }
    link.Drain(printer);
  }
  lumora::RequestStop(ctx);
  worker.join();
  link.Drain(printer);
  lumora::CloseWorkerContext(ctx);
  std::printf("%d camera%s found\n", printer.found(), printer.found() == 1 ? "" : "s");
  return state.stopFlag.load() != 0 && printer.found() == 0 ? 1 : 0;
}
