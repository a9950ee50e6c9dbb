// "Assign addresses": a whole site from the listed cameras. A range (with a
// mask, a gateway and a name pattern) is planned as `lumora plan` plans it,
// or a plan pasted from a spreadsheet, opened or dropped as a file, is read
// as `lumora apply` reads one;
// Preview shows the dry run, Apply hands the job to the worker, which sends
// each request out of its camera's adapter and verifies it, and the
// statuses follow its progress; the report can be copied or saved. A
// modeless dialog owned by the main dialog.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "provisioning/apply_job.h"
#include "provisioning/job_progress.h"
#include "ui/address_check.h"
#include "ui/listed_cameras.h"

namespace lumora {

// What the dialog needs of the program, lent by the main dialog.
struct AssignHost {
  std::function<ListedCameras()> listed;  // the cameras listed now
  std::function<PcFacts()> pc;             // the PC's adapters as the worker last listed them
  // Asks the worker who answers on the addresses, with `searchFirst` after
  // searching the site again; the answer comes back through
  // ShowAssignLookup with the same id.
  std::function<void(uint32_t id, std::vector<uint32_t> addresses, bool searchFirst)> lookUp;
  // Takes the job to the worker; the main dialog empties its list and
  // greys "Update" and "Submit" until the job's last progress.
  std::function<void(std::unique_ptr<provisioning::ApplyJob>)> startJob;
  std::function<void()> stopJob;  // no further request; what is unverified is said so
  std::function<bool()> jobRunning;
  std::function<void()> closed;   // the dialog is gone
};

// Creates the dialog, or brings the open one forward (`open`). Returns it.
HWND OpenAssignDialog(HWND owner, HWND open, AssignHost host);

// The worker's latest word on the job, shown as each row's status and in the
// summary; with `progress.finished` the buttons come back.
void ShowAssignProgress(HWND dialog, const provisioning::JobProgress& progress);

// The worker's answer to the dialog's look-up `id`: one per address asked,
// or `error`; after a search first, the cameras it found, or why it could
// not hear them (`searchError`).
struct AssignLookup {
  uint32_t id = 0;
  std::vector<AddressSeen> seen;
  std::string error;
  bool searched = false;
  std::vector<provisioning::FoundCamera> cameras;
  std::string searchError;
};

// An answer to an earlier look-up than the dialog's last is dropped.
void ShowAssignLookup(HWND dialog, const AssignLookup& answer);

}  // namespace lumora
