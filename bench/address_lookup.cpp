// Looks addresses up on the wire and prints who answers on each, then the
// time the look-up took: the lab test's probe and the look-up figure.
//
//   address-lookup ADDRESS|FIRST..LAST ...
//
// One line per address: "IP in-use MAC ADAPTER" ("pc" in place of the MAC
// for the PC's own address), "IP free ADAPTER" or "IP not-looked-up"; then
// "looked up N addresses in T ms" on stderr. Run it inside a lab only.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "net/neighbour_lookup.h"
#include "protocol/ipv4.h"
#include "net/net_interfaces.h"

namespace {

using namespace lumora;

bool ReadAddresses(int argc, char** argv, std::vector<uint32_t>& out) {
  for (int i = 1; i < argc; ++i) {
    const std::string text = argv[i];
    const std::size_t dots = text.find("..");
    uint32_t first = 0, last = 0;
    if (!ReadDecimalIpv4(text.substr(0, dots), first)) return false;
    if (dots != std::string::npos && !ReadDecimalIpv4(text.substr(dots + 2), last)) return false;
    if (dots == std::string::npos) last = first;
    if (HostOrder(last) < HostOrder(first) || HostOrder(last) - HostOrder(first) >= 65536) return false;
    for (uint32_t k = 0; k <= HostOrder(last) - HostOrder(first); ++k) out.push_back(NetOrder(HostOrder(first) + k));
  }
  return !out.empty();
}

// As `ip link` writes it, so a script compares it as it stands.
std::string MacText(const net::HardwareAddress& mac) {
  char text[18];
  std::snprintf(text, sizeof text, "%02x:%02x:%02x:%02x:%02x:%02x", mac[0], mac[1], mac[2], mac[3], mac[4], mac[5]);
  return text;
}

std::string Line(const net::AddressLookup& a) {
  const std::string ip = Ipv4Text(a.ip);
  switch (a.use) {
    case net::AddressUse::kInUse:
      return ip + " in-use " + (a.pcAddress ? std::string("pc") : MacText(a.mac)) + " " + a.adapterName;
    case net::AddressUse::kFree: return ip + " free " + a.adapterName;
    case net::AddressUse::kNotLookedUp: break;
  }
  return ip + " not-looked-up";
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<uint32_t> asked;
  if (!ReadAddresses(argc, argv, asked)) {
    std::fprintf(stderr, "usage: address-lookup ADDRESS|FIRST..LAST ...\n");
    return 2;
  }
  const auto start = std::chrono::steady_clock::now();
  std::vector<Adapter> adapters;
  std::vector<net::AddressLookup> found;
  std::string error;
  if (!net::ListAdapters(adapters, error) || !net::LookUpAddresses(asked, adapters, found, error)) {
    std::fprintf(stderr, "address-lookup: %s\n", error.c_str());
    return 1;
  }
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  for (const net::AddressLookup& a : found) std::printf("%s\n", Line(a).c_str());
  std::fflush(stdout);
  std::fprintf(stderr, "looked up %zu addresses in %.0f ms\n", asked.size(), ms);
  return 0;
}
