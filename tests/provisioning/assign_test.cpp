// The range assignment.
#include "provisioning/assign.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "protocol/ipv4.h"
#include "provisioning/range_adapters.h"
#include "tests/provisioning/site_text.h"

namespace lumora::provisioning {
namespace {

// A camera by the last byte of its MAC (00 11 22 33 44 xx) and its address.
struct Cam {
  uint8_t last;
  const char* ip;
  bool saysDhcp = false;  // its reply says it takes DHCP; else it says no mode
};

uint32_t Ip(const char* text) {
  uint32_t ip = 0;
  EXPECT_TRUE(ReadDecimalIpv4(text, ip)) << text;
  return ip;
}

struct Case {
  const char* what;
  std::vector<Cam> cameras;  // in answer order
  const char* range;
  const char* mask;  // "" for none
  const char* gateway;
  const char* pattern;
  bool answerOrder;
  // Each row as "MAC ip name", or the start of the error.
  std::vector<std::string> rows;
  std::string error = "";
  std::vector<std::string> site = {};  // as SiteOf reads it
};

const Case kCases[] = {
    {"MAC order by default", {{2, "192.168.1.64"}, {1, "192.168.1.64"}}, "10.1.1.10-10.1.1.20", "", "", "", false,
     {"001122334401 10.1.1.10", "001122334402 10.1.1.11"}},
    {"answer order", {{2, "192.168.1.64"}, {1, "192.168.1.64"}}, "10.1.1.10-10.1.1.20", "", "", "", true,
     {"001122334402 10.1.1.10", "001122334401 10.1.1.11"}},
    {"the network address is skipped", {{1, "192.168.1.64"}}, "10.1.1.0-10.1.1.9", "", "", "", false,
     {"001122334401 10.1.1.1"}},
    {"the broadcast address is skipped: too few", {{1, "192.168.1.64"}, {2, "192.168.1.64"}},
     "10.1.1.254-10.1.1.255", "", "", "", false, {},
     "too few addresses: the range 10.1.1.254-10.1.1.255 has 1 free for the 2 cameras that need one"},
    {"a /16 has no edge inside the range", {{1, "192.168.1.64"}, {2, "192.168.1.64"}}, "10.1.1.255-10.1.2.0",
     "255.255.0.0", "", "", false, {"001122334401 10.1.1.255", "001122334402 10.1.2.0"}},
    {"a camera in range keeps its address, others skip it",
     {{1, "192.168.1.64"}, {2, "192.168.1.64"}, {3, "10.1.1.11"}}, "10.1.1.10-10.1.1.13", "", "", "", false,
     {"001122334401 10.1.1.10", "001122334402 10.1.1.12", "001122334403 10.1.1.11"}},
    {"an address two cameras hold is kept by neither", {{1, "10.1.1.10"}, {2, "10.1.1.10"}, {3, "10.1.1.12"}},
     "10.1.1.10-10.1.1.13", "", "", "", false,
     {"001122334401 10.1.1.10", "001122334402 10.1.1.11", "001122334403 10.1.1.12"}},
    {"a planned site is planned the same", {{2, "10.1.1.10"}, {1, "10.1.1.11"}}, "10.1.1.10-10.1.1.11", "", "", "",
     false, {"001122334401 10.1.1.11", "001122334402 10.1.1.10"}},
    {"a held address outside usable: the gateway is skipped", {{1, "192.168.1.64"}}, "10.1.1.1-10.1.1.9", "",
     "10.1.1.1", "", false, {"001122334401 10.1.1.2"}},
    {"a MAC that answers twice gets one row", {{1, "192.168.1.64"}, {1, "192.168.2.64"}}, "10.1.1.10-10.1.1.10", "",
     "", "", false, {"001122334401 10.1.1.10"}},
    {"every address of a MAC heard twice is kept", {{1, "10.1.1.10"}, {1, "10.1.1.11"}, {2, "192.168.1.64"}},
     "10.1.1.10-10.1.1.13", "", "", "", false, {"001122334401 10.1.1.10", "001122334402 10.1.1.12"}},
    {"the PC's address is skipped", {{1, "192.168.1.64"}}, "10.1.1.10-10.1.1.13", "", "", "", false,
     {"001122334401 10.1.1.11"}, "", {"pc 10.1.1.10"}},
    {"the PC's gateway and a host that is no camera are skipped; a camera on its own address keeps it",
     {{1, "192.168.1.64"}, {2, "10.1.1.12"}}, "10.1.1.10-10.1.1.14", "", "", "", false,
     {"001122334401 10.1.1.13", "001122334402 10.1.1.12"}, "",
     {"gateway 10.1.1.10", "10.1.1.11 00AA00000001", "10.1.1.12 001122334402"}},
    {"every camera gets a static address, whether or not it says its mode", {{1, "10.1.1.10", true}, {2, "192.168.1.64"}},
     "10.1.1.10-10.1.1.20", "", "", "", false, {"001122334401 10.1.1.10", "001122334402 10.1.1.11"}},
    {"names follow addresses: a new camera renames no other", {{1, "10.1.1.12"}, {2, "192.168.1.64"}},
     "10.1.1.10-10.1.1.20", "", "", "Cam-{n:02}", false, {"001122334401 10.1.1.12 Cam-03", "001122334402 10.1.1.10 Cam-01"}},
    {"a gateway on the subnet's edge", {{1, "192.168.1.64"}}, "10.1.1.10-10.1.1.20", "", "10.1.1.255", "", false, {},
     "the gateway 10.1.1.255 is the broadcast address of 10.1.1.0/24"},
    {"name pattern, padded", {{2, "192.168.1.64"}, {1, "192.168.1.64"}}, "10.1.1.10-10.1.1.20", "", "", "Cam-{n:03}",
     false, {"001122334401 10.1.1.10 Cam-001", "001122334402 10.1.1.11 Cam-002"}},
    {"a placeholder that is neither form", {{1, "192.168.1.64"}}, "10.1.1.10-10.1.1.20", "", "", "{n}-{n:2}x", false, {},
     "the name pattern '{n}-{n:2}x' has '{n:2}', which is neither {n} nor {n:0W}"},
    {"a name longer than 16 bytes", {{1, "192.168.1.64"}}, "10.1.1.10-10.1.1.20", "", "", "Entrance-North-{n:02}",
     false, {}, "the name 'Entrance-North-01' (address 1 of the range) is longer than the camera keeps (16 bytes)"},
    {"a name too long is refused before any camera is found", {}, "10.1.1.10-10.1.1.20", "", "", "Entrance-North-{n:02}",
     false, {}, "the name 'Entrance-North-01' (address 1 of the range) is longer than the camera keeps (16 bytes)"},
    {"16 bytes is fine", {{1, "192.168.1.64"}}, "10.1.1.10-10.1.1.20", "", "", "Entrance-North{n:02}", false,
     {"001122334401 10.1.1.10 Entrance-North01"}},
    {"gateway outside the subnet", {{1, "192.168.1.64"}}, "10.1.1.10-10.1.1.20", "", "10.1.2.1", "", false, {},
     "the gateway 10.1.2.1 is outside the range's subnet 10.1.1.0/24"},
    {"a range across /24s needs the mask", {{1, "192.168.1.64"}}, "10.1.1.10-10.1.2.20", "", "", "", false, {},
     "the range 10.1.1.10-10.1.2.20 is not inside one /24"},
};

TEST(PlanAddresses, GivesEachCameraTheNextFreeAddressOfTheRange) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    std::vector<FoundCamera> cameras;
    for (const Cam& cam : c.cameras) {
      FoundCamera camera;
      const uint8_t mac[6] = {0x00, 0x11, 0x22, 0x33, 0x44, cam.last};
      std::copy(mac, mac + 6, camera.record.mac);
      std::snprintf(camera.record.ipText, sizeof camera.record.ipText, "%s", cam.ip);
      if (cam.saysDhcp) {
        const uint8_t dhcp[4] = {0xFF, 0xFF, 0x01, 0xFF};
        std::copy(dhcp, dhcp + 4, camera.record.ipAssign);
        camera.carriesIpAssign = true;
      }
      cameras.push_back(camera);
    }
    AssignOptions options;
    std::string error;
    ASSERT_TRUE(ParseIpRange(c.range, options.first, options.last, error)) << error;
    if (*c.mask) options.mask = Ip(c.mask);
    if (*c.gateway) options.gateway = Ip(c.gateway);
    options.namePattern = c.pattern;
    options.answerOrder = c.answerOrder;
    options.site = SiteOf(c.site);
    Plan plan;
    bool ok = PlanAddresses(cameras, options, plan, error);
    EXPECT_EQ(ok, c.error.empty());
    EXPECT_EQ(error.substr(0, c.error.size()), c.error);
    std::vector<std::string> rows;
    for (const PlanRow& row : plan.rows) {
      std::string text = MacDigits(row.mac) + " " + *row[SettingId::kIp];
      if (row[SettingId::kName]) text += " " + *row[SettingId::kName];
      EXPECT_EQ(row[SettingId::kGateway].has_value(), *c.gateway != 0);
      EXPECT_EQ(row[SettingId::kMask].has_value(), *c.mask != 0);
      EXPECT_EQ(row[SettingId::kMode], "static");
      rows.push_back(text);
    }
    EXPECT_EQ(rows, c.rows);
  }
}

// The range's adapter: each listed camera by the adapter it answered on,
// "eth0" (10.77.0.1/24), "eth1" (10.78.0.1/16) or "" (not known).
struct AdapterCase {
  const char* what;
  std::vector<std::string> listed;
  const char* kept;  // the entry chosen before: nullptr none, "*" all, else the adapter
  std::vector<std::string> entries;
  std::size_t chosen;
  std::size_t taken;  // the cameras the chosen entry takes
};

const AdapterCase kAdapterCases[] = {
    {"the adapter with the most cameras", {"eth0", "eth1", "eth1", ""}, nullptr,
     {"All adapters (4 cameras)", "eth0 10.77.0.1/24 (1 cameras)", "eth1 10.78.0.1/16 (2 cameras)"}, 2, 2},
    {"a tie: the first listed", {"eth1", "eth0", "eth0", "eth1"}, nullptr,
     {"All adapters (4 cameras)", "eth1 10.78.0.1/16 (2 cameras)", "eth0 10.77.0.1/24 (2 cameras)"}, 1, 2},
    {"no camera", {}, nullptr, {"All adapters (0 cameras)"}, 0, 0},
    {"no adapter known", {"", ""}, nullptr, {"All adapters (2 cameras)"}, 0, 2},
    {"all adapters, kept", {"eth0", "eth1", "eth1"}, "*",
     {"All adapters (3 cameras)", "eth0 10.77.0.1/24 (1 cameras)", "eth1 10.78.0.1/16 (2 cameras)"}, 0, 3},
    {"an adapter kept", {"eth0", "eth1", "eth1"}, "eth0",
     {"All adapters (3 cameras)", "eth0 10.77.0.1/24 (1 cameras)", "eth1 10.78.0.1/16 (2 cameras)"}, 1, 1},
    {"an adapter kept with none left stays, taking none", {"eth1"}, "eth0",
     {"All adapters (1 cameras)", "eth1 10.78.0.1/16 (1 cameras)", "eth0 10.77.0.1/24 (0 cameras)"}, 2, 0},
};

Arrival ArrivalOn(const std::string& adapter) {
  Arrival arrival;
  if (adapter.empty()) return arrival;
  const bool first = adapter == "eth0";
  arrival.index = first ? 2 : 3;
  arrival.name = adapter;
  arrival.ip = Ip(first ? "10.77.0.1" : "10.78.0.1");
  arrival.mask = Ip(first ? "255.255.255.0" : "255.255.0.0");
  return arrival;
}

TEST(RangeAdapters, ListEachAdapterStartOnTheBusiestAndTakeItsCameras) {
  for (const AdapterCase& c : kAdapterCases) {
    SCOPED_TRACE(c.what);
    std::vector<Arrival> arrivals;
    std::vector<FoundCamera> cameras;
    for (const std::string& adapter : c.listed) {
      arrivals.push_back(ArrivalOn(adapter));
      cameras.push_back(FoundCamera{{}, false, arrivals.back()});
    }
    std::optional<RangeAdapter> kept;
    if (c.kept != nullptr && std::string(c.kept) == "*") kept = RangeAdapter{};
    if (c.kept != nullptr && std::string(c.kept) != "*") {
      const Arrival arrival = ArrivalOn(c.kept);
      kept = RangeAdapter{false, arrival.index, arrival.name, arrival.ip, arrival.mask, 5};
    }
    const std::vector<RangeAdapter> entries = RangeAdaptersOf(arrivals, kept);
    std::vector<std::string> texts;
    for (const RangeAdapter& entry : entries) texts.push_back(RangeAdapterText(entry));
    EXPECT_EQ(texts, c.entries);
    const std::size_t chosen = ChosenRangeAdapter(entries, kept);
    ASSERT_EQ(chosen, c.chosen);
    EXPECT_EQ(CamerasBehind(entries[chosen], cameras).size(), c.taken);
  }
}

}  // namespace
}  // namespace lumora::provisioning
