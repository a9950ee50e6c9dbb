// The search before Apply on a simulated clock: how many searches it
// makes, when it ends, and whom it keeps.
#include "provisioning/site_search.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace lumora::provisioning {
namespace {

using std::chrono::milliseconds;

struct Heard {
  int atMs;
  int mac;  // last byte
  int ip;   // last byte
};

FoundCamera CameraOf(const Heard& heard) {
  FoundCamera camera;
  camera.record.mac[5] = static_cast<uint8_t>(heard.mac);
  std::snprintf(camera.record.ipText, sizeof camera.record.ipText, "10.1.1.%d", heard.ip);
  return camera;
}

TEST(SiteSearch, SearchesThreeTimesAndEndsASecondAfterTheLastNews) {
  struct Row {
    const char* name;
    std::vector<Heard> replies;
    int endsAtMs;
    std::size_t cameras;
  };
  std::vector<Heard> stream;  // a new camera every half second, never ending
  for (int k = 0; k < 40; ++k) stream.push_back({250 + 500 * k, k % 200, k / 200 + 1});
  const Row kRows[] = {
      {"silence", {}, 1300, 0},
      {"a camera late after the last search", {{10, 1, 1}, {1200, 2, 2}}, 2200, 2},
      {"a repeat is no news", {{10, 1, 1}, {1200, 1, 1}}, 1300, 1},
      {"one MAC on two addresses is two", {{10, 1, 1}, {20, 1, 2}}, 1300, 2},
      {"a stream ends at the limit", stream, 10000, 20},
  };
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    SiteSearch search;
    const JobTime start{};
    JobTime now = start;
    std::size_t next = 0;
    int searches = 0;
    for (JobAction action = search.Next(now); action.kind != JobActionKind::kDone; action = search.Next(now)) {
      if (action.kind == JobActionKind::kSearch) {
        ++searches;
      } else if (next < row.replies.size() && start + milliseconds(row.replies[next].atMs) < action.until) {
        now = std::max(now, start + milliseconds(row.replies[next].atMs));
        search.Reply(CameraOf(row.replies[next++]), now);
      } else {
        now = action.until;
      }
    }
    EXPECT_EQ(searches, 3);
    EXPECT_EQ(std::chrono::duration_cast<milliseconds>(now - start).count(), row.endsAtMs);
    EXPECT_EQ(search.cameras().size(), row.cameras);
  }
}

}  // namespace
}  // namespace lumora::provisioning
