// Everything the program holds for the life of the process, in one owner:
// the dialog and its controls, the table, the worker's context with its
// inbox, the worker thread and the hand-over back from it.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "net/adapters.h"
#include "protocol/device_record.h"
#include "ui/device_list.h"
#include "ui/dialog_controls.h"
#include "ui/listed_cameras.h"
#include "worker/queued_dialog_link.h"
#include "worker/worker.h"

namespace lumora {

struct AppState {
  HINSTANCE instance = nullptr;
  HWND dialog = nullptr;
  DialogControls controls{};
  DeviceList deviceList;  // the list box and the numbers it lists
  char title[256] = {};  // the dialog's caption and the single-instance key

  SearchState search;
  // Each slot's camera's last arrival (the adapter its reply came in on and
  // its sender), as the worker described it, beside the table since the
  // record layout is fixed; zeroed with the table. "Submit" goes out of its target's adapter alone; the note and
  // "Copy list" read its network and name.
  SlotArrivals slotArrivals{};
  // The addresses replies with each slot's MAC came from (a few, then "more"),
  // for the note and "Copy list"; zeroed with the table as well.
  SlotAddresses slotAddresses{};
  WorkerContext worker;
  std::unique_ptr<QueuedDialogLink> link;  // made anew each time the dialog initialises
  HANDLE workerThread = nullptr;
  DWORD workerThreadId = 0;
  HWND assignDialog = nullptr;  // "Assign addresses", while it is open
  // Every adapter of the PC as the worker last listed it (at a search or a
  // look-up): "Assign addresses" gives a camera none of their addresses.
  std::vector<Adapter> pcAdapters;
  // From the hand-over of an apply job to the worker until its last
  // progress: "Update" and "Submit" are greyed and do nothing.
  bool jobRunning = false;
};

AppState& App();

// Forgets the adapters and addresses kept beside the table, as it is zeroed.
void ForgetArrivals(AppState& app);

}  // namespace lumora
