// Matching a plan to the cameras a scan found: a scan's own output, in
// either format, changes nothing, and only what is sent moves a camera.
#include "provisioning/match.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "protocol/ipv4.h"
#include "provisioning/verify.h"
#include "tests/provisioning/site_text.h"
#include "tools/lumora/camera_text.h"
#include "tools/lumora/output.h"

namespace lumora::provisioning {
namespace {

using Flags = std::array<uint8_t, 4>;
constexpr Flags kStatic = {0xFF, 0xFF, 0xFF, 0xFF};

// Camera 00 11 22 33 44 `last` at `ip`/24, named `name`.
FoundCamera Cam(uint8_t last, const char* ip, const char* name = "A", Flags flags = kStatic, bool carries = true) {
  FoundCamera camera;
  DeviceRecord& r = camera.record;
  const uint8_t mac[6] = {0x00, 0x11, 0x22, 0x33, 0x44, last};
  std::copy(mac, mac + 6, r.mac);
  std::snprintf(r.name, sizeof r.name, "%s", name);
  std::snprintf(r.ipText, sizeof r.ipText, "%s", ip);
  std::snprintf(r.maskText, sizeof r.maskText, "255.255.255.0");
  std::snprintf(r.gatewayText, sizeof r.gatewayText, "10.1.1.1");
  r.httpPort = 80;
  r.audioPort = 8000;
  for (int i = 0; i < 4; ++i) r.ipAssign[i] = carries ? flags[i] : 0;
  camera.carriesIpAssign = carries;
  camera.arrival.index = 2;
  camera.arrival.name = "eth0";
  return camera;
}

FoundCamera WithPort(FoundCamera camera, int httpPort) {
  camera.record.httpPort = httpPort;
  return camera;
}

// What `lumora scan --format F` prints for `cameras`.
std::string ScanText(const std::vector<FoundCamera>& cameras, cli::Format format) {
  cli::OutputOptions options;
  options.format = format;
  options.showSecrets = true;
  std::string text = format == cli::Format::kCsv ? cli::HeaderLine(options) + "\n" : "";
  for (const FoundCamera& camera : cameras) text += cli::CameraLine(camera, {}, options) + "\n";
  return text;
}

TEST(MatchPlan, AScansOwnOutputAppliedAsItIsChangesNothing) {
  struct Row {
    const char* what;
    std::vector<FoundCamera> cameras;
  } rows[] = {
      {"static", {Cam(1, "10.1.1.10", "A", {0xFF, 0xFF, 0xFF, 0xFF})}},
      {"dhcp as set writes it", {Cam(1, "10.1.1.10", "A", {0xFF, 0xFF, 0x01, 0xFF})}},
      {"pppoe with one byte set", {Cam(1, "10.1.1.10", "A", {0x01, 0xFF, 0xFF, 0xFF})}},
      {"pppoe", {Cam(1, "10.1.1.10", "A", {0x01, 0x01, 0xFF, 0xFF})}},
      {"dhcp", {Cam(1, "10.1.1.10", "A", {0xFF, 0xFF, 0x01, 0x01})}},
      {"no IP-assignment field", {Cam(1, "10.1.1.10", "A", kStatic, false)}},
      {"a Windows-1252 name with a control", {Cam(1, "10.1.1.10", "Caf\xE9\x01")}},
      {"no port said", {WithPort(Cam(1, "10.1.1.10"), 0)}},
      {"unconfigured at 0.0.0.0", {Cam(1, "0.0.0.0")}},
      {"at its subnet's broadcast address", {Cam(1, "10.1.1.255")}},
      {"two at one factory address", {Cam(1, "192.168.1.64"), Cam(2, "192.168.1.64")}},
  };
  for (const Row& row : rows) {
    for (cli::Format format : {cli::Format::kCsv, cli::Format::kJson}) {
      SCOPED_TRACE(std::string(row.what) + (format == cli::Format::kCsv ? " (CSV)" : " (JSON)"));
      Plan plan;
      std::vector<PlanProblem> problems, conflicts;
      ASSERT_TRUE(ReadPlan(ScanText(row.cameras, format), plan, problems)) << ProblemText(problems.front());
      std::vector<Step> steps = MatchPlan(plan, row.cameras, conflicts, cli::PrintedText({}, plan.dialect));
      ASSERT_EQ(steps.size(), row.cameras.size());
      for (const Step& step : steps) EXPECT_EQ(step.status, StepStatus::kUnchanged) << step.reason;
      EXPECT_TRUE(conflicts.empty()) << ProblemText(conflicts.front());
      EXPECT_EQ(PlanMismatch(plan.rows[0], row.cameras[0], cli::PrintedText({}, plan.dialect)), "");
    }
  }
}

TEST(MatchPlan, OnlyWhatIsSentMovesACamera) {
  using S = StepStatus;
  struct Row {
    const char* what;
    std::vector<FoundCamera> cameras;
    const char* plan;  // after the header "mac,ip,mode,http_port,name,gateway"
    std::vector<StepStatus> statuses;
    std::vector<std::string> conflicts;  // the plan's problems, then its conflicts
    std::vector<std::string> site = {};  // besides the PC's 10.1.1.2, as SiteOf reads it
    std::vector<std::string> warnings = {};
  } rows[] = {
      {"a new name is sent", {Cam(1, "10.1.1.10")}, "001122334401,,,,B", {S::kSend}, {}},
      {"port 0 for a camera that has one", {Cam(1, "10.1.1.10")}, "001122334401,,,0,", {S::kRefused}, {}},
      {"a MAC heard twice keeps both addresses",
       {Cam(1, "10.1.1.10"), Cam(1, "10.1.1.11"), Cam(2, "10.1.1.20")},
       "001122334401,10.1.1.30,,,\n001122334402,10.1.1.11,,,",
       {S::kRefused, S::kSend},
       {"line 3, column ip: 10.1.1.11 is the address of camera 001122334401, which its row on line 2 leaves there"}},
      {"a row refused for its mode keeps its address",
       {Cam(1, "10.1.1.10", "A", kStatic, false), Cam(2, "10.1.1.20")},
       "001122334401,10.1.1.30,,,\n001122334402,10.1.1.10,,,",
       {S::kRefused, S::kSend},
       {"line 3, column ip: 10.1.1.10 is the address of camera 001122334401, which its row on line 2 leaves there"}},
      {"a camera that moves frees its address", {Cam(1, "10.1.1.10"), Cam(2, "10.1.1.20")},
       "001122334401,10.1.1.30,,,\n001122334402,10.1.1.10,,,", {S::kSend, S::kSend}, {}},
      {"an adapter's address", {Cam(1, "10.1.1.10")}, "001122334401,10.1.1.2,,,", {S::kSend},
       {"line 2, column ip: 10.1.1.2 is the address of an adapter of this PC"}},
      {"two rows onto one new address", {Cam(1, "10.1.1.10"), Cam(2, "10.1.1.20")},
       "001122334401,10.1.1.30,,,\n001122334402,10.1.1.30,,,", {S::kSend, S::kSend},
       {"line 3, column ip: 10.1.1.30 is also planned for camera 001122334401 on line 2"}},
      {"a sent address at the subnet's edge", {Cam(1, "10.1.1.10")}, "001122334401,10.1.1.255,,,", {S::kSend},
       {"line 2, column ip: 10.1.1.255 is the broadcast address of 10.1.1.0/24"}},
      {"no IP-assignment field: the mode goes with a change", {Cam(1, "10.1.1.10", "A", kStatic, false)},
       "001122334401,10.1.1.30,static,,", {S::kSend}, {}},
      {"and is no change by itself", {Cam(1, "10.1.1.30", "A", kStatic, false)}, "001122334401,10.1.1.30,static,,",
       {S::kUnchanged}, {}},
      {"a host that is no camera, beside a plan that does not read",
       {Cam(1, "10.1.1.10"), Cam(2, "10.1.1.20"), Cam(3, "10.1.1.30")},
       "001122334401,,,,B\n001122334402,10.1.1.40,,,\n001122334403,10.1.1.40,,,\n001122334404,10.1.1.300,,,",
       {S::kSend, S::kSend, S::kSend},
       {"line 5, column ip: '10.1.1.300' is not four decimal numbers 0..255 without leading zeros, such as 192.168.1.10",
        "line 3, column ip: 10.1.1.40 is in use by 00AA00000001, which is no listed camera",
        "line 4, column ip: 10.1.1.40 is in use by 00AA00000001, which is no listed camera",
        "line 4, column ip: 10.1.1.40 is also planned for camera 001122334402 on line 3"},
       {"10.1.1.40 00AA00000001", "10.1.1.10 001122334401"}},
      {"the PC's gateway and its other adapter", {Cam(1, "10.1.1.10"), Cam(2, "10.1.1.20")},
       "001122334401,10.1.1.1,,,\n001122334402,10.1.1.3,,,", {S::kSend, S::kSend},
       {"line 2, column ip: 10.1.1.1 is a default gateway of this PC",
        "line 3, column ip: 10.1.1.3 is the address of an adapter of this PC"},
       {"gateway 10.1.1.1", "pc 10.1.1.3"}},
      {"a gateway inside the final subnet, 0.0.0.0 for none, a warning for one left behind",
       {Cam(1, "10.1.1.10"), Cam(2, "10.1.1.20"), Cam(3, "10.1.1.30"), Cam(4, "10.1.1.40"), Cam(5, "10.1.1.50"),
        Cam(6, "10.1.1.60")},
       "001122334401,10.1.1.70,,,,10.1.2.1\n001122334402,,,,,10.1.1.0\n001122334403,,,,,0.0.0.0\n"
       "001122334404,,,,,10.1.1.254\n001122334405,10.1.1.254,,,\n001122334406,10.1.2.10,,,",
       {S::kSend, S::kSend, S::kSend, S::kSend, S::kSend, S::kSend},
       {"line 2, column gateway: 10.1.2.1 is outside the camera's subnet 10.1.1.0/24",
        "line 3, column gateway: 10.1.1.0 is the network address of 10.1.1.0/24",
        "line 6, column ip: 10.1.1.254 is the gateway the row on line 5 gives"},
       {}, {"its gateway 10.1.1.1 is outside its new subnet 10.1.2.0/24; give a gateway to reach beyond it"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Plan plan;
    std::vector<PlanProblem> problems, conflicts;
    ReadPlan(std::string("mac,ip,mode,http_port,name,gateway\n") + row.plan + "\n", plan, problems);
    std::vector<std::string> site = row.site;
    site.push_back("pc 10.1.1.2");
    std::vector<Step> steps = MatchPlan(plan, row.cameras, conflicts, {}, SiteOf(site));
    std::vector<StepStatus> statuses;
    std::vector<std::string> warnings;
    for (const Step& step : steps) {
      statuses.push_back(step.status);
      // Whatever is not sent must not be in a frame either.
      EXPECT_EQ(step.frame.cursor != 0, step.status == StepStatus::kSend);
      if (!step.warning.empty()) warnings.push_back(step.warning);
    }
    EXPECT_EQ(statuses, row.statuses);
    std::vector<std::string> texts;
    for (const PlanProblem& problem : problems) texts.push_back(ProblemText(problem));
    for (const PlanProblem& conflict : conflicts) texts.push_back(ProblemText(conflict));
    EXPECT_EQ(texts, row.conflicts);
    EXPECT_EQ(warnings, row.warnings);
  }
}

}  // namespace
}  // namespace lumora::provisioning
