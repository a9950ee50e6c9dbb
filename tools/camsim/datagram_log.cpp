#include "tools/camsim/datagram_log.h"

#include <cstring>
#include <utility>

#include "protocol/ipv4.h"
#include "tools/camsim/hex.h"

namespace camsim {

void AddLogEntry(DatagramLog& log, LogEntry entry) {
  ++log.count;
  if (log.entries.size() >= kMaxLogEntries) return;
  if (entry.bytes.size() > kMaxLogBytes - log.storedBytes) return;
  log.storedBytes += entry.bytes.size();
  log.entries.push_back(std::move(entry));
}

void ClearLog(DatagramLog& log) {
  log.entries.clear();
  log.entries.shrink_to_fit();
  log.count = 0;
  log.storedBytes = 0;
}

std::string FormatFileLine(const LogEntry& entry) {
  uint32_t ip;
  std::memcpy(&ip, entry.senderIp, 4);
  return std::to_string(entry.localPort) + " " + lumora::Ipv4PortText(ip, entry.senderPort) +
         " " + std::to_string(entry.bytes.size()) + " " +
         ToHex(entry.bytes.data(), entry.bytes.size());
}

std::string FormatControlLine(const LogEntry& entry, std::size_t maxHexBytes) {
  bool cut = entry.bytes.size() > maxHexBytes;
  std::string line = std::to_string(entry.localPort) + " " + std::to_string(entry.senderPort) +
                     " " + std::to_string(entry.bytes.size()) + " " +
                     ToHex(entry.bytes.data(), cut ? maxHexBytes : entry.bytes.size());
  if (cut) line += "...";
  return line;
}

}  // namespace camsim
