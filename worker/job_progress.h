// What the worker tells the dialog of an apply job it runs: every row's
// report as it stands, copied, so the dialog never reads the job itself.
#pragma once

#include <cstddef>
#include <vector>

#include "provisioning/report.h"

namespace lumora {

struct JobProgress {
  std::vector<provisioning::RowReport> reports;
  std::size_t verified = 0;  // rows changed so far
  std::size_t toVerify = 0;  // rows with a request to send
  bool finished = false;     // the last word on this job
};

}  // namespace lumora
