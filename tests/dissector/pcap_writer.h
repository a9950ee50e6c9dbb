// Writes UDP/IPv4 datagrams into a pcap file (raw IPv4 link type), so that
// tshark can read datagrams that never touched a network.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lumora::test {

struct UdpDatagram {
  uint32_t source;       // IPv4 address, host order: 10.0.0.1 is 0x0A000001
  uint16_t sourcePort;
  uint32_t destination;
  uint16_t destinationPort;
  std::vector<uint8_t> payload;
};

// One packet per datagram, one second apart from a fixed time.
bool WritePcap(const std::string& path, const std::vector<UdpDatagram>& datagrams);

}  // namespace lumora::test
