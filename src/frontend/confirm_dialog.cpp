#include "confirm_dialog.h"

#include "frontend/product_profile.h"
#include "shared/updater_state.h"
#include "update/apply_update.h"

namespace {

// Controls of the template "PATCH" besides its two buttons.
const int kInstallFolderField = 1001;
const int kLeadTextGroup = -1;

}  // namespace

INT_PTR CALLBACK PatchDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      // The template's own title and group caption never reach the screen.
      SetDlgItemTextA(dialog, kInstallFolderField, g_State.InstallFolder);
      SetWindowTextA(dialog, Profile().DialogTitle);
      SetDlgItemTextA(dialog, kLeadTextGroup, Profile().DialogLeadText);
      return TRUE;  // the focus goes to the first tab stop, the run button

    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          // The dialog leaves the screen first; it is destroyed once the
          // whole update, its last message included, is over.
          EndDialog(dialog, 0);
          ApplyUpdate();
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, 0);
          return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}
