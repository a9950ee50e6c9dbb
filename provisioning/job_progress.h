// What a running apply job says of itself: every row's report as it stands,
// copied, so whoever shows it never reads the job itself.
#pragma once

#include <cstddef>
#include <vector>

#include "provisioning/report.h"

namespace lumora::provisioning {

struct JobProgress {
  std::vector<RowReport> reports;
  std::size_t verified = 0;  // rows changed so far
  std::size_t toVerify = 0;  // rows with a request to send
  bool finished = false;     // the last word on this job
};

}  // namespace lumora::provisioning
