// Matching a scan's own output to the cameras it came from: nothing to send,
// even where lumora's text differs from the camera's bytes or a camera did
// not say its port.
#include "provisioning/match.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace lumora::provisioning {
namespace {

FoundCamera Camera(const char* name, int httpPort) {
  FoundCamera camera;
  DeviceRecord& r = camera.record;
  const uint8_t mac[6] = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55};
  std::copy(mac, mac + 6, r.mac);
  std::snprintf(r.name, sizeof r.name, "%s", name);
  std::snprintf(r.ipText, sizeof r.ipText, "10.1.1.10");
  std::snprintf(r.maskText, sizeof r.maskText, "255.255.255.0");
  std::snprintf(r.gatewayText, sizeof r.gatewayText, "10.1.1.1");
  r.httpPort = httpPort;
  r.audioPort = 8000;
  for (uint8_t& flag : r.ipAssign) flag = 0xFF;
  camera.carriesIpAssign = true;
  return camera;
}

// Windows-1252 as lumora reads a field that is not UTF-8, for the one byte here.
std::string Cp1252(const std::string& bytes) {
  std::string out;
  for (char c : bytes) out += c == '\xE9' ? std::string("\xC3\xA9") : std::string(1, c);
  return out;
}

TEST(MatchPlan, AScansOwnRowIsUnchanged) {
  struct Row {
    const char* what;
    FoundCamera camera;
    const char* key;
    const char* value;
    StepStatus status;
  } rows[] = {
      {"a Windows-1252 name as lumora wrote it", Camera("Caf\xE9", 80), "name", "Caf\xC3\xA9", StepStatus::kUnchanged},
      {"a new name is still sent", Camera("Caf\xE9", 80), "name", "Cafe", StepStatus::kSend},
      {"port 0 on a camera that did not say its port", Camera("A", 0), "http_port", "0", StepStatus::kUnchanged},
      {"port 0 for a camera that has one", Camera("A", 80), "http_port", "0", StepStatus::kRefused},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Plan plan;
    plan.rows.push_back({2, "001122334455", {}});
    plan.rows[0].values[SettingIndex(row.key)] = row.value;
    std::vector<PlanProblem> conflicts;
    std::vector<Step> steps = MatchPlan(plan, {row.camera}, conflicts, Cp1252);
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].status, row.status) << steps[0].reason;
    EXPECT_TRUE(conflicts.empty());
    // Whatever is not sent must not be in a frame either.
    EXPECT_EQ(steps[0].frame.cursor != 0, row.status == StepStatus::kSend);
  }
}

}  // namespace
}  // namespace lumora::provisioning
