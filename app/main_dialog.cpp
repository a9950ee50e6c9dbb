// The main dialog procedure: a short switch over named handlers.
#include "app/main_dialog.h"

#include "app/app_state.h"
#include "app/marker_file.h"
#include "app/worker_events.h"
#include "app/worker_thread.h"
#include "resources/resource_ids.h"
#include "protocol/configuration_request.h"
#include "ui/assign_dialog.h"
#include "ui/details_panel.h"
#include "ui/device_note.h"
#include "ui/list_menu.h"
#include "ui/panel_snapshot.h"

namespace lumora {
namespace {

// The caption bar and Alt+Tab show the program's icon. Shared icons belong
// to the system, so nothing is destroyed with the dialog.
void SetDialogIcons(HWND dialog) {
  HINSTANCE module = GetModuleHandleA(nullptr);
  HANDLE large = LoadImageA(module, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                            GetSystemMetrics(SM_CYICON), LR_SHARED);
  HANDLE little = LoadImageA(module, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                             GetSystemMetrics(SM_CYSMICON), LR_SHARED);
  if (large != nullptr) SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large));
  if (little != nullptr) SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(little));
}

void OnInitDialog(HWND dialog, const DialogOptions* options) {
  AppState& app = App();
  // The worker reaches the dialog through this handle from its first step,
  // so it is recorded here, before the thread starts, rather than after
  // CreateDialogParamA returns.
  app.dialog = dialog;
  app.controls = FetchDialogControls(dialog);
  app.deviceList = DeviceList{};
  app.deviceList.box = app.controls.deviceList;
  SetDialogIcons(dialog);
  ZeroTable(app.search.table);
  ForgetArrivals(app);
  app.workerThread = nullptr;

  bool marker = MarkerFileExists();
  EnableWindow(app.controls.newMac, marker);
  EnableWindow(app.controls.toolPort, marker);

  app.link = std::make_unique<QueuedDialogLink>([dialog] { return PostWorkerEventsNotice(dialog); });
  // "Update" and "Submit" put their request into the inbox, the worker
  // started or not. Without a wake signal the worker could not be told to
  // stop, so it is not started.
  bool canWake = OpenWorkerContext(app.worker, app.link.get());
  app.worker.inbox.SetToolPortEdit(GetDlgItemInt(dialog, IDC_TOOL_PORT, nullptr, FALSE));
  app.worker.inbox.AskSearch();
  if (canWake && (options == nullptr || options->startWorker)) StartWorkerThread(app);
}

void OnUpdate() {
  AppState& app = App();
  if (app.jobRunning) return;
  ResetDeviceList(app.deviceList);
  ZeroTable(app.search.table);
  ForgetArrivals(app);
  ClearDeviceNote(app.controls);
  app.worker.inbox.AskSearch();
}

void OnSubmit() {
  AppState& app = App();
  if (app.jobRunning) return;
  // The fields are composed here, where the panel and the table live, and
  // handed to the worker, which puts them behind the magic when it sends,
  // out of the adapter the target camera's reply last arrived on.
  RequestFrame frame;
  StartRequest(frame);
  int target = ComposeConfigurationRequest(ReadPanelSnapshot(app.controls), app.search.table, frame);
  uint32_t adapter = target >= 0 && target < kTableSlots ? app.slotArrivals[target].index : 0;
  app.worker.inbox.AskConfiguration(frame.bytes + kMagicSize, frame.cursor - kMagicSize, adapter);
}

void OnExit() {
  AppState& app = App();
  // "Assign addresses" is left to end with the process (the job, if any,
  // ends with the worker). Destroying it here took 2.0 s under Wine on a
  // display without a window manager, all of it before its WM_DESTROY, in
  // hiding it: Exit took 2 s whenever it was open, against 0.02 s.
  StopWorkerThread(app);
  // What the worker handed over before it ended is applied, not leaked.
  ApplyWorkerEvents(app);
  PostQuitMessage(0);
}

void EnableSearchButtons(AppState& app, BOOL enable) {
  EnableWindow(GetDlgItem(app.dialog, IDC_UPDATE), enable);
  EnableWindow(GetDlgItem(app.dialog, IDC_SUBMIT), enable);
}

// The job's cameras are about to change, so the list goes; the search after
// the job lists them as they are then.
void StartJob(std::unique_ptr<provisioning::ApplyJob> job) {
  AppState& app = App();
  app.jobRunning = true;
  ResetDeviceList(app.deviceList);
  ForgetDevices(app.controls, app.deviceList, app.search.table);
  ForgetArrivals(app);
  ClearDeviceNote(app.controls);
  EnableSearchButtons(app, FALSE);
  app.worker.inbox.OfferJob(std::move(job));
}

void OnAssignAddresses() {
  AppState& app = App();
  AssignHost host;
  host.listed = [] {
    AppState& a = App();
    return ListedCamerasNow(a.controls.deviceList, a.search.table, a.slotArrivals, a.slotAddresses);
  };
  host.pc = [] {
    PcFacts pc;
    for (const Adapter& adapter : App().pcAdapters) {
      for (const AdapterSubnet& subnet : adapter.subnets) pc.addresses.push_back(subnet.ip);
      pc.gateways.insert(pc.gateways.end(), adapter.gateways.begin(), adapter.gateways.end());
    }
    return pc;
  };
  host.lookUp = [](uint32_t id, std::vector<uint32_t> addresses, bool searchFirst) {
    App().worker.inbox.AskLookup(id, std::move(addresses), searchFirst);
  };
  host.startJob = StartJob;
  host.stopJob = [] { App().worker.inbox.StopJob(); };
  host.jobRunning = [] { return App().jobRunning; };
  host.closed = [] { App().assignDialog = nullptr; };
  app.assignDialog = OpenAssignDialog(app.dialog, app.assignDialog, std::move(host));
}

ListMenuContext ListMenuOf(AppState& app) {
  return {app.dialog, app.controls, app.search, app.slotArrivals, app.slotAddresses};
}

void EnableAddressEdits(BOOL enable) {
  const DialogControls& c = App().controls;
  EnableWindow(c.ip, enable);
  EnableWindow(c.subnetMask, enable);
  EnableWindow(c.gateway, enable);
}

// The worker reads the tool port edit without touching the dialog, so the
// inbox keeps a copy of its value, refreshed on every change.
void OnToolPortChanged(HWND dialog, WORD notification) {
  if (notification != EN_CHANGE) return;
  App().worker.inbox.SetToolPortEdit(GetDlgItemInt(dialog, IDC_TOOL_PORT, nullptr, FALSE));
}

void OnCommand(HWND dialog, WPARAM wParam) {
  switch (LOWORD(wParam)) {
    case IDC_UPDATE: OnUpdate(); break;
    case IDC_SUBMIT: OnSubmit(); break;
    case IDC_EXIT: OnExit(); break;
    case IDC_DEVICE_LIST:
      OnDeviceListNotify(wParam, &App().search, App().controls, App().slotArrivals, App().slotAddresses);
      break;
    case IDC_MODE_PPPOE:
    case IDC_MODE_DHCP: EnableAddressEdits(FALSE); break;
    case IDC_MODE_STATIC: EnableAddressEdits(TRUE); break;
    case IDC_TOOL_PORT: OnToolPortChanged(dialog, HIWORD(wParam)); break;
    case IDM_OPEN_PAGE:
    case IDM_COPY_IP:
    case IDM_COPY_MAC:
    case IDM_COPY_LIST:
    case IDM_SAVE_LIST: OnListMenuCommand(ListMenuOf(App()), LOWORD(wParam)); break;
    case IDM_ASSIGN_ADDRESSES: OnAssignAddresses(); break;
    default: break;
  }
}

}  // namespace

void OnJobProgress(AppState& app, const provisioning::JobProgress& progress) {
  if (progress.finished) {
    app.jobRunning = false;
    EnableSearchButtons(app, TRUE);
  }
  ShowAssignProgress(app.assignDialog, progress);
  if (progress.finished) OnUpdate();
}

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: OnInitDialog(dialog, reinterpret_cast<const DialogOptions*>(lParam)); break;
    case WM_CLOSE: SendMessageA(dialog, WM_COMMAND, IDC_EXIT, 0); break;
    case WM_COMMAND: OnCommand(dialog, wParam); break;
    // Not the list's: the default handling (a caption's own menu) goes on.
    case WM_CONTEXTMENU:
      return OnListContextMenu(ListMenuOf(App()), reinterpret_cast<HWND>(wParam), lParam) ? TRUE : FALSE;
    case WM_APP_WORKER_EVENTS: ApplyWorkerEvents(App()); break;
    default: break;
  }
  return 0;
}

}  // namespace lumora
