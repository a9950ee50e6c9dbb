// What the dialog's "Assign addresses" shows before anything is sent: the
// range form read as `lumora plan` reads its options, or a pasted plan read
// as `lumora apply` reads a file, matched against the listed cameras into
// the dry run's report. Every problem is said in words for the summary;
// where there is one, nothing may be applied.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "provisioning/assign.h"
#include "provisioning/found_camera.h"
#include "provisioning/match.h"
#include "provisioning/plan.h"
#include "provisioning/report.h"
#include "provisioning/site_facts.h"

namespace lumora::provisioning {

// The form's texts as typed: First, Last (empty: up to the end of First's
// subnet under the mask), Mask, Gateway (both may be empty), Name pattern
// (empty keeps the names).
struct AssignForm {
  std::string first, last, mask, gateway, namePattern;
};

struct SitePreview {
  Plan plan;
  std::vector<Step> steps;
  std::vector<RowReport> reports;     // the dry run's: would-change, unchanged, refused, not-found
  std::vector<std::string> problems;  // "line 3, column ip: ...", "First address: ..."
};

// The range for every camera of `cameras` (the list, in its order), planned
// exactly as `lumora plan` plans it (MAC order, {n} from 1), then matched.
// The range skips the addresses of `site`, and the match refuses them.
SitePreview PreviewRange(const AssignForm& form, const std::vector<FoundCamera>& cameras, const SiteFacts& site,
                         const TextReading& reading);

// A pasted plan: the rows are the cameras it names. A plan with reading
// problems is still matched, row by row as far as its rows read, so that
// its conflicts with the site are said with them; it then has no plan,
// steps or reports to apply.
SitePreview PreviewPlan(const std::string& text, const std::vector<FoundCamera>& cameras, const SiteFacts& site,
                        const TextReading& reading);

// True when `now` would send what `shown` showed: the same problems, and
// row for row the same camera, status, changes and reason. The adapter a
// camera answered on is no part of it: heard through two adapters on one
// segment, either reaches it.
bool SamePreview(const SitePreview& shown, const SitePreview& now);

}  // namespace lumora::provisioning
