// Applying matched steps to the site without blocking: who drives the job
// (lumora's loop, the dialog's network worker) asks Next() what to do at a
// given time, does it (send one request, start one search, or wait), and
// reports what happened: Sent() after a send, Reply() for each reply a
// search heard, ReceiveFailed() when the socket cannot be read. The job
// paces the requests (a budget since the round began: a driver that wakes
// late asks again at once and sends what fell due), verifies each changed
// camera against its row after every search, resends (a bounded number of
// times) to a camera that still shows old values, but only while its MAC is
// still the one camera it was matched to, and gives up at the deadline. It
// never reads a clock or a socket, so
// both drivers behave alike and the rules can be checked as a table.
#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <string>
#include <unordered_set>
#include <vector>

#include "provisioning/found_camera.h"
#include "provisioning/job_progress.h"
#include "provisioning/match.h"
#include "provisioning/plan.h"
#include "provisioning/report.h"

namespace lumora::provisioning {

using JobTime = std::chrono::steady_clock::time_point;
using JobDuration = std::chrono::steady_clock::duration;

struct JobSettings {
  JobDuration pace = std::chrono::milliseconds(2);      // between any two requests
  JobDuration verifyFor = std::chrono::seconds(30);     // from the end of the first sends
  int resends = 3;                                      // at most, per camera
  JobDuration rescanEvery = std::chrono::seconds(1);    // from one search's start to the next
  // How long a search's replies are gathered. 0 for a driver whose search
  // blocks and reports every reply before it asks Next() again.
  JobDuration listen = JobDuration::zero();
  bool verify = true;  // false: done once every request is sent
  std::string silentReason = "it did not answer in time";
};

enum class JobActionKind { kSend, kSearch, kWait, kDone };

struct JobAction {
  JobActionKind kind = JobActionKind::kDone;
  std::size_t step = 0;               // kSend: the step's index
  const FoundCamera* to = nullptr;    // kSend: out of its adapter, to its reply's source port
  const RequestFrame* frame = nullptr;  // kSend: all 256 bytes
  JobTime until{};                    // kWait: ask again then, or when a reply arrives
};

class ApplyJob {
 public:
  // `steps` as MatchPlan gave them for `cameras` (the scan they were matched
  // to) with no site conflict; the job keeps its own copies. Reports start
  // as ReportFor gives them.
  ApplyJob(const Plan& plan, const std::vector<Step>& steps, const std::vector<FoundCamera>& cameras,
           JobSettings settings, TextReading reading);

  JobAction Next(JobTime now);

  // After a kSend: whether the request left, else why not.
  void Sent(std::size_t step, bool ok, const std::string& error);

  // Every reply the current search heard, repeats included: a camera may
  // answer first with its old values and then with the new ones. Replies
  // between searches are late answers to an earlier one and are dropped.
  // None may come from the PC's own addresses: the driver drops those.
  void Reply(const FoundCamera& camera);

  // The socket cannot be read, and retrying would only fail again: the job
  // ends, each row not verified saying `error`.
  void ReceiveFailed(const std::string& error);

  // No request after this; what was sent but not verified, and what was
  // never sent, is not-verified.
  void Stop();

  const std::vector<RowReport>& reports() const { return reports_; }
  std::size_t verified() const;  // rows changed so far
  std::size_t toVerify() const;  // rows with a request to send
  bool done() const { return phase_ == Phase::kDone; }
  // Counts up whenever a report changes, so a driver passes on only news.
  std::size_t revision() const { return revision_; }
  // The reports and counts as they stand, copied for whoever shows them.
  JobProgress progress() const;

 private:
  enum class Phase { kSending, kVerifying, kDone };
  enum class State { kNone, kQueued, kWaiting, kDecided };

  struct Job {
    PlanRow row;
    RequestFrame frame{};
    FoundCamera target;          // where the next request goes
    uint32_t matchedAdapter = 0;
    int sends = 0;
    State state = State::kNone;
    std::string lastSeen;        // the last mismatch a search showed
    bool shown = false;          // a reply of the current search showed the row
  };

  void StartVerifying(JobTime now);
  void EndSearch();
  void Judge(std::size_t index);
  void Finish(const std::string& silentReason, const std::string& cause = "");
  void Hear(const FoundCamera& camera);
  bool AnyWaiting() const;

  JobSettings settings_;
  TextReading reading_;
  std::vector<Job> jobs_;
  std::vector<RowReport> reports_;
  std::deque<std::size_t> queue_;
  Phase phase_ = Phase::kSending;
  JobTime nextSendAt_{}, deadline_{}, nextSearchAt_{}, searchEnd_{};
  bool roundStarts_ = true;  // the queue was empty before its first request
  bool searching_ = false;
  int searches_ = 0;
  // One reply per MAC, address and adapter per search: a repeat, or the
  // same camera heard through a second adapter on one segment, is no
  // second camera.
  std::vector<FoundCamera> heard_;
  std::unordered_set<std::string> heardKeys_;
  std::size_t revision_ = 0;
};

}  // namespace lumora::provisioning
