// The apply job's rules: send, search, judge, resend, give up.
#include "provisioning/apply_job.h"

#include <algorithm>
#include <cstring>

#include "protocol/ipv4.h"
#include "protocol/mac_text.h"
#include "provisioning/verify.h"

namespace lumora::provisioning {
namespace {

// The MAC the camera answers with once the row is kept: a new one if the
// row gives it one (as `lumora set --new-mac` does).
MacAddress AnswerMac(const PlanRow& row) {
  constexpr std::size_t macIndex = SettingIndex(SettingId::kMac);
  return row.values[macIndex] ? MacOf(TextToMac(row.values[macIndex]->c_str()).bytes) : row.mac;
}

// Any host on the LAN can send replies: past this many distinct ones a
// search's further replies still verify, but are not kept.
constexpr std::size_t kMaxHeard = 65536;

constexpr const char* kNoKnownAdapter = "the camera's reply came in on no known interface";

// A request goes out of the adapter its camera answered on, never by the
// system's route: that would reach whatever camera sits behind the route's
// adapter at the same address.
bool AdapterKnown(const Arrival& arrival) { return arrival.index != 0 && !arrival.name.empty(); }

std::string HeardKey(const FoundCamera& camera) {
  const uint32_t ip = RecordIp(camera.record);
  std::string key(reinterpret_cast<const char*>(camera.record.mac), 6);
  key.append(reinterpret_cast<const char*>(&ip), 4);
  key.append(reinterpret_cast<const char*>(&camera.arrival.index), 4);
  return key;
}

// How far a late driver may catch up at once: above three ticks of the
// coarsest timer a driver meets, far below anything a camera notices.
constexpr JobDuration kMostBehind = std::chrono::milliseconds(50);

}  // namespace

ApplyJob::ApplyJob(const Plan& plan, const std::vector<Step>& steps, const std::vector<FoundCamera>& cameras,
                   JobSettings settings, TextReading reading)
    : settings_(std::move(settings)), reading_(std::move(reading)) {
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const Step& step = steps[i];
    reports_.push_back(ReportFor(plan, step, cameras, false));
    Job job;
    job.row = plan.rows[step.row];
    if (step.status == StepStatus::kSend && !AdapterKnown(cameras[*step.camera].arrival)) {
      reports_.back().status = RowStatus::kRefused;
      reports_.back().reason = kNoKnownAdapter;
    } else if (step.status == StepStatus::kSend) {
      job.frame = step.frame;
      job.target = cameras[*step.camera];
      job.matchedAdapter = job.target.arrival.index;
      job.state = State::kQueued;
      queue_.push_back(i);
    }
    jobs_.push_back(std::move(job));
  }
}

JobAction ApplyJob::Next(JobTime now) {
  JobAction action;
  for (;;) {
    if (phase_ == Phase::kDone) return action;
    if (!queue_.empty()) {
      // A new round of requests earns no credit from the idle time before it.
      if (roundStarts_) {
        nextSendAt_ = std::max(nextSendAt_, now);
        roundStarts_ = false;
      }
      if (now < nextSendAt_) {
        action.kind = JobActionKind::kWait;
        action.until = nextSendAt_;  // requests are queued only between searches
        return action;
      }
      const std::size_t index = queue_.front();
      queue_.pop_front();
      // The pace is a budget: a driver woken late (Windows wakes on a 15.6 ms
      // system timer) sends every request that fell due meanwhile, one per
      // Next(), so a round keeps the pace whatever the timer. The credit is
      // capped, so a driver stalled for long does not flood the site at once.
      nextSendAt_ = std::max(nextSendAt_, now - kMostBehind) + settings_.pace;
      action.kind = JobActionKind::kSend;
      action.step = index;
      action.to = &jobs_[index].target;
      action.frame = &jobs_[index].frame;
      return action;
    }
    if (phase_ == Phase::kSending) {
      StartVerifying(now);
      continue;
    }
    if (searching_) {
      if (now < searchEnd_) {
        action.kind = JobActionKind::kWait;
        action.until = searchEnd_;
        return action;
      }
      EndSearch();
      continue;
    }
    if (!AnyWaiting() || (searches_ > 0 && now >= deadline_)) {
      Finish(settings_.silentReason);
      continue;
    }
    // At least one search, however short the time given to verify.
    if (searches_ > 0 && now < nextSearchAt_) {
      action.kind = JobActionKind::kWait;
      action.until = std::min(nextSearchAt_, deadline_);
      return action;
    }
    searching_ = true;
    ++searches_;
    heard_.clear();
    heardKeys_.clear();
    for (Job& job : jobs_) job.shown = false;
    searchEnd_ = now + settings_.listen;
    nextSearchAt_ = now + settings_.rescanEvery;
    action.kind = JobActionKind::kSearch;
    return action;
  }
}

void ApplyJob::StartVerifying(JobTime now) {
  phase_ = Phase::kVerifying;
  deadline_ = now + settings_.verifyFor;
  if (!settings_.verify) {
    for (Job& job : jobs_) {
      if (job.state == State::kWaiting) job.state = State::kDecided;
    }
    phase_ = Phase::kDone;
    ++revision_;
  }
}

void ApplyJob::Sent(std::size_t step, bool ok, const std::string& error) {
  Job& job = jobs_[step];
  ++job.sends;
  ++revision_;
  if (ok) {
    job.state = State::kWaiting;
    return;
  }
  job.state = State::kDecided;
  reports_[step].reason = error;
}

// Each reply is held against its row as it comes, so that a repeat showing
// the new values counts even after one showing the old ones.
void ApplyJob::Reply(const FoundCamera& camera) {
  if (!searching_) return;
  const MacAddress mac = MacOf(camera.record.mac);
  for (Job& job : jobs_) {
    if (job.state != State::kWaiting || job.shown || AnswerMac(job.row) != mac) continue;
    std::string mismatch = PlanMismatch(job.row, camera, reading_);
    if (mismatch.empty()) job.shown = true;
    else job.lastSeen = std::move(mismatch);
  }
  Hear(camera);
}

void ApplyJob::Hear(const FoundCamera& camera) {
  if (heardKeys_.size() >= kMaxHeard || !heardKeys_.insert(HeardKey(camera)).second) return;
  heard_.push_back(camera);
}

void ApplyJob::ReceiveFailed(const std::string& error) {
  if (phase_ != Phase::kDone) Finish(settings_.silentReason, error);
}

void ApplyJob::EndSearch() {
  searching_ = false;
  for (std::size_t i = 0; i < jobs_.size(); ++i) {
    if (jobs_[i].state == State::kWaiting) Judge(i);
  }
}

// One search's verdict on a camera still waiting: it shows its row; it is
// silent (restarting after the change, perhaps) and goes on waiting; or it
// shows other values (the request was lost, or not kept) and is sent the
// request again out of the adapter it was matched on, where its reply now
// says it answers. Once its resends are spent it is still watched until the
// deadline: a camera may go on showing its old values for seconds before
// the change takes.
void ApplyJob::Judge(std::size_t index) {
  Job& job = jobs_[index];
  if (job.shown) {
    ++revision_;
    job.state = State::kDecided;
    reports_[index].status = RowStatus::kChanged;
    reports_[index].reason.clear();
    return;
  }
  const MacAddress mac = AnswerMac(job.row);
  const FoundCamera* answered = nullptr;
  for (const FoundCamera& camera : heard_) {
    if (MacOf(camera.record.mac) != mac) continue;
    if (answered == nullptr || camera.arrival.index == job.matchedAdapter) answered = &camera;
    if (camera.arrival.index == job.matchedAdapter) break;
  }
  if (answered == nullptr || job.sends > settings_.resends) return;
  std::string refusal = ResendRefusal(mac, heard_, job.matchedAdapter);
  if (!refusal.empty()) {
    ++revision_;
    job.state = State::kDecided;
    reports_[index].status = RowStatus::kRefused;
    reports_[index].reason = refusal;
    return;
  }
  job.target = *answered;
  job.state = State::kQueued;
  if (queue_.empty()) roundStarts_ = true;
  queue_.push_back(index);
}

// `cause`, when given, is every open row's reason: what ended the job.
void ApplyJob::Finish(const std::string& silentReason, const std::string& cause) {
  for (std::size_t i = 0; i < jobs_.size(); ++i) {
    Job& job = jobs_[i];
    if (job.state != State::kWaiting && job.state != State::kQueued) continue;
    job.state = State::kDecided;
    reports_[i].reason = !cause.empty()          ? cause
                         : !job.lastSeen.empty() ? job.lastSeen
                         : job.sends == 0        ? "it was not sent"
                                                 : silentReason;
  }
  queue_.clear();
  searching_ = false;
  phase_ = Phase::kDone;
  ++revision_;
}

void ApplyJob::Stop() {
  if (phase_ != Phase::kDone) Finish("it was not verified before the job was stopped");
}

bool ApplyJob::AnyWaiting() const {
  return std::any_of(jobs_.begin(), jobs_.end(), [](const Job& job) { return job.state == State::kWaiting; });
}

std::size_t ApplyJob::verified() const {
  return static_cast<std::size_t>(
      std::count_if(reports_.begin(), reports_.end(), [](const RowReport& r) { return r.status == RowStatus::kChanged; }));
}

JobProgress ApplyJob::progress() const {
  return {reports_, verified(), toVerify(), done()};
}

std::size_t ApplyJob::toVerify() const {
  return static_cast<std::size_t>(
      std::count_if(jobs_.begin(), jobs_.end(), [](const Job& job) { return job.state != State::kNone; }));
}

}  // namespace lumora::provisioning
