// The range assignment: cameras in a stable order, keepers first, then the
// next free address of the range for each of the others; names by address.
#include "provisioning/assign.h"

#include <algorithm>
#include <map>
#include <set>

#include "protocol/decimal_text.h"
#include "protocol/ip_assign.h"
#include "protocol/ipv4.h"
#include "protocol/mac_text.h"
#include "provisioning/value_rules.h"

namespace lumora::provisioning {
namespace {

constexpr uint32_t kDefaultMask = 0xFFFFFF00;  // host order: 255.255.255.0

// `pattern` with {n} as `n` and {n:0W} as `n` zero-padded to W digits.
bool ExpandName(const std::string& pattern, std::size_t n, std::string& out, std::string& error) {
  out.clear();
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '{') {
      out += pattern[i];
      continue;
    }
    std::size_t close = pattern.find('}', i);
    std::string inside = close == std::string::npos ? "" : pattern.substr(i + 1, close - i - 1);
    std::string number = std::to_string(n);
    uint64_t width = 0;
    if (inside == "n") {
      out += number;
    } else if (inside.size() > 3 && inside.compare(0, 3, "n:0") == 0 && ReadDecimal(inside.substr(3), 1, 16, width)) {
      if (number.size() < static_cast<std::size_t>(width)) out.append(static_cast<std::size_t>(width) - number.size(), '0');
      out += number;
    } else {
      error = "the name pattern '" + pattern + "' has '" + pattern.substr(i, close == std::string::npos ? 1 : close - i + 1) +
              "', which is neither {n} nor {n:0W} (W from 1 to 16)";
      return false;
    }
    i = close;
  }
  return true;
}

std::string RangeText(uint32_t first, uint32_t last) { return Ipv4Text(first) + "-" + Ipv4Text(last); }

// The name of the camera on the range's `n`th address, within the 16 bytes a camera keeps.
bool CameraName(const std::string& pattern, std::size_t n, std::string& name, std::string& error) {
  if (!ExpandName(pattern, n, name, error)) return false;
  if (SentValueProblem(SettingId::kName, name).empty()) return true;
  error = "the name '" + name + "' (address " + std::to_string(n) +
          " of the range) is longer than the camera keeps (16 bytes)";
  return false;
}

}  // namespace

bool ParseIpRange(const std::string& text, uint32_t& first, uint32_t& last, std::string& error) {
  std::size_t dash = text.find('-');
  if (dash == std::string::npos) {
    error = "'" + text + "' is not a range FIRST-LAST, such as 10.1.1.10-10.1.1.60";
    return false;
  }
  uint32_t a = 0, b = 0;
  if (!ReadDecimalIpv4(text.substr(0, dash), a) || !ReadDecimalIpv4(text.substr(dash + 1), b)) {
    error = "'" + text + "': FIRST and LAST are each four decimal numbers 0..255 without leading zeros";
    return false;
  }
  for (uint32_t end : {a, b}) {
    std::string problem = TypedValueProblem(SettingId::kIp, Ipv4Text(end));
    if (!problem.empty()) {
      error = problem;
      return false;
    }
  }
  if (HostOrder(a) > HostOrder(b)) {
    error = "'" + text + "': FIRST comes after LAST";
    return false;
  }
  first = a;
  last = b;
  return true;
}

bool PlanAddresses(const std::vector<FoundCamera>& cameras, const AssignOptions& options, Plan& plan,
                   std::string& error) {
  plan.rows.clear();
  const uint32_t first = HostOrder(options.first), last = HostOrder(options.last);
  const uint32_t mask = options.mask ? HostOrder(*options.mask) : kDefaultMask;
  const std::string range = RangeText(options.first, options.last);
  if (first > last) {
    error = "the range " + range + " starts after it ends";
    return false;
  }
  if (std::string problem = TypedValueProblem(SettingId::kMask, Ipv4Text(NetOrder(mask))); !problem.empty()) {
    error = "the mask " + problem;
    return false;
  }
  if ((first & mask) != (last & mask)) {
    error = options.mask ? "the range " + range + " is not inside one subnet of the mask " + Ipv4Text(*options.mask)
                         : "the range " + range + " is not inside one /24: give the mask of the site's subnet";
    return false;
  }
  const std::string subnet = SubnetText(options.first, NetOrder(mask));
  // 0.0.0.0 is no gateway at all, which a camera may be given.
  const bool routed = options.gateway && *options.gateway != 0;
  if (routed && !InSubnet(*options.gateway, options.first, NetOrder(mask))) {
    error = "the gateway " + Ipv4Text(*options.gateway) + " is outside the range's subnet " + subnet;
    return false;
  }
  if (routed) {
    if (std::string edge = SubnetEdgeProblem(*options.gateway, NetOrder(mask)); !edge.empty()) {
      error = "the gateway " + edge;
      return false;
    }
  }
  IpAssignMode mode;
  if (options.mode && !ModeFromName(*options.mode, mode)) {
    error = "the mode '" + *options.mode + "' is none of static, dhcp, pppoe";
    return false;
  }
  std::string name;
  // Checked for the first camera before any is found, so that `plan` refuses
  // a pattern that is too long before it scans.
  if (!options.namePattern.empty() && !CameraName(options.namePattern, 1, name, error)) return false;

  // One entry per MAC, as it first answered; how many cameras hold each address.
  std::vector<std::size_t> order;
  std::map<MacAddress, std::size_t> firstOfMac;
  std::map<uint32_t, int> holders;
  std::vector<uint32_t> address(cameras.size());
  for (std::size_t i = 0; i < cameras.size(); ++i) {
    uint32_t ip = 0;
    ReadDecimalIpv4(cameras[i].record.ipText, ip);
    address[i] = HostOrder(ip);
    ++holders[address[i]];
    if (firstOfMac.emplace(MacOf(cameras[i].record.mac), i).second) order.push_back(i);
  }
  if (!options.answerOrder) {
    std::sort(order.begin(), order.end(), [&cameras](std::size_t a, std::size_t b) {
      return std::lexicographical_compare(cameras[a].record.mac, cameras[a].record.mac + 6, cameras[b].record.mac,
                                          cameras[b].record.mac + 6);
    });
  }
  auto usable = [&](uint32_t ip) {
    return ip >= first && ip <= last && SubnetEdgeProblem(NetOrder(ip), NetOrder(mask)).empty() &&
           !(routed && ip == HostOrder(*options.gateway)) && !IsPcAddressOrGateway(options.site, NetOrder(ip)) &&
           !ForeignHolder(options.site, cameras, NetOrder(ip));
  };
  // A camera that already has a usable address of its own keeps it, so
  // planning a planned site changes nothing.
  std::set<uint32_t> taken;
  std::vector<bool> keeps(cameras.size(), false);
  std::size_t keepers = 0;
  for (std::size_t i : order) {
    if (usable(address[i]) && holders[address[i]] == 1) {
      keeps[i] = true;
      taken.insert(address[i]);
      ++keepers;
    }
  }
  std::map<MacAddress, int> entriesOfMac;
  for (const FoundCamera& camera : cameras) ++entriesOfMac[MacOf(camera.record.mac)];
  for (std::size_t i = 0; i < cameras.size(); ++i) {
    if (entriesOfMac[MacOf(cameras[i].record.mac)] > 1) taken.insert(address[i]);
  }
  const std::size_t movers = order.size() - keepers;
  std::size_t moved = 0;
  uint64_t next = first;  // 64 bits: a range may end at 255.255.255.255
  for (std::size_t position = 0; position < order.size(); ++position) {
    std::size_t i = order[position];
    uint32_t ip = address[i];
    if (!keeps[i]) {
      while (next <= last && (!usable(static_cast<uint32_t>(next)) || taken.count(static_cast<uint32_t>(next)) != 0)) ++next;
      if (next > last) {
        error = "too few addresses: the range " + range + " has " + std::to_string(moved) + " free for the " +
                std::to_string(movers) + " cameras that need one (the network and broadcast addresses of " + subnet +
                ", the gateway, the PC's addresses and gateways, addresses in use and the addresses cameras keep are "
                "skipped)";
        plan.rows.clear();
        return false;
      }
      ip = static_cast<uint32_t>(next++);
      ++moved;
    }
    PlanRow row;
    row.line = static_cast<int>(position) + 2;
    row.mac = MacOf(cameras[i].record.mac);
    row[SettingId::kIp] = Ipv4Text(NetOrder(ip));
    if (options.mask) row[SettingId::kMask] = Ipv4Text(*options.mask);
    if (options.gateway) row[SettingId::kGateway] = Ipv4Text(*options.gateway);
    row[SettingId::kMode] = options.mode.value_or("static");
    if (!options.namePattern.empty()) {
      if (!CameraName(options.namePattern, ip - first + 1, name, error)) {
        plan.rows.clear();
        return false;
      }
      row[SettingId::kName] = name;
    }
    plan.rows.push_back(std::move(row));
  }
  return true;
}

}  // namespace lumora::provisioning
