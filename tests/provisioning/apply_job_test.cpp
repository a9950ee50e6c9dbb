// The apply job against simulated cameras on a simulated clock: what it
// sends, when it searches, and how each row ends.
#include "provisioning/apply_job.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "protocol/mac_text.h"

namespace lumora::provisioning {
namespace {

using std::chrono::milliseconds;

struct SimCamera {
  int ignores = 0;          // requests it drops before it keeps one
  std::set<int> silentIn;   // the searches (from 1) it does not answer
  int twinFrom = 0;         // from this search on, its MAC answers from a second address too
  bool kept = false;
  std::set<int> oldIn{};    // the searches it still shows its old values in, kept or not
  bool oldThenNew = false;  // each search hears its old values first, then what it has
  bool secondAdapter = false;  // each search hears it at its address through a second adapter first
  bool noAdapter = false;   // the scan it was matched to did not say its adapter
};

FoundCamera Heard(std::size_t i, bool kept, int ipLast) {
  FoundCamera camera;
  DeviceRecord& r = camera.record;
  const uint8_t mac[6] = {0x00, 0x11, 0x22, 0x33, 0x44, static_cast<uint8_t>(i + 1)};
  std::copy(mac, mac + 6, r.mac);
  std::snprintf(r.name, sizeof r.name, "%s", kept ? "B" : "A");
  std::snprintf(r.ipText, sizeof r.ipText, "10.1.1.%d", ipLast);
  std::snprintf(r.maskText, sizeof r.maskText, "255.255.255.0");
  for (uint8_t& flag : r.ipAssign) flag = 0xFF;
  camera.carriesIpAssign = true;
  camera.arrival.index = 2;
  camera.arrival.name = "eth1";
  camera.arrival.sourcePort = 4000;
  return camera;
}

struct Row {
  const char* what;
  std::vector<SimCamera> cameras;
  int resends;
  int verifyMs;
  std::string trace;                  // S<step>@ms for a request, R@ms for a search
  std::vector<std::string> statuses;  // "status: reason"
  int stopAfterSends = 0;             // 0: never
  int tickUs = 0;                     // the driver's timer: a wait ends on its next tick (0: exact)
  int lastSendNearMs = 0;             // in place of the trace: the last request's time, within a tick
  int failReceiveIn = 0;              // the search in which the socket fails for good; 0: never
};

TEST(ApplyJob, SendsVerifiesResendsAndGivesUpAsTheCamerasAnswer) {
  const Row rows[] = {
      {"send and pace", {{}, {}}, 3, 30000, "S0@0 S1@2 R@2", {"changed: ", "changed: "}},
      {"resend when a search shows old values", {{1, {}}}, 3, 30000, "S0@0 R@0 S0@2 R@1000", {"changed: "}},
      {"wait through silence", {{0, {1, 2}}}, 3, 30000, "S0@0 R@0 R@1000 R@2000", {"changed: "}},
      {"give up at the deadline", {{0, {1, 2, 3, 4}}}, 3, 2500, "S0@0 R@0 R@1000 R@2000",
       {"not-verified: it did not answer in time"}},
      {"resends run out, the deadline holds", {{9, {}}}, 1, 2500, "S0@0 R@0 S0@2 R@1000 R@2000",
       {"not-verified: name is 'A', not 'B'"}},
      {"old values kept until the deadline", {{0, {}, 0, false, {1, 2, 3, 4, 5}}}, 1, 30000,
       "S0@0 R@0 S0@2 R@1000 R@2000 R@3000 R@4000 R@5000", {"changed: "}},
      {"old values, then new ones, in one search", {{0, {}, 0, false, {}, true}}, 0, 0, "S0@0 R@0", {"changed: "}},
      {"a reply heard twice through two adapters", {{1, {}, 0, false, {}, false, true}}, 3, 30000,
       "S0@0 R@0 S0@2 R@1000", {"changed: "}},
      {"an unknown arrival adapter refused", {{0, {}, 0, false, {}, false, false, true}, {}}, 3, 30000, "S1@0 R@0",
       {"refused: the camera's reply came in on no known interface", "changed: "}},
      {"a receive error ends the job", {{}, {}}, 3, 30000, "S0@0 S1@2 R@2",
       {"not-verified: receiving failed (code 10050)", "not-verified: receiving failed (code 10050)"}, 0, 0, 0, 1},
      {"refuse a resend once the MAC answers twice", {{1, {}, 1}}, 3, 30000, "S0@0 R@0",
       {"refused: it answers from 10.1.1.10 and 10.1.1.99; one request would reach all of them"}},
      {"stop when asked", {{}, {}}, 3, 30000, "S0@0",
       {"not-verified: it was not verified before the job was stopped", "not-verified: it was not sent"}, 1},
      {"keep the pace on Windows' default 15.6 ms timer", std::vector<SimCamera>(250), 3, 30000, "",
       std::vector<std::string>(250, "changed: "), 0, 15600, 500},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    std::vector<SimCamera> cameras = row.cameras;
    std::vector<FoundCamera> found;
    Plan plan;
    for (std::size_t i = 0; i < cameras.size(); ++i) {
      found.push_back(Heard(i, false, static_cast<int>(10 + i)));
      if (cameras[i].noAdapter) found.back().arrival = {};
      PlanRow planRow;
      planRow.mac = MacOf(found.back().record.mac);
      planRow[SettingId::kName] = "B";
      plan.rows.push_back(planRow);
    }
    std::vector<PlanProblem> conflicts;
    const std::vector<Step> steps = MatchPlan(plan, found, conflicts);
    JobSettings settings;
    settings.resends = row.resends;
    settings.verifyFor = milliseconds(row.verifyMs);
    ApplyJob job(plan, steps, found, settings, {});
    const auto unknown = std::count_if(cameras.begin(), cameras.end(), [](const SimCamera& c) { return c.noAdapter; });
    ASSERT_EQ(job.toVerify(), cameras.size() - static_cast<std::size_t>(unknown));

    JobTime now{};
    std::string trace;
    int searches = 0, sends = 0;
    double lastSendMs = 0;
    const std::chrono::microseconds tick(row.tickUs);
    auto at = [&now] { return "@" + std::to_string(std::chrono::duration_cast<milliseconds>(now - JobTime{}).count()); };
    for (int turn = 0; turn < 1000 && !job.done(); ++turn) {
      JobAction action = job.Next(now);
      if (action.kind == JobActionKind::kWait) {
        ASSERT_GT(action.until, now);
        now = action.until;
        if (row.tickUs != 0) now = JobTime{} + (now - JobTime{} + tick - JobDuration(1)) / tick * tick;
      } else if (action.kind == JobActionKind::kSend) {
        trace += (trace.empty() ? "S" : " S") + std::to_string(action.step) + at();
        lastSendMs = std::chrono::duration<double, std::milli>(now - JobTime{}).count();
        EXPECT_EQ(action.to->arrival.sourcePort, 4000);
        EXPECT_EQ(action.to->arrival.index, 2u);
        SimCamera& camera = cameras[action.step];
        if (camera.ignores > 0) --camera.ignores;
        else camera.kept = true;
        job.Sent(action.step, true, "");
        if (++sends == row.stopAfterSends) job.Stop();
      } else if (action.kind == JobActionKind::kSearch) {
        ++searches;
        trace += " R" + at();
        if (searches == row.failReceiveIn) {
          job.ReceiveFailed("receiving failed (code 10050)");
          continue;
        }
        for (std::size_t i = 0; i < cameras.size(); ++i) {
          const SimCamera& c = cameras[i];
          if (c.silentIn.count(searches) != 0) continue;
          const int ip = static_cast<int>(10 + i);
          if (c.oldThenNew) job.Reply(Heard(i, false, ip));
          if (c.secondAdapter) {
            FoundCamera twice = Heard(i, c.kept, ip);
            twice.arrival.index = 3;
            twice.arrival.name = "eth2";
            job.Reply(twice);
          }
          job.Reply(Heard(i, c.kept && c.oldIn.count(searches) == 0, ip));
          if (cameras[i].twinFrom != 0 && searches >= cameras[i].twinFrom) job.Reply(Heard(i, false, 99));
        }
      }
    }
    EXPECT_TRUE(job.done());
    if (row.lastSendNearMs == 0) EXPECT_EQ(trace, row.trace);
    else EXPECT_NEAR(lastSendMs, row.lastSendNearMs, row.tickUs / 1000.0);
    std::vector<std::string> statuses;
    for (const RowReport& report : job.reports()) statuses.push_back(StatusName(report.status) + std::string(": ") + report.reason);
    EXPECT_EQ(statuses, row.statuses);
  }
}

}  // namespace
}  // namespace lumora::provisioning
