#include "confirm_dialog.h"

// NOT YET BUILT: the dialog comes later. Until then it handles nothing, and
// the stand-in layer cannot create it, so no update runs.
INT_PTR CALLBACK PatchDialogProc(HWND, UINT, WPARAM, LPARAM) {
  return FALSE;
}
