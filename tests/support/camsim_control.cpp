// The control channel client, over the program's own socket layer so that it
// runs natively and under Wine alike.
#include "tests/support/camsim_control.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <thread>

namespace lumora::test {
namespace {

std::optional<net::Address> ParseAddress(const std::string& text) {
  unsigned a, b, c, d, port;
  char tail;
  if (std::sscanf(text.c_str(), "%u.%u.%u.%u:%u%c", &a, &b, &c, &d, &port, &tail) != 5) return {};
  if (a > 255 || b > 255 || c > 255 || d > 255 || port > 65535) return {};
  const uint8_t bytes[4] = {static_cast<uint8_t>(a), static_cast<uint8_t>(b), static_cast<uint8_t>(c),
                            static_cast<uint8_t>(d)};
  net::Address address{};
  std::memcpy(&address.ip, bytes, 4);
  address.port = static_cast<uint16_t>(port);
  return address;
}

int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

std::string ToHex(const std::vector<uint8_t>& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  for (uint8_t b : bytes) {
    out.push_back(kDigits[b >> 4]);
    out.push_back(kDigits[b & 15]);
  }
  return out;
}

std::vector<uint8_t> FromHex(const std::string& hex) {
  std::vector<uint8_t> out;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    out.push_back(static_cast<uint8_t>(std::strtoul(hex.substr(i, 2).c_str(), nullptr, 16)));
  }
  return out;
}

std::unique_ptr<CamsimControl> CamsimControl::FromEnvironment(const char* variable) {
  const char* where = std::getenv(variable);
  if (where == nullptr) return nullptr;
  std::optional<net::Address> control = ParseAddress(where);
  if (!control) return nullptr;
  net::Socket socket = net::OpenUdp();
  if (socket == net::kInvalidSocket) return nullptr;
  return std::make_unique<CamsimControl>(*control, socket);
}

std::unique_ptr<CamsimControl> CamsimControl::ForTest(const char* variable) {
  std::unique_ptr<CamsimControl> camsim = FromEnvironment(variable);
  if (!camsim || camsim->Command("ping") != "pong" || camsim->Command("log-clear") != "ok") return nullptr;
  return camsim;
}

CamsimControl::CamsimControl(net::Address control, net::Socket socket)
    : control_(control), socket_(socket) {
  net::WatchReadable(socket_, watch_);
}

CamsimControl::~CamsimControl() {
  net::CloseWatch(watch_);
  net::Close(socket_);
}

std::string CamsimControl::Command(const std::string& command) {
  static uint8_t answer[65536];
  for (int attempt = 0; attempt < 3; ++attempt) {
    net::SendTo(socket_, reinterpret_cast<const uint8_t*>(command.data()), static_cast<int>(command.size()),
                control_);
    int64_t deadline = NowMs() + 1000;
    while (NowMs() < deadline) {
      net::Address from{};
      int n = net::RecvFrom(socket_, answer, sizeof answer, from);
      if (n >= 0) return std::string(reinterpret_cast<char*>(answer), static_cast<std::size_t>(n));
      net::Wait(watch_, wake_, static_cast<int>(deadline - NowMs()));
    }
  }
  return "";
}

int CamsimControl::LogCount() { return std::atoi(Command("log-count").c_str()); }

std::optional<LoggedDatagram> CamsimControl::LogEntry(int index) {
  std::istringstream answer(Command("log-get " + std::to_string(index)));
  LoggedDatagram entry;
  int length = -1;
  std::string hex;
  if (!(answer >> entry.localPort >> entry.senderPort >> length)) return {};
  answer >> hex;
  entry.bytes = FromHex(hex);
  if (static_cast<int>(entry.bytes.size()) != length) return {};
  return entry;
}

bool CamsimControl::WaitForLogCount(int count, int limitMs) {
  int64_t deadline = NowMs() + limitMs;
  while (NowMs() < deadline) {
    if (LogCount() >= count) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return false;
}

bool CamsimControl::Send(int fromPort, const std::vector<uint8_t>& bytes) {
  return Command("send " + std::to_string(fromPort) + " " + ToHex(bytes)) == "ok";
}

bool CamsimControl::SendSize(int fromPort, int size) {
  return Command("send-size " + std::to_string(fromPort) + " " + std::to_string(size)) == "ok";
}

}  // namespace lumora::test
