// The "Assign addresses" dialog: the form, the plan's list view, the summary.
#include "ui/assign_dialog.h"

#include <string>
#include <vector>

#include "protocol/ipv4.h"
#include "provisioning/site_preview.h"
#include "resources/resource_ids.h"
#include "ui/clipboard_text.h"
#include "ui/plan_list_view.h"

namespace lumora {
namespace {

// As `lumora apply` runs by default; a search's replies are gathered for
// a second, and the next search follows at once.
provisioning::JobSettings DialogJobSettings() {
  provisioning::JobSettings settings;
  settings.pace = std::chrono::milliseconds(2);
  settings.verifyFor = std::chrono::seconds(30);
  settings.resends = 3;
  settings.rescanEvery = std::chrono::seconds(1);
  settings.listen = std::chrono::seconds(1);
  return settings;
}

struct AssignDialog {
  HWND dialog = nullptr;
  HWND plan = nullptr;  // the list view
  AssignHost host;
  // The last preview: of the range form, or of this pasted text.
  bool fromPaste = false;
  std::string pasted;
  std::vector<provisioning::FoundCamera> cameras;
  provisioning::SitePreview preview;
  std::vector<provisioning::RowReport> reports;  // the preview's, then the job's
};

AssignDialog* Of(HWND dialog) { return reinterpret_cast<AssignDialog*>(GetWindowLongPtrA(dialog, DWLP_USER)); }

std::string ItemText(HWND dialog, int id) {
  char text[256] = {};
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

void SetSummary(AssignDialog& d, const std::string& text) { SetDlgItemTextA(d.dialog, IDC_ASSIGN_SUMMARY, text.c_str()); }

void ShowProblems(AssignDialog& d) {
  std::string text;
  for (const std::string& problem : d.preview.problems) text += (text.empty() ? "" : "\r\n") + ThroughClipboard(problem);
  SetSummary(d, text);
}

void EnableJobButtons(AssignDialog& d, bool enable) {
  for (int id : {IDC_ASSIGN_PREVIEW, IDC_ASSIGN_PASTE, IDC_ASSIGN_APPLY}) EnableWindow(GetDlgItem(d.dialog, id), enable);
}

std::vector<uint32_t> PcAddresses(const std::vector<provisioning::FoundCamera>& cameras) {
  std::vector<uint32_t> addresses;
  for (const provisioning::FoundCamera& camera : cameras) {
    if (camera.arrival.ip != 0) addresses.push_back(camera.arrival.ip);
  }
  return addresses;
}

// The preview again, of the cameras listed now: Apply sends what it shows.
bool RunPreview(AssignDialog& d) {
  d.cameras = FoundCamerasOf(d.host.listed());
  const std::vector<uint32_t> pc = PcAddresses(d.cameras);
  if (d.fromPaste) {
    d.preview = provisioning::PreviewPlan(d.pasted, d.cameras, pc, ThroughClipboard);
  } else {
    provisioning::AssignForm form{ItemText(d.dialog, IDC_ASSIGN_FIRST), ItemText(d.dialog, IDC_ASSIGN_LAST),
                                  ItemText(d.dialog, IDC_ASSIGN_MASK), ItemText(d.dialog, IDC_ASSIGN_GATEWAY),
                                  ItemText(d.dialog, IDC_ASSIGN_PATTERN)};
    d.preview = provisioning::PreviewRange(form, d.cameras, pc, ThroughClipboard);
  }
  d.reports = d.preview.reports;
  if (!d.preview.problems.empty()) {
    d.reports.clear();
    ShowCameraRows(d.plan, d.cameras);
    ShowProblems(d);
    return false;
  }
  ShowPlanRows(d.plan, d.preview, d.cameras, d.reports);
  SetSummary(d, provisioning::CountsText(d.reports));
  return true;
}

void OnPreview(AssignDialog& d) {
  if (d.host.jobRunning()) return;
  d.fromPaste = false;
  RunPreview(d);
}

void OnPaste(AssignDialog& d) {
  if (d.host.jobRunning()) return;
  std::string text, problem;
  if (!TakeClipboardText(d.dialog, text, problem)) {
    d.preview = {};
    d.reports.clear();
    d.pasted.clear();
    SetSummary(d, problem);
    return;
  }
  d.fromPaste = true;
  d.pasted = std::move(text);
  RunPreview(d);
}

void OnApply(AssignDialog& d) {
  if (d.host.jobRunning() || !RunPreview(d)) return;
  bool anything = false;
  for (const provisioning::Step& step : d.preview.steps) anything = anything || step.status == provisioning::StepStatus::kSend;
  if (!anything) return;  // the preview's counts say why: nothing to change
  auto job = std::make_unique<provisioning::ApplyJob>(d.preview.plan, d.preview.steps, d.cameras, DialogJobSettings(),
                                                      ThroughClipboard);
  d.reports = job->reports();
  EnableJobButtons(d, false);
  SetSummary(d, ApplyingText(0, job->toVerify()));
  d.host.startJob(std::move(job));
}

void OnCopyReport(AssignDialog& d) { PutTextOnClipboard(d.dialog, ReportSheetText(d.reports)); }

void OnInit(HWND dialog, AssignHost* host) {
  auto* d = new AssignDialog;
  d->dialog = dialog;
  d->host = std::move(*host);
  d->plan = GetDlgItem(dialog, IDC_ASSIGN_PLAN);
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(d));
  AddPlanColumns(dialog, d->plan);
  d->cameras = FoundCamerasOf(d->host.listed());
  ShowCameraRows(d->plan, d->cameras);
  // The network the first camera answered on: the site's, most likely.
  if (!d->cameras.empty() && d->cameras.front().arrival.mask != 0) {
    SetDlgItemTextA(dialog, IDC_ASSIGN_MASK, Ipv4Text(d->cameras.front().arrival.mask).c_str());
  }
  EnableJobButtons(*d, !d->host.jobRunning());
}

INT_PTR CALLBACK AssignDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  AssignDialog* d = Of(dialog);
  switch (message) {
    case WM_INITDIALOG: OnInit(dialog, reinterpret_cast<AssignHost*>(lParam)); return TRUE;
    case WM_COMMAND:
      if (d == nullptr) return FALSE;
      switch (LOWORD(wParam)) {
        case IDC_ASSIGN_PREVIEW: OnPreview(*d); return TRUE;
        case IDC_ASSIGN_PASTE: OnPaste(*d); return TRUE;
        case IDC_ASSIGN_APPLY: OnApply(*d); return TRUE;
        case IDC_ASSIGN_COPY_REPORT: OnCopyReport(*d); return TRUE;
        case IDCANCEL:
          // Closing stops the sends; the worker reports what is left unverified.
          if (d->host.jobRunning()) d->host.stopJob();
          DestroyWindow(dialog);
          return TRUE;
        default: return FALSE;
      }
    case WM_DESTROY:
      if (d != nullptr) {
        SetWindowLongPtrA(dialog, DWLP_USER, 0);
        d->host.closed();
        delete d;
      }
      return TRUE;
    default: return FALSE;
  }
}

}  // namespace

HWND OpenAssignDialog(HWND owner, HWND open, AssignHost host) {
  if (open != nullptr) {
    SetForegroundWindow(open);
    return open;
  }
  HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ASSIGN), owner, AssignDialogProc,
                                   reinterpret_cast<LPARAM>(&host));
  if (dialog != nullptr) ShowWindow(dialog, SW_SHOW);
  return dialog;
}

void ShowAssignProgress(HWND dialog, const JobProgress& progress) {
  AssignDialog* d = dialog != nullptr ? Of(dialog) : nullptr;
  if (d == nullptr) return;
  if (progress.finished) EnableJobButtons(*d, true);
  // A dialog opened again during the job shows no plan of it.
  if (progress.reports.size() != d->preview.steps.size()) return;
  d->reports = progress.reports;
  ShowRowStatuses(d->plan, d->reports);
  if (!progress.finished) {
    SetSummary(*d, ApplyingText(progress.verified, progress.toVerify));
    return;
  }
  SetSummary(*d, provisioning::CountsText(d->reports));
}

}  // namespace lumora
