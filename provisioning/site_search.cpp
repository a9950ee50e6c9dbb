// The timing of the search before sending, and who it found.
#include "provisioning/site_search.h"

#include <algorithm>

namespace lumora::provisioning {

JobAction SiteSearch::Next(JobTime now) {
  JobAction action;
  if (over_) return action;
  if (searches_ == 0) start_ = now;
  if (searches_ < settings_.repeat && now >= nextSearch_) {
    ++searches_;
    nextSearch_ = now + settings_.spacing;
    lastNews_ = now;
    action.kind = JobActionKind::kSearch;
    return action;
  }
  const JobTime end = std::min(start_ + settings_.limit, lastNews_ + settings_.quiet);
  if (now >= start_ + settings_.limit || (searches_ >= settings_.repeat && now >= end)) {
    over_ = true;
    return action;
  }
  action.kind = JobActionKind::kWait;
  action.until = searches_ < settings_.repeat ? std::min(end, nextSearch_) : end;
  return action;
}

void SiteSearch::Reply(const FoundCamera& camera, JobTime now) {
  if (over_ || !heard_.insert(std::string(reinterpret_cast<const char*>(camera.record.mac), 6) + '@' +
                              camera.record.ipText).second) {
    return;
  }
  cameras_.push_back(camera);
  lastNews_ = now;
}

}  // namespace lumora::provisioning
