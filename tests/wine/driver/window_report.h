// Reading what a window of another process shows: its class, caption,
// owner and controls. Texts are read with WM_GETTEXT, which the system
// carries across processes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class Transcript;

struct Control {
  HWND window;
  std::string className;
  int id;
  std::string text;
  LONG style;
  bool enabled;
};

std::string ClassOf(HWND window);
std::string TextOf(HWND window);
// The visible direct children, in the order the system keeps them (which
// for a dialog is the template's order).
std::vector<Control> ControlsOf(HWND window);
// The visible control with that id; false when there is none.
bool FindControl(HWND window, int id, Control *found);

// Writes the window and its controls to the transcript:
//   window "<caption>" class <class> owner <"caption" | none>
//     <class> <id> "<text>" [default] [groupbox] [readonly] [disabled] [focus]
//     Static <id> icon | no icon
//     tree "<text of the selected item>"
void Describe(Transcript &transcript, HWND window);
