// The pcap format: a 24-byte file header, then per packet a 16-byte record
// header and the packet. Link type 101 (raw IP) spares an Ethernet header.
#include "tests/dissector/pcap_writer.h"

#include <fstream>

namespace lumora::test {
namespace {

constexpr uint32_t kLinkTypeRawIp = 101;
constexpr uint32_t kFirstSecond = 1796688000;  // a fixed time: the file never varies

void Put16Le(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32Le(std::vector<uint8_t>& out, uint32_t v) {
  Put16Le(out, static_cast<uint16_t>(v));
  Put16Le(out, static_cast<uint16_t>(v >> 16));
}
void Put16Be(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v >> 8));
  out.push_back(static_cast<uint8_t>(v));
}
void Put32Be(std::vector<uint8_t>& out, uint32_t v) {
  Put16Be(out, static_cast<uint16_t>(v >> 16));
  Put16Be(out, static_cast<uint16_t>(v));
}

uint16_t HeaderChecksum(const std::vector<uint8_t>& header) {
  uint32_t sum = 0;
  for (std::size_t i = 0; i + 1 < header.size(); i += 2) sum += static_cast<uint32_t>(header[i] << 8 | header[i + 1]);
  while (sum > 0xFFFF) sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<uint16_t>(~sum);
}

std::vector<uint8_t> IpPacket(const UdpDatagram& d) {
  const auto udpLength = static_cast<uint16_t>(8 + d.payload.size());
  std::vector<uint8_t> ip;
  ip.push_back(0x45);  // version 4, 5 words of header
  ip.push_back(0);
  Put16Be(ip, static_cast<uint16_t>(20 + udpLength));
  Put16Be(ip, 0);       // identification
  Put16Be(ip, 0x4000);  // don't fragment
  ip.push_back(64);     // time to live
  ip.push_back(17);     // UDP
  Put16Be(ip, 0);       // checksum, filled in below
  Put32Be(ip, d.source);
  Put32Be(ip, d.destination);
  const uint16_t checksum = HeaderChecksum(ip);
  ip[10] = static_cast<uint8_t>(checksum >> 8);
  ip[11] = static_cast<uint8_t>(checksum);
  Put16Be(ip, d.sourcePort);
  Put16Be(ip, d.destinationPort);
  Put16Be(ip, udpLength);
  Put16Be(ip, 0);  // no UDP checksum: allowed over IPv4
  ip.insert(ip.end(), d.payload.begin(), d.payload.end());
  return ip;
}

}  // namespace

bool WritePcap(const std::string& path, const std::vector<UdpDatagram>& datagrams) {
  std::vector<uint8_t> file;
  Put32Le(file, 0xA1B2C3D4);  // microsecond timestamps, written little-endian
  Put16Le(file, 2);
  Put16Le(file, 4);
  Put32Le(file, 0);  // time zone
  Put32Le(file, 0);  // timestamp accuracy
  Put32Le(file, 65535);
  Put32Le(file, kLinkTypeRawIp);
  uint32_t second = kFirstSecond;
  for (const UdpDatagram& d : datagrams) {
    const std::vector<uint8_t> packet = IpPacket(d);
    Put32Le(file, second++);
    Put32Le(file, 0);
    Put32Le(file, static_cast<uint32_t>(packet.size()));
    Put32Le(file, static_cast<uint32_t>(packet.size()));
    file.insert(file.end(), packet.begin(), packet.end());
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  return static_cast<bool>(out);
}

}  // namespace lumora::test
