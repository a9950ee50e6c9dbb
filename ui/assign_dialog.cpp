// The "Assign addresses" dialog: the form, the plan's list view, the summary.
#include "ui/assign_dialog.h"

#include <shellapi.h>

#include <algorithm>
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
  // the site with the cameras the last preview was of.
  std::vector<AddressSeen> seen;
  std::string lookupError;
  provisioning::SiteFacts site;
  // Whether `preview` is on show, and the range form it was of: Apply sends
  // only what the operator saw.
  bool previewShown = false;
  std::string shownForm;
  // A look-up out at the worker: its id, and what waits for its answer.
  // Meanwhile the buttons that would plan or send are greyed.
  enum class Waiting { kNothing, kPreview, kApply } waiting = Waiting::kNothing;
  uint32_t lookupId = 0;
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

// `note` (if any) on a line of its own after them.
void ShowProblems(AssignDialog& d, const std::string& note) {
  std::string text;
  for (const std::string& problem : d.preview.problems) text += (text.empty() ? "" : "\r\n") + ThroughClipboard(problem);
  if (!note.empty()) text += "\r\n" + note;
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

// The entries for the cameras' arrivals (one per camera), on the adapter
// chosen before if there was one.
void ShowRangeAdapters(AssignDialog& d, const std::vector<Arrival>& arrivals) {
  std::optional<provisioning::RangeAdapter> kept;
  if (!d.adapters.empty()) kept = ChosenAdapter(d);
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
  std::vector<Arrival> arrivals;
  for (int slot : listed.slots) arrivals.push_back((*listed.arrivals)[slot]);
  ShowRangeAdapters(d, arrivals);
  d.listFull = listed.slots.size() >= static_cast<std::size_t>(kTableSlots);
  return FoundCamerasOf(listed);
}

// The cameras a search found, with the drop-down rebuilt to match; a MAC
// heard on several addresses counts once, as the list shows it once.
std::vector<provisioning::FoundCamera> TakeSearched(AssignDialog& d, std::vector<provisioning::FoundCamera> found) {
  std::vector<Arrival> arrivals;
  std::vector<provisioning::MacAddress> counted;
  for (const provisioning::FoundCamera& camera : found) {
    const provisioning::MacAddress mac = provisioning::MacOf(camera.record.mac);
    if (std::find(counted.begin(), counted.end(), mac) != counted.end()) continue;
    counted.push_back(mac);
    arrivals.push_back(camera.arrival);
  }
  ShowRangeAdapters(d, arrivals);
  d.listFull = false;
  return found;
}

provisioning::AssignForm FormOf(const AssignDialog& d) {
  return {ItemText(d.dialog, IDC_ASSIGN_FIRST), ItemText(d.dialog, IDC_ASSIGN_LAST), ItemText(d.dialog, IDC_ASSIGN_MASK),
          ItemText(d.dialog, IDC_ASSIGN_GATEWAY), ItemText(d.dialog, IDC_ASSIGN_PATTERN)};
}

// The form and the adapter chosen, as one text to tell a change by.
std::string FormKey(const AssignDialog& d) {
  const provisioning::AssignForm form = FormOf(d);
  return form.first + '\n' + form.last + '\n' + form.mask + '\n' + form.gateway + '\n' + form.namePattern + '\n' +
         (ChosenAdapter(d).all ? std::string() : ChosenAdapter(d).name);
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
    AddSentence(text, SkippedText(d.site, first, last));
  }
  if (!d.lookupError.empty()) {
    AddSentence(text, "The look-up failed (" + d.lookupError +
                          "): whether another host holds the planned addresses is not known.");
  } else {
    AddSentence(text, NotLookedUpText(PlannedAddresses(d.preview, d.cameras), d.seen));
  }
  return text;
}

// The preview of `listed` (the cameras the list shows, or those the search
// before Apply found), around what the last look-up found. The range plans
// around every address of the PC, whichever adapter it keeps to.
void MakePreview(AssignDialog& d, const std::vector<provisioning::FoundCamera>& listed) {
  d.site = SiteFactsOf(d.host.pc(), d.seen, listed);
  d.cameras = d.source == AssignDialog::Source::kRange ? provisioning::CamerasBehind(ChosenAdapter(d), listed) : listed;
  if (d.source == AssignDialog::Source::kPlanText) {
    d.preview = provisioning::PreviewPlan(d.planText, d.cameras, d.site, ThroughClipboard);
  } else {
    d.preview = provisioning::PreviewRange(FormOf(d), d.cameras, d.site, ThroughClipboard);
  }
}

// The preview made last, shown: Apply sends what it shows. `note` (if any)
// ends the summary. False when it has problems.
bool ShowPreview(AssignDialog& d, const std::string& note = "") {
  d.previewShown = true;
  d.shownForm = FormKey(d);
  d.reports = d.preview.reports;
  if (!d.preview.problems.empty()) {
    d.reports.clear();
    ShowCameraRows(d.plan, d.cameras);
    ShowProblems(d, note);
    return false;
  }
  ShowPlanRows(d.plan, d.preview, d.cameras, d.reports);
  std::string summary = PreviewSummary(d);
  AddSentence(summary, note);
  SetSummary(d, summary);
  return true;
}

bool RunPreview(AssignDialog& d, const std::vector<provisioning::FoundCamera>& listed) {
  if (d.source == AssignDialog::Source::kNothing) return false;
  MakePreview(d, listed);
  return ShowPreview(d);
}

// The worker looks the addresses up (up to a second; before Apply, after
// searching the site again) and the dialog goes on with `waiting` when its
// answer comes back.
void AskLookup(AssignDialog& d, AssignDialog::Waiting waiting, std::vector<uint32_t> addresses) {
  const bool apply = waiting == AssignDialog::Waiting::kApply;
  d.waiting = waiting;
  d.lookupId = NextLookupId();
  EnableJobButtons(d, false);
  SetSummary(d, apply ? "Searching the site again and looking up who answers on its addresses before sending..."
                      : "Looking up who answers on " + std::to_string(addresses.size()) + " addresses...");
  d.host.lookUp(d.lookupId, std::move(addresses), apply);
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
  if (!RunPreview(d, ReadListed(d))) return;
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
  d.previewShown = false;
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

// Apply plans from a search made right then and from a fresh look-up, so
// that a camera that left or came, or a host that came up, since the
// preview is not planned around as it was. If that plan is not the one the
// operator saw, nothing is sent and the new one is shown instead. A row
// onto an address in use is a conflict, and stops the whole job. An address
// not looked up (on no network of the PC: a camera moved off its factory
// network, or a look-up that could not be made) holds nothing back; the
// summary says that it was not looked up.
void OnSearchedForApply(AssignDialog& d, const AssignLookup& answer) {
  if (!answer.searchError.empty()) {
    SetSummary(d, "Nothing was sent: the search before sending failed (" + answer.searchError + ").");
    return;
  }
  const bool shown = d.previewShown;
  const bool formChanged = d.source == AssignDialog::Source::kRange && d.shownForm != FormKey(d);
  const provisioning::SitePreview before = d.preview;
  MakePreview(d, TakeSearched(d, answer.cameras));
  if (shown && !provisioning::SamePreview(before, d.preview)) {
    ShowPreview(d, std::string(formChanged ? "The range" : "The site") +
                       " changed since Preview: nothing was sent; this is the new preview.");
    return;
  }
  const bool planned = ShowPreview(d);
  const bool anything = std::any_of(d.preview.steps.begin(), d.preview.steps.end(), [](const provisioning::Step& step) {
    return step.status == provisioning::StepStatus::kSend;
  });
  if (!planned || !anything) return;  // the problems or the counts say why
  auto job = std::make_unique<provisioning::ApplyJob>(d.preview.plan, d.preview.steps, d.cameras, DialogJobSettings(),
                                                      ThroughClipboard);
  d.reports = job->reports();
  d.previewShown = false;  // sent: an Apply after the job plans afresh, from the site it left
  EnableJobButtons(d, false);
  SetSummary(d, ApplyingText(0, job->toVerify()));
  d.host.startJob(std::move(job));
}

// The addresses are those Preview looked up; a plan that would move
// cameras elsewhere now is no longer the one shown, and is not sent.
void OnApply(AssignDialog& d) {
  if (d.host.jobRunning() || d.waiting != AssignDialog::Waiting::kNothing) return;
  if (d.source == AssignDialog::Source::kNothing) return;
  AskLookup(d, AssignDialog::Waiting::kApply, AddressesToLookUp(d));
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

void ShowAssignLookup(HWND dialog, const AssignLookup& answer) {
  AssignDialog* d = dialog != nullptr ? Of(dialog) : nullptr;
  if (d == nullptr || d->waiting == AssignDialog::Waiting::kNothing || answer.id != d->lookupId) return;
  const AssignDialog::Waiting waiting = d->waiting;
  d->waiting = AssignDialog::Waiting::kNothing;
  d->seen = answer.seen;
  d->lookupError = answer.error;
  EnableJobButtons(*d, !d->host.jobRunning());
  if (waiting == AssignDialog::Waiting::kApply) {
    OnSearchedForApply(*d, answer);
  } else {
    RunPreview(*d, ReadListed(*d));
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
