// Modal dialogs. The dialog procedure gets WM_INITDIALOG, then the user's
// commands as WM_COMMAND, until it calls EndDialog. EndDialog hides the
// dialog at once; the dialog is destroyed only after the handler that
// called it has returned, and DialogBoxParamA returns after that.
#include <vector>

#include "layer.h"

namespace {

struct OpenDialog {
  HWND window;
  const layer::DialogTemplate *source;
  bool ended;
  INT_PTR result;
};

std::vector<OpenDialog> &OpenDialogs() {
  static std::vector<OpenDialog> dialogs;
  return dialogs;
}

OpenDialog *FindOpen(HWND window) {
  for (OpenDialog &d : OpenDialogs())
    if (d.window == window) return &d;
  return nullptr;
}

layer::DialogView ViewOf(HWND window, const layer::DialogTemplate &t) {
  layer::DialogView view;
  view.title = layer::WindowText(window);
  for (int i = 0; i < t.controlCount; ++i) {
    const layer::DialogTemplate::Control &c = t.controls[i];
    view.controls.push_back({c.id, c.className, layer::WindowText(layer::ChildWithId(window, c.id))});
  }
  return view;
}

}  // namespace

extern "C" {

INT_PTR DialogBoxParamA(HINSTANCE, LPCSTR templateName, HWND owner, DLGPROC procedure, LPARAM initParam) {
  if (layer::Enter("DialogBoxParamA", templateName, {reinterpret_cast<uintptr_t>(owner)})) return -1;
  const layer::DialogTemplate *t = layer::FindDialogTemplate(templateName);
  if (!t || !procedure) {
    SetLastError(1814);  // ERROR_RESOURCE_NAME_NOT_FOUND
    return -1;
  }
  HWND window = layer::CreateWindowWithProcedure(nullptr, "#32770", owner, 0, t->title);
  for (int i = 0; i < t->controlCount; ++i)
    layer::CreateWindowWithProcedure(nullptr, t->controls[i].className, window, t->controls[i].id,
                                     t->controls[i].text);
  OpenDialogs().push_back({window, t, false, 0});

  layer::Front &front = layer::CurrentFront();
  procedure(window, WM_INITDIALOG, reinterpret_cast<WPARAM>(layer::ChildWithId(window, t->controls[0].id)),
            initParam);
  while (!FindOpen(window)->ended) {
    // The close box arrives as the cancel command, as the default dialog
    // handling sends it.
    int command = front.DialogCommand(ViewOf(window, *t));
    bool closeBox = command == 0;
    if (closeBox) command = IDCANCEL;
    procedure(window, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED),
              reinterpret_cast<LPARAM>(layer::ChildWithId(window, command)));
    // A procedure that does not end the dialog at the close box would keep
    // a person with no more input there for ever; this host ends it.
    OpenDialog *d = FindOpen(window);
    if (closeBox && !d->ended) {
      d->ended = true;
      d->result = IDCANCEL;
    }
  }
  INT_PTR result = FindOpen(window)->result;
  front.DialogDestroyed(ViewOf(window, *t));
  layer::DestroyWindowHandle(window);
  std::vector<OpenDialog> &dialogs = OpenDialogs();
  for (auto it = dialogs.begin(); it != dialogs.end(); ++it)
    if (it->window == window) {
      dialogs.erase(it);
      break;
    }
  return result;
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
  layer::Enter("EndDialog", nullptr, {reinterpret_cast<uintptr_t>(dialog), static_cast<uint64_t>(result)});
  OpenDialog *d = FindOpen(dialog);
  if (!d) {
    SetLastError(1400);  // ERROR_INVALID_WINDOW_HANDLE
    return FALSE;
  }
  if (!d->ended) {
    d->ended = true;
    d->result = result;
    layer::CurrentFront().DialogEnded(ViewOf(dialog, *d->source));
  }
  return TRUE;
}

}  // extern "C"
