// Starting the worker thread and waiting for its end.
#pragma once

#include "app/app_state.h"

namespace lumora {

// Starts the thread on the opened worker context. On failure the thread
// handle stays none: no request is ever sent, and "Exit" quits at once.
void StartWorkerThread(AppState& app);

// Puts the stop into the inbox (which wakes the worker), waits for it to
// end and closes the
// worker context.
//
// Trap: this waits with no time-out on the dialog thread. That is safe only
// because the worker never waits for the dialog thread (QueuedDialogLink
// hands everything over without waiting); keep it that way.
void StopWorkerThread(AppState& app);

}  // namespace lumora
