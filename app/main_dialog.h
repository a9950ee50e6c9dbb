// The main dialog: its procedure and the handlers of the operator's commands.
#pragma once

#include <windows.h>

#include "app/app_state.h"

namespace lumora {

// Passed as the dialog's creation parameter by tests; the program passes 0,
// which means the defaults.
struct DialogOptions {
  bool startWorker = true;
};

// Returns TRUE for a WM_CONTEXTMENU the list's menu handled and 0 for every
// other message, WM_INITDIALOG included, so the dialog manager does not set
// the initial focus.
// The worker's word on an apply job: to the "Assign addresses" dialog if it
// is open; after the last, the buttons come back and a search lists the
// cameras as they now are.
void OnJobProgress(AppState& app, const provisioning::JobProgress& progress);

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace lumora
