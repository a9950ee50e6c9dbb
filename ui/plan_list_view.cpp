// The plan's list view.
#include "ui/plan_list_view.h"

#include <commctrl.h>

#include "protocol/field_text.h"
#include "protocol/mac_text.h"
#include "provisioning/sheet_text.h"
#include "ui/clipboard_text.h"

namespace lumora {
namespace {

enum Column { kMac, kNameNow, kIpNow, kIpPlanned, kNamePlanned, kStatus, kColumnCount };

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

void SetCameraNow(HWND list, int row, const DeviceRecord& r) {
  SetCell(list, row, kNameNow, ThroughClipboard(FieldText(r.name)));
  SetCell(list, row, kIpNow, FieldText(r.ipText));
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

}  // namespace

// Widths in dialog units, so that a colon MAC and a dotted address fit
// whatever the font and the DPI (in pixels the MAC was cut short even at 96
// dpi); with the vertical scroll bar they fill the template's 406 units.
void AddPlanColumns(HWND dialog, HWND list) {
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

void ShowCameraRows(HWND list, const std::vector<provisioning::FoundCamera>& cameras) {
  Refill refill(list, cameras.size());
  for (std::size_t i = 0; i < cameras.size(); ++i) {
    const DeviceRecord& r = cameras[i].record;
    const int at = static_cast<int>(i);
    AddRow(list, at);
    SetCell(list, at, kMac, provisioning::ColonMac(r.mac));
    SetCameraNow(list, at, r);
  }
}

void ShowPlanRows(HWND list, const provisioning::SitePreview& preview,
                  const std::vector<provisioning::FoundCamera>& cameras,
                  const std::vector<provisioning::RowReport>& reports) {
  Refill refill(list, preview.steps.size());
  for (std::size_t i = 0; i < preview.steps.size(); ++i) {
    const provisioning::Step& step = preview.steps[i];
    const provisioning::PlanRow& row = preview.plan.rows[step.row];
    const int at = static_cast<int>(i);
    AddRow(list, at);
    SetCell(list, at, kMac, provisioning::ColonMac(row.mac.bytes.data()));
    if (step.camera) SetCameraNow(list, at, cameras[*step.camera].record);
    SetCell(list, at, kIpPlanned, row[SettingId::kIp].value_or(""));
    SetCell(list, at, kNamePlanned, ThroughClipboard(row[SettingId::kName].value_or("")));
    SetCell(list, at, kStatus, StatusText(reports[i]));
  }
}

void ShowRowStatuses(HWND list, const std::vector<provisioning::RowReport>& reports) {
  for (std::size_t i = 0; i < reports.size(); ++i) SetCell(list, static_cast<int>(i), kStatus, StatusText(reports[i]));
}

std::string ApplyingText(std::size_t verified, std::size_t toVerify) {
  return "Applying: " + std::to_string(verified) + " of " + std::to_string(toVerify) + " verified";
}

}  // namespace lumora
