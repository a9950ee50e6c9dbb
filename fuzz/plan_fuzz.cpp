// Fuzz entry for the site plan: random plan text (CSV or JSON Lines) and a
// random site through the plan reader and the match. Whatever the match
// would let apply send must leave every other host where it is, and a plan
// must survive being written and read again.
//
// Input: the first kSiteBytes bytes draw the site, the rest is the plan.
//   byte 0       number of cameras (0..6)
//   bytes 1..6   a camera each: bits 0-1 its MAC's last byte - 1 (so MACs
//                repeat), bits 2-4 its host, bit 5 whether it says its
//                mode, bits 6-7 the mode it says
//   byte 7       a PC address: bits 0-2 its host, bit 3 present
//   byte 8       a PC gateway, the same
//   bytes 9, 10  an address in use: bits 0-2 its host, bits 3-4 whose MAC
//                (1..3: a camera's, 0: a host that is no camera), bit 5 present
// Every host is on 10.1.1.0/24, where the seed plans put their cameras.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "protocol/ipv4.h"
#include "provisioning/match.h"
#include "provisioning/plan.h"
#include "provisioning/plan_writer.h"
#include "provisioning/sheet_text.h"
#include "provisioning/site_facts.h"

namespace {

using namespace lumora;
using namespace lumora::provisioning;

constexpr std::size_t kSiteBytes = 11;
constexpr int kHosts[8] = {1, 10, 11, 20, 30, 64, 254, 255};

uint32_t Host(uint8_t bits) { return NetOrder(0x0A010100u | static_cast<uint32_t>(kHosts[bits & 7])); }

MacAddress Mac(uint8_t last) { return MacAddress{{0x00, 0x11, 0x22, 0x33, 0x44, last}}; }

void Fail(const char* what) {
  std::fprintf(stderr, "plan fuzz: %s\n", what);
  std::abort();
}

FoundCamera CameraOf(uint8_t b) {
  static const uint8_t kFlags[4][4] = {
      {0xFF, 0xFF, 0xFF, 0xFF}, {0xFF, 0xFF, 0x01, 0xFF}, {0x01, 0xFF, 0xFF, 0xFF}, {0xFF, 0xFF, 0x01, 0x01}};
  FoundCamera camera;
  DeviceRecord& r = camera.record;
  const MacAddress mac = Mac(static_cast<uint8_t>(1 + (b & 3)));
  std::copy(mac.bytes.begin(), mac.bytes.end(), r.mac);
  std::snprintf(r.name, sizeof r.name, "A");
  std::snprintf(r.ipText, sizeof r.ipText, "%s", Ipv4Text(Host(static_cast<uint8_t>(b >> 2))).c_str());
  std::snprintf(r.maskText, sizeof r.maskText, "255.255.255.0");
  std::snprintf(r.gatewayText, sizeof r.gatewayText, "10.1.1.1");
  r.httpPort = 80;
  r.audioPort = 8000;
  camera.carriesIpAssign = (b & 0x20) != 0;
  if (camera.carriesIpAssign) std::copy(kFlags[b >> 6], kFlags[b >> 6] + 4, r.ipAssign);
  camera.arrival.index = 2;
  camera.arrival.name = "eth0";
  return camera;
}

void ReadSite(const uint8_t* d, std::vector<FoundCamera>& cameras, SiteFacts& site) {
  for (int i = 0; i < d[0] % 7; ++i) cameras.push_back(CameraOf(d[1 + i]));
  if (d[7] & 8) site.pcAddresses.push_back(Host(d[7]));
  if (d[8] & 8) site.pcGateways.push_back(Host(d[8]));
  for (int i = 9; i <= 10; ++i) {
    const uint8_t owner = (d[i] >> 3) & 3;
    if (d[i] & 0x20) site.inUse.push_back({Host(d[i]), owner == 0 ? MacAddress{{0x00, 0xAA, 0, 0, 0, 1}} : Mac(owner)});
  }
}

uint32_t AddressOf(const std::string& text) {
  uint32_t ip = 0;
  ReadDecimalIpv4(text, ip);
  return ip;
}

bool Contains(const std::vector<uint32_t>& list, uint32_t ip) { return std::find(list.begin(), list.end(), ip) != list.end(); }

// The plan writer's sheet as the CSV that lumora plan prints.
std::string CsvOf(const Plan& plan) {
  std::string text;
  for (const auto& cells : PlanSheet(plan)) {
    for (std::size_t c = 0; c < cells.size(); ++c) text += (c ? "," : "") + CsvQuoted(cells[c]);
    text += "\n";
  }
  return text;
}

void CheckRoundTrips(const Plan& plan) {
  for (const PlanRow& row : plan.rows) {
    for (const auto& value : row.values) {
      if (value && SheetUnescape(SheetSafe(*value)) != *value) Fail("a guarded text does not read back as itself");
    }
  }
  Plan back;
  std::vector<PlanProblem> problems;
  if (!ReadPlan(CsvOf(plan), back, problems) && !plan.rows.empty()) Fail("a written plan does not read");
  if (back.rows.size() != plan.rows.size()) Fail("a written plan reads back with other rows");
  for (std::size_t i = 0; i < plan.rows.size(); ++i) {
    if (back.rows[i].mac != plan.rows[i].mac || back.rows[i].values != plan.rows[i].values) {
      Fail("a written plan reads back with other values");
    }
  }
}

// Where a camera at `ip` is found with the MAC that answered there.
bool IsListedAt(const std::vector<FoundCamera>& cameras, const AddressInUse& entry) {
  return std::any_of(cameras.begin(), cameras.end(), [&](const FoundCamera& c) {
    return MacOf(c.record.mac) == entry.mac && AddressOf(c.record.ipText) == entry.ip;
  });
}

// What apply would send, when the match finds no conflict.
void CheckSends(const Plan& plan, const std::vector<Step>& steps, const std::vector<FoundCamera>& cameras,
                const SiteFacts& site) {
  constexpr std::size_t ipIndex = SettingIndex(SettingId::kIp);
  std::vector<uint32_t> targets, gateways;
  std::vector<bool> moved(cameras.size(), false);
  for (const PlanRow& row : plan.rows) {
    if (row[SettingId::kGateway] && AddressOf(*row[SettingId::kGateway]) != 0) {
      gateways.push_back(AddressOf(*row[SettingId::kGateway]));
    }
  }
  for (const Step& step : steps) {
    if (step.status != StepStatus::kSend) {
      if (step.frame.cursor != 0) Fail("a step that is not sent has a request");
      continue;
    }
    const bool changesIp = std::any_of(step.changes.begin(), step.changes.end(),
                                       [](const SettingChange& c) { return c.setting == ipIndex; });
    if (!changesIp) continue;
    const PlanRow& row = plan.rows[step.row];
    const uint32_t ip = AddressOf(*row[SettingId::kIp]);
    const uint32_t mask = AddressOf(row[SettingId::kMask].value_or(cameras[*step.camera].record.maskText));
    if (Contains(targets, ip)) Fail("two sent steps go onto one address");
    if (Contains(site.pcAddresses, ip) || Contains(site.pcGateways, ip)) Fail("a camera goes onto the PC or its gateway");
    if (Contains(gateways, ip)) Fail("a camera goes onto a row's gateway");
    for (const AddressInUse& entry : site.inUse) {
      if (entry.ip == ip && !IsListedAt(cameras, entry)) Fail("a camera goes onto an address in use");
    }
    if (!SubnetEdgeProblem(ip, mask).empty()) Fail("a camera goes onto a network or broadcast address");
    targets.push_back(ip);
    moved[*step.camera] = true;
  }
  // A camera that no sent step moves (its row refused, unchanged, or none)
  // keeps its address, which no other camera may then take.
  for (std::size_t i = 0; i < cameras.size(); ++i) {
    if (!moved[i] && Contains(targets, AddressOf(cameras[i].record.ipText))) Fail("a camera goes onto a kept address");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size < kSiteBytes) return 0;
  std::vector<FoundCamera> cameras;
  SiteFacts site;
  ReadSite(data, cameras, site);
  const std::string text(reinterpret_cast<const char*>(data + kSiteBytes), size - kSiteBytes);
  if (SheetUnescape(SheetSafe(text)) != text) Fail("a guarded text does not read back as itself");
  Plan plan;
  std::vector<PlanProblem> problems, conflicts;
  ReadPlan(text, plan, problems);
  CheckRoundTrips(plan);
  const std::vector<Step> steps = MatchPlan(plan, cameras, conflicts, {}, site);
  if (steps.size() != plan.rows.size()) Fail("a row has no step");
  if (conflicts.empty()) CheckSends(plan, steps, cameras, site);
  return 0;
}
