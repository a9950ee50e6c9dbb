// The record of datagrams received on the camera sockets, as the --log file
// and the control channel's log-* commands show it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace camsim {

struct LogEntry {
  uint16_t localPort;
  uint8_t senderIp[4];
  uint16_t senderPort;
  std::vector<uint8_t> bytes;
};

// Entries are kept only up to a bound on their number and their bytes, so a
// long flood aimed at camsim cannot exhaust memory; `count` goes on counting.
inline constexpr std::size_t kMaxLogEntries = 100000;
inline constexpr std::size_t kMaxLogBytes = 64u * 1024 * 1024;

struct DatagramLog {
  std::vector<LogEntry> entries;
  uint64_t count = 0;
  std::size_t storedBytes = 0;
};

void AddLogEntry(DatagramLog& log, LogEntry entry);
void ClearLog(DatagramLog& log);

// "<local-port> <sender-ip>:<sender-port> <length> <hex>", no newline.
std::string FormatFileLine(const LogEntry& entry);

// "<local-port> <sender-port> <length> <hex>". The hex stops after
// `maxHexBytes` bytes and ends in "..." then, so the line fits a datagram.
std::string FormatControlLine(const LogEntry& entry, std::size_t maxHexBytes);

}  // namespace camsim
