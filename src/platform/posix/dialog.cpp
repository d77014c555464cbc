// Modal dialogs.
#include "layer.h"

extern "C" {

// NOT YET BUILT: dialogs come later. Until then no dialog can be created,
// and DialogBoxParamA fails at once as Windows does for a missing template.
INT_PTR DialogBoxParamA(HINSTANCE, LPCSTR templateName, HWND, DLGPROC, LPARAM) {
  layer::Enter("DialogBoxParamA", templateName);
  SetLastError(1814);  // ERROR_RESOURCE_NAME_NOT_FOUND
  return -1;
}

}  // extern "C"
