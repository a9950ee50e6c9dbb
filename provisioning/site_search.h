// The search "Assign addresses" makes right before it sends, so that it
// plans from the site as it is then and not from a list that may be
// minutes old: searched as `lumora scan` searches (three searches a little
// apart, replies gathered until a second passes with no new camera, ten
// seconds at most), each camera kept once per MAC and address. Like the
// apply job it never reads a clock or a socket: the worker asks Next() and
// hands over each reply.
#pragma once

#include <string>
#include <unordered_set>
#include <vector>

#include "provisioning/apply_job.h"
#include "provisioning/found_camera.h"

namespace lumora::provisioning {

struct SiteSearchSettings {
  int repeat = 3;                                       // searches
  JobDuration spacing = std::chrono::milliseconds(150);  // from one search to the next
  JobDuration quiet = std::chrono::seconds(1);          // after the last search or new camera
  JobDuration limit = std::chrono::seconds(10);         // from the first search, whatever keeps arriving
};

class SiteSearch {
 public:
  explicit SiteSearch(SiteSearchSettings settings = {}) : settings_(settings) {}

  // kSearch, kWait (until a reply or `until`), or kDone.
  JobAction Next(JobTime now);

  // A camera's reply (none from the PC's own addresses); a MAC and address
  // heard before, through any adapter, is no new camera.
  void Reply(const FoundCamera& camera, JobTime now);

  // The socket cannot be read: the search ends with what it has.
  void ReceiveFailed(const std::string& error) { error_ = error, over_ = true; }

  const std::vector<FoundCamera>& cameras() const { return cameras_; }
  const std::string& error() const { return error_; }

 private:
  SiteSearchSettings settings_;
  int searches_ = 0;
  bool over_ = false;
  JobTime start_{}, nextSearch_{}, lastNews_{};
  std::vector<FoundCamera> cameras_;
  std::unordered_set<std::string> heard_;
  std::string error_;
};

}  // namespace lumora::provisioning
