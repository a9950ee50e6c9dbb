// Applying what the worker handed over, on the dialog thread.
#pragma once

#include <windows.h>

#include "app/app_state.h"

namespace lumora {

// Posted to the dialog when the worker has handed something over; the
// handler drains the whole queue, so one notice may cover many events.
inline constexpr UINT WM_APP_WORKER_EVENTS = WM_APP + 1;

// The notice the link sends from the worker thread: a post, never a send.
bool PostWorkerEventsNotice(HWND dialog);

// Applies everything queued so far to the dialog.
void ApplyWorkerEvents(AppState& app);

}  // namespace lumora
