// Message boxes are shown by the current front.
#include "layer.h"

extern "C" {

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT style) {
  if (layer::Enter("MessageBoxA", nullptr, {reinterpret_cast<uintptr_t>(owner), style})) return 0;
  return layer::CurrentFront().MessageBox(owner, text ? text : "", caption ? caption : "Error", style);
}

}  // extern "C"
