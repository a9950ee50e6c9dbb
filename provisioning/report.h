// apply's report as data: one record per plan row with its status, which
// the command line prints as a table, JSON Lines or CSV.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "provisioning/found_camera.h"
#include "provisioning/match.h"
#include "provisioning/sheet_row.h"

namespace lumora::provisioning {

// A row's outcome, in the order the counts are given.
enum class RowStatus { kChanged, kUnchanged, kNotFound, kRefused, kNotVerified, kWouldChange };
inline constexpr std::size_t kStatusCount = 6;

// "changed", "not-found", "would-change": as reports print it.
const char* StatusName(RowStatus status);

struct RowReport {
  MacAddress mac;
  RowStatus status = RowStatus::kNotFound;
  std::string interfaceName;
  std::vector<SettingChange> changes;
  std::string reason;
};

// The report of a step before anything is sent: unchanged, not-found and
// refused as they are; a step to send is "would-change" on a dry run, else
// "not-verified" until a rescan shows the plan (the caller then sets
// "changed", or puts the last mismatch in `reason`).
RowReport ReportFor(const Plan& plan, const Step& step, const std::vector<FoundCamera>& cameras, bool dryRun);

// "38 changed, 1 unchanged, 1 not-found": the statuses that occur.
std::string CountsText(const std::vector<RowReport>& reports);

// The report as a sheet, as `lumora apply --format csv` and the dialog's
// "Copy report" write it: the titles, then per row the MAC in colon
// notation, the status, the interface, the changes ("ip: a -> b; name: x ->
// y", a secret "(hidden)" unless `showSecrets`) and the reason, each text
// read through `cellText` and guarded against the spreadsheet.
std::vector<std::string> ReportSheetTitles();
std::vector<std::string> ReportSheetCells(const RowReport& report, bool showSecrets, const CellText& cellText);

// "ip: a -> b; name: x -> y", each value read through `cellText`.
std::string ChangesText(const RowReport& report, bool showSecrets, const CellText& cellText);

// True when every row ended changed, unchanged or would-change (exit 0).
bool AllApplied(const std::vector<RowReport>& reports);

}  // namespace lumora::provisioning
