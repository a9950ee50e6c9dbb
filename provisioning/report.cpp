// The report records and their counts.
#include "provisioning/report.h"

namespace lumora::provisioning {

RowReport ReportFor(const Plan&, const Step&, const std::vector<FoundCamera>&, bool) { return {}; }

std::vector<std::size_t> CountStatuses(const std::vector<RowReport>&) { return std::vector<std::size_t>(kStatusCount); }

std::string CountsText(const std::vector<RowReport>&) { return ""; }

bool AllApplied(const std::vector<RowReport>&) { return false; }

}  // namespace lumora::provisioning
