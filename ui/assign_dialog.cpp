// The "Assign addresses" dialog: the form, the plan's list view, the summary.
#include "ui/assign_dialog.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "protocol/field_text.h"
#include "protocol/ipv4.h"
#include "protocol/mac_text.h"
#include "provisioning/sheet_text.h"
#include "provisioning/site_preview.h"
#include "resources/resource_ids.h"
#include "ui/clipboard_text.h"

namespace lumora {
namespace {

// As `lumora apply` runs by default; a search's replies are gathered for
// a second, and the next search follows at once.
provisioning::JobSettings DialogJobSettings() {
  provisioning::JobSettings settings;
  settings.listen = std::chrono::seconds(1);
  return settings;
}

enum Column { kMac, kNameNow, kIpNow, kIpPlanned, kNamePlanned, kStatus, kColumnCount };

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

void SetCell(HWND list, int row, int column, const std::string& text) {
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text.c_str());
  SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void AddRow(HWND list, int row) {
  LVITEMA item = {};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.pszText = const_cast<char*>("");
  SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

// Widths in dialog units, so that a colon MAC and a dotted address fit
// whatever the font and the DPI (in pixels the MAC was cut short even at 96
// dpi); with the vertical scroll bar they fill the template's 406 units.
void AddColumns(HWND dialog, HWND list) {
  static const struct {
    const char* title;
    int width;
  } kColumns[kColumnCount] = {{"MAC", 78}, {"Name now", 56}, {"IP now", 58},
                              {"IP planned", 58}, {"Name planned", 58}, {"Status", 84}};
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  for (int i = 0; i < kColumnCount; ++i) {
    RECT units = {0, 0, kColumns[i].width, 0};
    MapDialogRect(dialog, &units);
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<char*>(kColumns[i].title);
    column.cx = units.right;
    column.iSubItem = i;
    SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
  }
}

std::string StatusText(const provisioning::RowReport& report) {
  const std::string status = provisioning::StatusName(report.status);
  return report.reason.empty() ? status : status + ": " + ThroughClipboard(report.reason);
}

// Filled row by row while shown, a list view of 250 rows held the dialog
// thread (and so the main dialog) for over 2 s under Wine; with its
// redrawing off and its rows reserved first, about 14 ms.
class Refill {
 public:
  Refill(HWND list, std::size_t rows) : list_(list) {
    SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
    SendMessageA(list_, LVM_SETITEMCOUNT, rows, 0);
  }
  ~Refill() {
    SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
  }
  Refill(const Refill&) = delete;
  Refill& operator=(const Refill&) = delete;

 private:
  HWND list_;
};

// The listed cameras as they are: each row's camera now beside its plan.
void ShowCameras(AssignDialog& d) {
  Refill refill(d.plan, d.cameras.size());
  for (std::size_t i = 0; i < d.cameras.size(); ++i) {
    const DeviceRecord& r = d.cameras[i].record;
    AddRow(d.plan, static_cast<int>(i));
    SetCell(d.plan, static_cast<int>(i), kMac, provisioning::ColonMac(r.mac));
    SetCell(d.plan, static_cast<int>(i), kNameNow, ThroughClipboard(FieldText(r.name)));
    SetCell(d.plan, static_cast<int>(i), kIpNow, FieldText(r.ipText));
  }
}

void ShowPlan(AssignDialog& d) {
  Refill refill(d.plan, d.preview.steps.size());
  for (std::size_t i = 0; i < d.preview.steps.size(); ++i) {
    const provisioning::Step& step = d.preview.steps[i];
    const provisioning::PlanRow& row = d.preview.plan.rows[step.row];
    const int at = static_cast<int>(i);
    AddRow(d.plan, at);
    SetCell(d.plan, at, kMac, provisioning::ColonMac(row.mac.bytes.data()));
    if (step.camera) {
      const DeviceRecord& r = d.cameras[*step.camera].record;
      SetCell(d.plan, at, kNameNow, ThroughClipboard(FieldText(r.name)));
      SetCell(d.plan, at, kIpNow, FieldText(r.ipText));
    }
    SetCell(d.plan, at, kIpPlanned, row[SettingId::kIp].value_or(""));
    SetCell(d.plan, at, kNamePlanned, ThroughClipboard(row[SettingId::kName].value_or("")));
    SetCell(d.plan, at, kStatus, StatusText(d.reports[i]));
  }
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
    ShowCameras(d);
    ShowProblems(d);
    return false;
  }
  ShowPlan(d);
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
  SetSummary(d, "Applying: 0 of " + std::to_string(job->toVerify()) + " verified");
  d.host.startJob(std::move(job));
}

void OnCopyReport(AssignDialog& d) { PutTextOnClipboard(d.dialog, ReportSheetText(d.reports)); }

void OnInit(HWND dialog, AssignHost* host) {
  auto* d = new AssignDialog;
  d->dialog = dialog;
  d->host = std::move(*host);
  d->plan = GetDlgItem(dialog, IDC_ASSIGN_PLAN);
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(d));
  AddColumns(dialog, d->plan);
  d->cameras = FoundCamerasOf(d->host.listed());
  ShowCameras(*d);
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
  for (std::size_t i = 0; i < d->reports.size(); ++i) SetCell(d->plan, static_cast<int>(i), kStatus, StatusText(d->reports[i]));
  if (!progress.finished) {
    SetSummary(*d, "Applying: " + std::to_string(progress.verified) + " of " + std::to_string(progress.toVerify) +
                       " verified");
    return;
  }
  SetSummary(*d, provisioning::CountsText(d->reports));
}

}  // namespace lumora
