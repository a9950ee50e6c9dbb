// The report `lumora apply` prints (and `set` is the one-row case of): one
// line per plan row, as a table, JSON Lines or CSV, the same records in each.
#pragma once

#include <string>
#include <vector>

#include "provisioning/plan.h"
#include "provisioning/report.h"
#include "tools/lumora/camera_text.h"
#include "tools/lumora/output.h"

namespace lumora::cli {

struct ReportOptions {
  Format format = Format::kTable;
  bool showSecrets = false;     // the PPPoE password's before and after
  CodePageReader readCodePage;  // for the cameras' own texts in changes and reasons
};

// The whole report, each line without its newline: a header for the table
// and CSV, then one line per row. The count line is the caller's (stdout
// for the table, stderr otherwise).
std::vector<std::string> ReportLines(const std::vector<provisioning::RowReport>& reports,
                                     const ReportOptions& options);

}  // namespace lumora::cli
