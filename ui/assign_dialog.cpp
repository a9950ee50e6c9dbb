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
  // Who answered on the addresses last looked up, and what that makes of
  // the site with the cameras listed at the last preview.
  std::vector<AddressSeen> seen;
  std::string lookupError;
  std::vector<provisioning::FoundCamera> listed;
  SiteCheck check;
  // A look-up out at the worker: its id, and what waits for its answer.
  // Meanwhile the buttons that would plan or send are greyed.
  enum class Waiting { kNothing, kPreview, kApply } waiting = Waiting::kNothing;
  uint32_t lookupId = 0;
  std::unique_ptr<provisioning::ApplyJob> pendingJob;  // Apply's, until its look-up comes back clean
};

// Ids never repeat across dialogs, so an answer to a closed dialog's
// look-up is never taken for one of a dialog opened since.
uint32_t NextLookupId() {
  static uint32_t last = 0;
  return ++last;
}

// At most this many of a range's addresses, from its first, are looked up:
// the sockets carry as many without blocking, and a site's range is shorter.
constexpr uint32_t kMostLookedUp = 512;

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

provisioning::AssignForm FormOf(const AssignDialog& d) {
  return {ItemText(d.dialog, IDC_ASSIGN_FIRST), ItemText(d.dialog, IDC_ASSIGN_LAST), ItemText(d.dialog, IDC_ASSIGN_MASK),
          ItemText(d.dialog, IDC_ASSIGN_GATEWAY), ItemText(d.dialog, IDC_ASSIGN_PATTERN)};
}

// The range's first and last address as the preview reads the form; false
// when the form does not say.
bool RangeBounds(const AssignDialog& d, uint32_t& first, uint32_t& last) {
  const provisioning::AssignForm form = FormOf(d);
  uint32_t mask = NetOrder(0xFFFFFF00);
  if (!ReadDecimalIpv4(form.first, first) || (!form.mask.empty() && !ReadDecimalIpv4(form.mask, mask))) return false;
  if (form.last.empty()) {
    last = first | ~mask;
    return true;
  }
  return ReadDecimalIpv4(form.last, last) && HostOrder(first) <= HostOrder(last);
}

std::string CountsSummary(const AssignDialog& d) {
  const std::string counts = provisioning::CountsText(d.reports);
  if (!d.listFull) return counts;
  return counts + ". The list is full at " + std::to_string(kTableSlots) + ": more cameras may be unlisted.";
}

void AddSentence(std::string& text, const std::string& more) {
  if (more.empty()) return;
  if (!text.empty()) text += text.back() == '.' ? " " : ". ";
  text += more;
}

// The counts, then what the look-up found: the range's addresses held by
// other hosts, and the planned ones that could not be looked up.
std::string PreviewSummary(const AssignDialog& d) {
  std::string text = CountsSummary(d);
  uint32_t first = 0, last = 0;
  if (d.source == AssignDialog::Source::kRange && RangeBounds(d, first, last)) {
    AddSentence(text, SkippedText(d.check, first, last));
  }
  if (!d.lookupError.empty()) {
    AddSentence(text, "The look-up failed (" + d.lookupError +
                          "): whether another host holds the planned addresses is not known.");
  } else {
    AddSentence(text, NotLookedUpText(PlannedAddresses(d.preview, d.cameras), d.seen));
  }
  return text;
}

// The preview again, of the cameras listed now, around what the last
// look-up found: Apply sends what it shows.
bool RunPreview(AssignDialog& d) {
  if (d.source == AssignDialog::Source::kNothing) return false;
  d.listed = ReadListed(d);
  // Every address of the PC, whichever adapter the range keeps to.
  const PcFacts pc = d.host.pc();
  d.check = CheckSite(pc, d.seen, d.listed);
  d.cameras = d.source == AssignDialog::Source::kRange ? provisioning::CamerasBehind(ChosenAdapter(d), d.listed) : d.listed;
  if (d.source == AssignDialog::Source::kPlanText) {
    provisioning::SiteFacts site;
    site.pcAddresses = pc.addresses;
    d.preview = provisioning::PreviewPlan(d.planText, d.cameras, site, ThroughClipboard);
  } else {
    provisioning::SiteFacts site;
    site.pcAddresses = d.check.reserved;  // the range skips every one of them
    d.preview = provisioning::PreviewRange(FormOf(d), d.cameras, site, ThroughClipboard);
  }
  if (d.preview.problems.empty()) {
    for (std::string& conflict : SiteConflicts(d.check, d.preview, d.cameras)) d.preview.problems.push_back(conflict);
  }
  d.reports = d.preview.reports;
  if (!d.preview.problems.empty()) {
    d.reports.clear();
    ShowCameraRows(d.plan, d.cameras);
    ShowProblems(d);
    return false;
  }
  ShowPlanRows(d.plan, d.preview, d.cameras, d.reports);
  SetSummary(d, PreviewSummary(d));
  return true;
}

// The worker looks the addresses up (up to a second) and the dialog goes on
// with `waiting` when its answer comes back.
void AskLookup(AssignDialog& d, AssignDialog::Waiting waiting, std::vector<uint32_t> addresses) {
  d.waiting = waiting;
  d.lookupId = NextLookupId();
  EnableJobButtons(d, false);
  SetSummary(d, "Looking up who answers on " + std::to_string(addresses.size()) + " addresses" +
                    (waiting == AssignDialog::Waiting::kApply ? " before sending..." : "..."));
  d.host.lookUp(d.lookupId, std::move(addresses));
}

// A range's addresses from its first, or the plan's planned ones.
std::vector<uint32_t> AddressesToLookUp(const AssignDialog& d) {
  if (d.source != AssignDialog::Source::kRange) return PlannedAddresses(d.preview, d.cameras);
  std::vector<uint32_t> addresses;
  uint32_t first = 0, last = 0;
  if (!RangeBounds(d, first, last)) return addresses;
  for (uint32_t ip = HostOrder(first); ip <= HostOrder(last) && addresses.size() < kMostLookedUp; ++ip) {
    addresses.push_back(NetOrder(ip));
    if (ip == 0xFFFFFFFFu) break;
  }
  return addresses;
}

// The preview at once from what the form or the plan says, then again once
// the addresses are looked up afresh; a form or plan with problems is not
// looked up, nor one that moves no camera.
void PreviewThenLookUp(AssignDialog& d) {
  d.seen.clear();
  d.lookupError.clear();
  if (!RunPreview(d)) return;
  std::vector<uint32_t> addresses = AddressesToLookUp(d);
  if (!addresses.empty()) AskLookup(d, AssignDialog::Waiting::kPreview, std::move(addresses));
}

void OnPreview(AssignDialog& d) {
  if (d.host.jobRunning() || d.waiting != AssignDialog::Waiting::kNothing) return;
  d.source = AssignDialog::Source::kRange;
  PreviewThenLookUp(d);
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
  PreviewThenLookUp(d);
}

void OnPaste(AssignDialog& d) {
  if (d.host.jobRunning() || d.waiting != AssignDialog::Waiting::kNothing) return;
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
  if (d.host.jobRunning() || d.waiting != AssignDialog::Waiting::kNothing) return;
  if (AskPlanFile(d.dialog, path)) OpenPlanFile(d, path);
}

// Of several files dropped at once, the first is the plan.
void OnDropFiles(AssignDialog& d, HDROP drop) {
  wchar_t path[MAX_PATH] = {};
  const bool named = DragQueryFileW(drop, 0, path, MAX_PATH) > 0;
  DragFinish(drop);
  if (named && !d.host.jobRunning() && d.waiting == AssignDialog::Waiting::kNothing) OpenPlanFile(d, path);
}

// A row onto an address in use stops the whole job before anything is sent.
// An address not looked up (on no network of the PC: a camera moved off its
// factory network, or a look-up that could not be made) holds nothing back;
// Preview's summary has said that it was not looked up.
void OnApplyLookup(AssignDialog& d) {
  std::unique_ptr<provisioning::ApplyJob> job = std::move(d.pendingJob);
  d.check = CheckSite(d.host.pc(), d.seen, d.listed);
  std::string text;
  for (const std::string& conflict : SiteConflicts(d.check, d.preview, d.cameras)) {
    text += (text.empty() ? "Nothing was sent: " : "\r\n") + conflict;
  }
  if (!text.empty() || !job) {
    SetSummary(d, text);
    return;
  }
  d.reports = job->reports();
  EnableJobButtons(d, false);
  SetSummary(d, ApplyingText(0, job->toVerify()));
  d.host.startJob(std::move(job));
}

// Planned around what Preview's look-up found, then the planned addresses
// looked up again right before the first send: a host that came up since
// is caught when the answer comes (OnApplyLookup).
void OnApply(AssignDialog& d) {
  if (d.host.jobRunning() || d.waiting != AssignDialog::Waiting::kNothing || !RunPreview(d)) return;
  bool anything = false;
  for (const provisioning::Step& step : d.preview.steps) anything = anything || step.status == provisioning::StepStatus::kSend;
  if (!anything) return;  // the preview's counts say why: nothing to change
  d.pendingJob = std::make_unique<provisioning::ApplyJob>(d.preview.plan, d.preview.steps, d.cameras,
                                                          DialogJobSettings(), ThroughClipboard);
  std::vector<uint32_t> planned = PlannedAddresses(d.preview, d.cameras);
  if (planned.empty()) return OnApplyLookup(d);  // no camera moves: nothing to look up
  AskLookup(d, AssignDialog::Waiting::kApply, std::move(planned));
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

void ShowAssignLookup(HWND dialog, uint32_t id, const std::vector<AddressSeen>& seen, const std::string& error) {
  AssignDialog* d = dialog != nullptr ? Of(dialog) : nullptr;
  if (d == nullptr || d->waiting == AssignDialog::Waiting::kNothing || id != d->lookupId) return;
  const AssignDialog::Waiting waiting = d->waiting;
  d->waiting = AssignDialog::Waiting::kNothing;
  d->seen = seen;
  d->lookupError = error;
  EnableJobButtons(*d, !d->host.jobRunning());
  if (waiting == AssignDialog::Waiting::kApply) {
    OnApplyLookup(*d);
  } else {
    RunPreview(*d);
  }
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
