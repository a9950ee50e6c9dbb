// Starting the worker thread and waiting for its end.
#pragma once

#include "app/app_state.h"

namespace lumora {

// Opens the worker context with `link` and starts the thread. On failure the
// thread handle stays none: no request is ever sent, and "Exit" quits at once.
void StartWorkerThread(AppState& app);

// Sets the stop flag, wakes the worker and waits for it to end.
//
// Trap: this waits with no time-out on the dialog thread. That is safe only
// because the worker never waits for the dialog thread (QueuedDialogLink
// hands everything over without waiting); keep it that way.
void StopWorkerThread(AppState& app);

}  // namespace lumora
