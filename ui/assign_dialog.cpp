// The "Assign addresses" dialog: the form, the plan's list view, the summary.
#include "ui/assign_dialog.h"

#include <shellapi.h>

#include <optional>
#include <string>
#include <vector>

#include "protocol/ipv4.h"
#include "provisioning/range_adapters.h"
#include "provisioning/site_preview.h"
#include "resources/resource_ids.h"
#include "ui/clipboard_text.h"
#include "ui/plan_file.h"
#include "ui/plan_list_view.h"
#include "ui/plan_text.h"

namespace lumora {
namespace {

// As `lumora apply` runs by default; a search's replies are gathered for
// a second, and the next search follows at once.
provisioning::JobSettings DialogJobSettings() {
  provisioning::JobSettings settings;
  settings.listen = std::chrono::seconds(1);
  return settings;
}

struct AssignDialog {
  HWND dialog = nullptr;
  HWND plan = nullptr;  // the list view
  AssignHost host;
  // What the last preview was of. After a paste or an open that failed
  // there is nothing, and Apply sends nothing until a Preview or a good one.
  enum class Source { kRange, kPlanText, kNothing } source = Source::kRange;
  std::string planText;  // pasted or read from a file, in the ANSI code page
  std::string fileName;  // the plan file's, shown with the summary; "" for a paste
  std::vector<provisioning::FoundCamera> cameras;  // the range's (behind its adapter), or all for a plan
  std::vector<provisioning::RangeAdapter> adapters;  // the drop-down's entries
  bool listFull = false;  // the main list holds all it can: more cameras may answer unlisted
  provisioning::SitePreview preview;
  std::vector<provisioning::RowReport> reports;  // the preview's, then the job's
};

AssignDialog* Of(HWND dialog) { return reinterpret_cast<AssignDialog*>(GetWindowLongPtrA(dialog, DWLP_USER)); }

std::string ItemText(HWND dialog, int id) {
  char text[256] = {};
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

// A plan from a file says which file, so the operator sees what is shown.
void SetSummary(AssignDialog& d, const std::string& text) {
  const bool fromFile = d.source == AssignDialog::Source::kPlanText && !d.fileName.empty();
  const std::string shown = fromFile ? d.fileName + ": " + text : text;
  SetDlgItemTextA(d.dialog, IDC_ASSIGN_SUMMARY, shown.c_str());
}

void ShowProblems(AssignDialog& d) {
  std::string text;
  for (const std::string& problem : d.preview.problems) text += (text.empty() ? "" : "\r\n") + ThroughClipboard(problem);
  SetSummary(d, text);
}

void EnableJobButtons(AssignDialog& d, bool enable) {
  for (int id : {IDC_ASSIGN_PREVIEW, IDC_ASSIGN_PASTE, IDC_ASSIGN_OPEN_PLAN, IDC_ASSIGN_APPLY}) {
    EnableWindow(GetDlgItem(d.dialog, id), enable);
  }
}

provisioning::SiteFacts SiteOf(const std::vector<provisioning::FoundCamera>& cameras) {
  provisioning::SiteFacts site;
  for (const provisioning::FoundCamera& camera : cameras) {
    if (camera.arrival.ip != 0) site.pcAddresses.push_back(camera.arrival.ip);
  }
  return site;
}

const provisioning::RangeAdapter& ChosenAdapter(const AssignDialog& d) {
  const LRESULT chosen = SendDlgItemMessageA(d.dialog, IDC_ASSIGN_ADAPTER, CB_GETCURSEL, 0, 0);
  const bool valid = chosen >= 0 && static_cast<std::size_t>(chosen) < d.adapters.size();
  return d.adapters[valid ? static_cast<std::size_t>(chosen) : 0];
}

// The entries for the cameras listed now, on the adapter chosen before if
// there was one.
void ShowRangeAdapters(AssignDialog& d, const ListedCameras& listed) {
  std::optional<provisioning::RangeAdapter> kept;
  if (!d.adapters.empty()) kept = ChosenAdapter(d);
  std::vector<Arrival> arrivals;
  for (int slot : listed.slots) arrivals.push_back((*listed.arrivals)[slot]);
  d.adapters = provisioning::RangeAdaptersOf(arrivals, kept);
  HWND box = GetDlgItem(d.dialog, IDC_ASSIGN_ADAPTER);
  SendMessageA(box, CB_RESETCONTENT, 0, 0);
  for (const provisioning::RangeAdapter& entry : d.adapters) {
    SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(provisioning::RangeAdapterText(entry).c_str()));
  }
  SendMessageA(box, CB_SETCURSEL, provisioning::ChosenRangeAdapter(d.adapters, kept), 0);
}

// Every listed camera, with the drop-down rebuilt to match.
std::vector<provisioning::FoundCamera> ReadListed(AssignDialog& d) {
  const ListedCameras listed = d.host.listed();
  ShowRangeAdapters(d, listed);
  d.listFull = listed.slots.size() >= static_cast<std::size_t>(kTableSlots);
  return FoundCamerasOf(listed);
}

std::string CountsSummary(const AssignDialog& d) {
  const std::string counts = provisioning::CountsText(d.reports);
  if (!d.listFull) return counts;
  return counts + ". The list is full at " + std::to_string(kTableSlots) + ": more cameras may be unlisted.";
}

// The preview again, of the cameras listed now: Apply sends what it shows.
bool RunPreview(AssignDialog& d) {
  if (d.source == AssignDialog::Source::kNothing) return false;
  const std::vector<provisioning::FoundCamera> listed = ReadListed(d);
  // Every adapter's address is the PC's, whichever the range keeps to.
  const provisioning::SiteFacts site = SiteOf(listed);
  d.cameras = d.source == AssignDialog::Source::kRange ? provisioning::CamerasBehind(ChosenAdapter(d), listed) : listed;
  if (d.source == AssignDialog::Source::kPlanText) {
    d.preview = provisioning::PreviewPlan(d.planText, d.cameras, site, ThroughClipboard);
  } else {
    provisioning::AssignForm form{ItemText(d.dialog, IDC_ASSIGN_FIRST), ItemText(d.dialog, IDC_ASSIGN_LAST),
                                  ItemText(d.dialog, IDC_ASSIGN_MASK), ItemText(d.dialog, IDC_ASSIGN_GATEWAY),
                                  ItemText(d.dialog, IDC_ASSIGN_PATTERN)};
    d.preview = provisioning::PreviewRange(form, d.cameras, site, ThroughClipboard);
  }
  d.reports = d.preview.reports;
  if (!d.preview.problems.empty()) {
    d.reports.clear();
    ShowCameraRows(d.plan, d.cameras);
    ShowProblems(d);
    return false;
  }
  ShowPlanRows(d.plan, d.preview, d.cameras, d.reports);
  SetSummary(d, CountsSummary(d));
  return true;
}

void OnPreview(AssignDialog& d) {
  if (d.host.jobRunning()) return;
  d.source = AssignDialog::Source::kRange;
  RunPreview(d);
}

// A plan that could not be had leaves no preview behind to be applied.
void ShowPlanFailure(AssignDialog& d, const std::string& problem) {
  d.source = AssignDialog::Source::kNothing;
  d.planText.clear();
  d.preview = {};
  d.reports.clear();
  ShowCameraRows(d.plan, d.cameras);
  SetSummary(d, problem);
}

void PreviewPlanText(AssignDialog& d, std::string text, std::string fileName) {
  d.source = AssignDialog::Source::kPlanText;
  d.planText = std::move(text);
  d.fileName = std::move(fileName);
  RunPreview(d);
}

void OnPaste(AssignDialog& d) {
  if (d.host.jobRunning()) return;
  std::string text, problem;
  if (!TakeClipboardText(d.dialog, text, problem)) return ShowPlanFailure(d, problem);
  PreviewPlanText(d, std::move(text), "");
}

void OpenPlanFile(AssignDialog& d, const std::wstring& path) {
  std::string bytes, text, problem;
  if (!ReadWholeFile(path, kMostPlanBytes, bytes, problem)) return ShowPlanFailure(d, problem);
  if (!PlanTextOfFile(bytes, text, problem)) return ShowPlanFailure(d, FileNameOf(path) + ": " + problem);
  PreviewPlanText(d, std::move(text), FileNameOf(path));
}

void OnOpenPlan(AssignDialog& d) {
  std::wstring path;
  if (!d.host.jobRunning() && AskPlanFile(d.dialog, path)) OpenPlanFile(d, path);
}

// Of several files dropped at once, the first is the plan.
void OnDropFiles(AssignDialog& d, HDROP drop) {
  wchar_t path[MAX_PATH] = {};
  const bool named = DragQueryFileW(drop, 0, path, MAX_PATH) > 0;
  DragFinish(drop);
  if (named && !d.host.jobRunning()) OpenPlanFile(d, path);
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

void OnCopyReport(AssignDialog& d) { PutTextOnClipboard(d.dialog, ReportSheetText(d.reports, SheetJoin::kTabs)); }

// The report as it is when asked for; the job may go on meanwhile.
void OnSaveReport(AssignDialog& d) {
  const std::string sheet = ReportSheetText(d.reports, SheetJoin::kCsv);
  std::wstring path;
  std::string problem;
  if (AskSaveFile(d.dialog, "lumora-report", path) && !SaveFileInPlace(path, Utf8FileText(sheet), problem)) {
    SetDlgItemTextA(d.dialog, IDC_ASSIGN_SUMMARY, problem.c_str());
  }
}

void OnInit(HWND dialog, AssignHost* host) {
  auto* d = new AssignDialog;
  d->dialog = dialog;
  d->host = std::move(*host);
  d->plan = GetDlgItem(dialog, IDC_ASSIGN_PLAN);
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(d));
  AddPlanColumns(dialog, d->plan);
  const std::vector<provisioning::FoundCamera> listed = ReadListed(*d);
  d->cameras = provisioning::CamerasBehind(ChosenAdapter(*d), listed);
  ShowCameraRows(d->plan, d->cameras);
  // The network the range's first camera answered on: the site's, most likely.
  if (!d->cameras.empty() && d->cameras.front().arrival.mask != 0) {
    SetDlgItemTextA(dialog, IDC_ASSIGN_MASK, Ipv4Text(d->cameras.front().arrival.mask).c_str());
  }
  EnableJobButtons(*d, !d->host.jobRunning());
  DragAcceptFiles(dialog, TRUE);
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
        case IDC_ASSIGN_OPEN_PLAN: OnOpenPlan(*d); return TRUE;
        case IDC_ASSIGN_COPY_REPORT: OnCopyReport(*d); return TRUE;
        case IDC_ASSIGN_SAVE_REPORT: OnSaveReport(*d); return TRUE;
        case IDCANCEL:
          // Closing stops the sends; the worker reports what is left unverified.
          if (d->host.jobRunning()) d->host.stopJob();
          DestroyWindow(dialog);
          return TRUE;
        default: return FALSE;
      }
    case WM_DROPFILES:
      if (d != nullptr) OnDropFiles(*d, reinterpret_cast<HDROP>(wParam));
      return TRUE;
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

void ShowAssignProgress(HWND dialog, const provisioning::JobProgress& progress) {
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
  SetSummary(*d, CountsSummary(*d));
}

}  // namespace lumora
