// One message of the program's loop, kept apart from WinMain so that the
// in-process dialog tests feed key messages through exactly what the
// program runs.
#pragma once

#include <windows.h>

namespace lumora {

// Enter and Esc anywhere in the dialog. The dialog manager would turn them
// into the template's IDOK ("Update", which empties the operator's edits
// with a new search) and IDCANCEL ("Exit"), so the loop drops them.
bool IsHeldBackDialogKey(HWND dialog, const MSG& msg);

// Handles one message taken from the queue: held-back keys are dropped,
// Tab, Shift+Tab and Space go to the dialog manager, the rest is translated
// and dispatched.
void HandleLoopMessage(HWND dialog, MSG& msg);

}  // namespace lumora
