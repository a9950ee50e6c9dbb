// The worker's status texts, tool port writes, datagrams and clearings,
// applied to the dialog in the order the worker made them.
#include "app/worker_events.h"

#include "app/main_dialog.h"
#include "protocol/decode_reply.h"
#include "resources/resource_ids.h"
#include "ui/details_panel.h"
#include "ui/assign_dialog.h"
#include "ui/device_list.h"

namespace lumora {
namespace {

// A list box repaints at every change; a burst of replies is applied with
// redrawing off and repainted once (255 entries: 4.3 s one by one under Wine,
// about 140 ms as one batch).
constexpr std::size_t kBatchRedrawThreshold = 4;

// The look-up's answer as the dialog reads it.
AddressSeen SeenOf(const net::AddressLookup& lookup) {
  AddressSeen seen;
  seen.ip = lookup.ip;
  seen.use = lookup.use == net::AddressUse::kInUse  ? AddressSeen::Use::kInUse
             : lookup.use == net::AddressUse::kFree ? AddressSeen::Use::kFree
                                                    : AddressSeen::Use::kNotLookedUp;
  seen.mac = lookup.mac;
  seen.pcAddress = lookup.pcAddress;
  return seen;
}

class DialogApplier final : public DialogEventSink {
 public:
  explicit DialogApplier(AppState& app) : app_(app) {}

  void BatchBegins(std::size_t datagrams) override {
    batched_ = datagrams >= kBatchRedrawThreshold;
    if (!batched_) return;
    SendMessageA(app_.controls.deviceList, WM_SETREDRAW, FALSE, 0);
    HoldSelection(app_.deviceList);
  }

  void TakeDatagram(const uint8_t* data, int length, const Arrival& arrival) override {
    int slot = DecodeReply(&app_.search, data, length);
    if (slot == kNoSlot) return;
    app_.slotArrivals[static_cast<std::size_t>(slot)] = arrival;
    NoteSeenAddress(app_.slotAddresses[static_cast<std::size_t>(slot)], RecordIp(app_.search.table.slots[slot]));
    AddDeviceEntry(app_.deviceList, &app_.search, slot);
  }

  void ClearDevices() override {
    lumora::ForgetDevices(app_.controls, app_.deviceList, app_.search.table);
    ForgetArrivals(app_);
  }

  void ShowToolPort(unsigned port) override { SetDlgItemInt(app_.dialog, IDC_TOOL_PORT, port, FALSE); }

  void ShowJobProgress(const provisioning::JobProgress& progress) override { OnJobProgress(app_, progress); }

  void ShowAdapters(const std::vector<Adapter>& adapters) override { app_.pcAdapters = adapters; }

  void ShowLookup(const LookupAnswer& answer) override {
    AssignLookup shown{answer.id, {}, answer.error, answer.searched, answer.cameras, answer.searchError};
    for (const net::AddressLookup& lookup : answer.answers) shown.seen.push_back(SeenOf(lookup));
    ShowAssignLookup(app_.assignDialog, shown);
  }

  void ShowStatus(const char* text) override { SetWindowTextA(app_.controls.statusLine, text); }

  void BatchEnds() override {
    if (!batched_) return;
    ReleaseSelection(app_.deviceList);
    SendMessageA(app_.controls.deviceList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(app_.controls.deviceList, nullptr, TRUE);
  }

 private:
  AppState& app_;
  bool batched_ = false;
};

}  // namespace

bool PostWorkerEventsNotice(HWND dialog) { return PostMessageA(dialog, WM_APP_WORKER_EVENTS, 0, 0) != FALSE; }

void ApplyWorkerEvents(AppState& app) {
  if (!app.link) return;
  DialogApplier applier(app);
  app.link->Drain(applier);
}

}  // namespace lumora
