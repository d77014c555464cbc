// The confirmation dialog "PATCH": shows the install folder, and runs the
// update when the user presses its run button.
#pragma once

#include "platform/win32.h"

INT_PTR CALLBACK PatchDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
