// Planning around the hosts that answer on the range.
#include "tools/lumora/site_lookup.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>

#include "net/neighbour_lookup.h"
#include "protocol/ipv4.h"
#include "provisioning/sheet_text.h"
#include "net/net_interfaces.h"

namespace lumora::cli {
namespace {

// Each round reserves every foreign host among the addresses it newly
// asked after, so a range settles in a round or two; past this many the
// range is too crowded to plan without guessing.
constexpr int kMostRounds = 16;

bool IsListedCamera(const std::vector<provisioning::FoundCamera>& cameras, const net::HardwareAddress& mac) {
  return std::any_of(cameras.begin(), cameras.end(), [&mac](const provisioning::FoundCamera& camera) {
    return std::memcmp(camera.record.mac, mac.data(), mac.size()) == 0;
  });
}

// The addresses of `plan` not yet asked after; in the first round also the
// head of the range, twice as long as the plan needs and at most 512, so
// that a host found there moves cameras onto addresses already asked after
// rather than costing another round.
std::vector<uint32_t> NewAddresses(const provisioning::Plan& plan, const provisioning::AssignOptions& options,
                                   std::set<uint32_t>& asked) {
  constexpr std::size_t ipIndex = SettingIndex(SettingId::kIp);
  std::vector<uint32_t> fresh;
  if (asked.empty()) {
    const uint32_t size = HostOrder(options.last) - HostOrder(options.first);
    const uint32_t head = std::min<uint32_t>({size, static_cast<uint32_t>(2 * plan.rows.size() + 16), 512});
    for (uint32_t k = 0; k <= head; ++k) {
      const uint32_t ip = NetOrder(HostOrder(options.first) + k);
      if (asked.insert(ip).second) fresh.push_back(ip);
    }
  }
  for (const provisioning::PlanRow& row : plan.rows) {
    uint32_t ip = 0;
    if (row.values[ipIndex] && ReadDecimalIpv4(*row.values[ipIndex], ip) && asked.insert(ip).second) {
      fresh.push_back(ip);
    }
  }
  return fresh;
}

// Reserves each foreign host among `found`, and notes what was not looked up.
void ReserveForeignHosts(const std::vector<net::AddressLookup>& found,
                         const std::vector<provisioning::FoundCamera>& cameras, provisioning::AssignOptions& options,
                         std::set<uint32_t>& notLookedUp) {
  for (const net::AddressLookup& a : found) {
    if (a.use == net::AddressUse::kNotLookedUp) notLookedUp.insert(a.ip);
    if (a.use != net::AddressUse::kInUse || a.pcAddress || IsListedCamera(cameras, a.mac)) continue;
    std::fprintf(stderr, "lumora: %s is in use by %s (on %s), which is no camera found; skipped\n",
                 Ipv4Text(a.ip).c_str(), provisioning::ColonMac(a.mac.data()).c_str(), a.adapterName.c_str());
    options.site.inUse.push_back({a.ip, provisioning::MacOf(a.mac.data())});
  }
}

// Neither free nor in use: the operator learns that nothing checked them.
void SayNotLookedUp(const provisioning::Plan& plan, const std::set<uint32_t>& notLookedUp,
                    const std::vector<std::size_t>& rows) {
  constexpr std::size_t ipIndex = SettingIndex(SettingId::kIp);
  std::string list;
  for (std::size_t r : rows) {
    const provisioning::PlanRow& row = plan.rows[r];
    uint32_t ip = 0;
    if (!row.values[ipIndex] || !ReadDecimalIpv4(*row.values[ipIndex], ip) || notLookedUp.count(ip) == 0) continue;
    list += (list.empty() ? "" : ", ") + *row.values[ipIndex];
  }
  if (!list.empty()) std::fprintf(stderr, "lumora: not looked up, on no network of this PC's interfaces: %s\n", list.c_str());
}

}  // namespace

bool PlanAroundHostsInUse(const std::vector<provisioning::FoundCamera>& cameras,
                          provisioning::AssignOptions& options, provisioning::Plan& plan, std::string& error) {
  // Every adapter's network, whichever the scan searched.
  std::vector<Adapter> adapters;
  if (!net::ListAdapters(adapters, error)) return false;
  std::set<uint32_t> asked, notLookedUp;
  for (int round = 0; round < kMostRounds; ++round) {
    if (!provisioning::PlanAddresses(cameras, options, plan, error)) return false;
    const std::vector<uint32_t> fresh = NewAddresses(plan, options, asked);
    if (fresh.empty()) {
      std::vector<std::size_t> rows(plan.rows.size());
      for (std::size_t r = 0; r < rows.size(); ++r) rows[r] = r;
      SayNotLookedUp(plan, notLookedUp, rows);
      return true;
    }
    std::vector<net::AddressLookup> found;
    if (!net::LookUpAddresses(fresh, adapters, found, error)) return false;
    ReserveForeignHosts(found, cameras, options, notLookedUp);
  }
  error = "the range holds too many hosts that are no camera to plan around; give another --ip-range";
  return false;
}

bool LookUpSentAddresses(const provisioning::Plan& plan, const std::vector<provisioning::Step>& steps,
                         const std::vector<provisioning::FoundCamera>& cameras, provisioning::SiteFacts& site,
                         std::string& error) {
  constexpr std::size_t ipIndex = SettingIndex(SettingId::kIp);
  std::vector<uint32_t> asked;
  std::vector<std::size_t> rows;
  for (const provisioning::Step& step : steps) {
    const bool moves = step.status == provisioning::StepStatus::kSend &&
                       std::any_of(step.changes.begin(), step.changes.end(),
                                   [](const provisioning::SettingChange& c) { return c.setting == ipIndex; });
    uint32_t ip = 0;
    const auto& cell = plan.rows[step.row].values[ipIndex];
    if (!moves || !cell || !ReadDecimalIpv4(*cell, ip)) continue;
    asked.push_back(ip);
    rows.push_back(step.row);
  }
  if (asked.empty()) return true;
  std::vector<Adapter> adapters;
  if (!net::ListAdapters(adapters, error)) return false;
  std::vector<net::AddressLookup> found;
  if (!net::LookUpAddresses(asked, adapters, found, error)) return false;
  std::set<uint32_t> notLookedUp;
  for (const net::AddressLookup& a : found) {
    if (a.use == net::AddressUse::kNotLookedUp) notLookedUp.insert(a.ip);
    if (a.use != net::AddressUse::kInUse || a.pcAddress || IsListedCamera(cameras, a.mac)) continue;
    site.inUse.push_back({a.ip, provisioning::MacOf(a.mac.data())});
  }
  SayNotLookedUp(plan, notLookedUp, rows);
  return true;
}

}  // namespace lumora::cli
