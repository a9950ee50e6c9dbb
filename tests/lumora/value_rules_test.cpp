// The value rules, one table run through both fronts that send a row: a plan
// row read and matched as apply does, and set's options checked and matched
// as set does. Each row is one rule; the message is the same in both, behind
// the column in a plan and behind the option in set.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "provisioning/match.h"
#include "provisioning/value_rules.h"
#include "tests/support/reply_builder.h"
#include "tools/lumora/camera_text.h"
#include "tools/lumora/set_row.h"

namespace lumora::cli {
namespace {

// "Büro-Eingang-Süd": 16 bytes in Windows-1252, as the camera keeps it, and
// 18 in UTF-8, as scan prints it and a plan or a terminal gives it back.
const char kHeldName[] = "B\xFCro-Eingang-S\xFC" "d";
const char kHeldNameUtf8[] = "B\xC3\xBCro-Eingang-S\xC3\xBC" "d";

// A camera at 10.77.0.11/24 with that name.
provisioning::FoundCamera HeldCamera() {
  test::CameraFields f;
  f.mac = {0x00, 0xAA, 0, 0, 0, 1};
  f.name = kHeldName;
  f.ip = {10, 77, 0, 11};
  f.gateway = {10, 77, 0, 1};
  f.ipAssign = {0xFF, 0xFF, 0xFF, 0xFF};  // static
  const test::ReplyBuilder reply = test::FullReply(f);
  provisioning::FoundCamera camera;
  EXPECT_TRUE(provisioning::DecodeCamera(reply.bytes().data(), reply.size(), camera));
  return camera;
}

struct Rule {
  const char* what;
  SettingId setting;
  std::string value;
  std::optional<std::string> mask;  // the row's mask beside it, if any
  std::string problem;              // "" when the row is good
  bool sent;                        // a good row: sent, or unchanged
};

const Rule kRules[] = {
    {"a contiguous mask", SettingId::kMask, "255.255.0.0", {}, "", true},
    {"a mask with a hole", SettingId::kMask, "255.0.255.0", {},
     "'255.0.255.0' is not a subnet mask (its one bits do not run unbroken from the left)", false},
    {"the mask of no network", SettingId::kMask, "0.0.0.0", {},
     "'0.0.0.0' leaves the camera no network: give a mask from 128.0.0.0 to 255.255.255.254", false},
    {"the mask of no host", SettingId::kMask, "255.255.255.255", {},
     "'255.255.255.255' leaves the camera no host: give a mask from 128.0.0.0 to 255.255.255.254", false},
    {"this network", SettingId::kIp, "0.1.2.3", {},
     "'0.1.2.3' is in 0.0.0.0/8 (this network), where no camera can be reached", false},
    {"loopback", SettingId::kIp, "127.0.0.5", std::string("255.255.255.0"),
     "'127.0.0.5' is in 127.0.0.0/8 (loopback), where no camera can be reached", false},
    {"multicast", SettingId::kIp, "224.0.0.1", {},
     "'224.0.0.1' is in 224.0.0.0/3 (multicast and reserved), where no camera can be reached", false},
    {"reserved", SettingId::kIp, "255.255.255.254", {},
     "'255.255.255.254' is in 224.0.0.0/3 (multicast and reserved), where no camera can be reached", false},
    {"the network address under the camera's mask", SettingId::kIp, "10.77.1.0", {},
     "10.77.1.0 is the network address of 10.77.1.0/24", false},
    {"a host under the row's wider mask", SettingId::kIp, "10.77.1.0", std::string("255.255.254.0"), "", true},
    {"the broadcast address under the row's mask", SettingId::kIp, "10.77.1.255", std::string("255.255.254.0"),
     "10.77.1.255 is the broadcast address of 10.77.0.0/23", false},
    {"the held name as printed (18 bytes)", SettingId::kName, kHeldNameUtf8, {}, "", false},
    {"the held name as held (16 bytes)", SettingId::kName, kHeldName, {}, "", false},
    {"another name of 16 characters in 18 bytes", SettingId::kName, "B\xC3\xBCro-Ausgang-S\xC3\xBC" "d", {},
     "'B\xC3\xBCro-Ausgang-S\xC3\xBC" "d' is longer than the camera keeps (16 bytes)", false},
    {"a name of 17 characters", SettingId::kName, "Seventeen-bytes-!", {},
     "'Seventeen-bytes-!' is longer than the camera keeps (16 bytes)", false},
    {"a port", SettingId::kHttpPort, "8080", {}, "", true},
    {"a port past 65535", SettingId::kHttpPort, "65536", {},
     "'65536' is not a decimal port from 1 to 65535 without leading zeros", false},
    {"a port with a leading zero", SettingId::kAudioPort, "080", {},
     "'080' is not a decimal port from 1 to 65535 without leading zeros", false},
};

// What the front said: its first problem, and whether the row is sent.
struct Outcome {
  std::string problem;
  bool sent = false;
};

Outcome Matched(const provisioning::Plan& plan, const provisioning::TextReading& reading,
                const std::function<std::string(const provisioning::PlanProblem&)>& text) {
  std::vector<provisioning::PlanProblem> conflicts;
  const provisioning::Step step = provisioning::MatchPlan(plan, {HeldCamera()}, conflicts, reading).front();
  if (!conflicts.empty()) return {text(conflicts.front()), false};
  return {"", step.status == provisioning::StepStatus::kSend};
}

Outcome ThroughPlanRow(const Rule& rule) {
  std::string header = "mac," + std::string(SettingOf(rule.setting).key), cells = "00:AA:00:00:00:01," + rule.value;
  if (rule.mask) header += ",mask", cells += "," + *rule.mask;
  provisioning::Plan plan;
  std::vector<provisioning::PlanProblem> problems;
  auto text = [](const provisioning::PlanProblem& p) { return p.column + ": " + p.message; };
  if (!provisioning::ReadPlan(header + "\n" + cells + "\n", plan, problems)) return {text(problems.front()), false};
  return Matched(plan, PrintedText({}, plan.dialect), text);
}

Outcome ThroughSet(const Rule& rule) {
  provisioning::PlanRow row;
  row[rule.setting] = rule.value;
  if (rule.mask) row[SettingId::kMask] = *rule.mask;
  std::string problem = CheckSetRow(row);
  if (!problem.empty()) return {problem, false};
  const SetPlan set = SetPlanFor("00AA00000001", row, {});
  return Matched(set.plan, set.reading, SetConflictText);
}

TEST(ValueRules, APlanRowAndSetKeepOneSetOfRules) {
  for (const Rule& rule : kRules) {
    const Setting& setting = SettingOf(rule.setting);
    const bool ipAtFault = rule.setting == SettingId::kIp;  // the mask beside it is good
    const std::string column = ipAtFault || !rule.mask ? setting.key : "mask";
    const std::string option = ipAtFault || !rule.mask ? setting.option : "--mask";
    const Outcome plan = ThroughPlanRow(rule), set = ThroughSet(rule);
    EXPECT_EQ(plan.problem, rule.problem.empty() ? "" : column + ": " + rule.problem) << rule.what;
    EXPECT_EQ(set.problem, rule.problem.empty() ? "" : option + ": " + rule.problem) << rule.what;
    EXPECT_EQ(plan.sent, rule.sent) << rule.what;
    EXPECT_EQ(set.sent, rule.sent) << rule.what;
  }
}

}  // namespace
}  // namespace lumora::cli
