#include "window_report.h"

#include <commctrl.h>

#include "folder_tree.h"
#include "transcript.h"

namespace {

// Long enough for a stuck program to count as stuck, short enough that a
// scenario fails well within its time.
const UINT kReplyTimeoutMs = 5000;

struct ChildSearch {
  HWND parent;
  std::vector<Control> *controls;
};

BOOL CALLBACK AddChild(HWND child, LPARAM lParam) {
  ChildSearch *search = reinterpret_cast<ChildSearch *>(lParam);
  if (GetParent(child) != search->parent || !IsWindowVisible(child)) return TRUE;
  Control control;
  control.window = child;
  control.className = ClassOf(child);
  control.id = GetDlgCtrlID(child);
  control.text = TextOf(child);
  control.style = GetWindowLongA(child, GWL_STYLE);
  control.enabled = IsWindowEnabled(child) != FALSE;
  search->controls->push_back(control);
  return TRUE;
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

std::string DescribeControl(const Control &control, HWND focus) {
  if (control.className == "Static" && (control.style & SS_TYPEMASK) == SS_ICON) {
    // Which icon it is cannot be read from another process; whether it
    // holds one can.
    DWORD_PTR icon = 0;
    SendMessageTimeoutA(control.window, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, kReplyTimeoutMs, &icon);
    return "  Static " + std::to_string(control.id) + (icon ? " icon" : " no icon");
  }
  if (control.className == WC_TREEVIEWA) return "  tree " + Quoted(SelectedItemText(control.window));
  std::string line = "  " + control.className + " " + std::to_string(control.id) + " " + Quoted(control.text);
  if (control.className == "Button") {
    LONG type = control.style & BS_TYPEMASK;
    if (type == BS_DEFPUSHBUTTON) line += " default";
    if (type == BS_GROUPBOX) line += " groupbox";
  }
  if (control.className == "Edit" && (control.style & ES_READONLY)) line += " readonly";
  if (!control.enabled) line += " disabled";
  if (control.window == focus) line += " focus";
  return line;
}

}  // namespace

std::string ClassOf(HWND window) {
  char name[256];
  int length = GetClassNameA(window, name, sizeof name);
  return std::string(name, length > 0 ? length : 0);
}

std::string TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kReplyTimeoutMs, &length))
    return "<no answer>";
  std::vector<char> text(length + 1);
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_ABORTIFHUNG, kReplyTimeoutMs, &copied))
    return "<no answer>";
  return std::string(text.data(), copied < text.size() ? copied : text.size() - 1);
}

std::vector<Control> ControlsOf(HWND window) {
  std::vector<Control> controls;
  ChildSearch search = {window, &controls};
  EnumChildWindows(window, AddChild, reinterpret_cast<LPARAM>(&search));
  return controls;
}

bool FindControl(HWND window, int id, Control *found) {
  for (const Control &control : ControlsOf(window)) {
    if (control.id == id) {
      *found = control;
      return true;
    }
  }
  return false;
}

void Describe(Transcript &transcript, HWND window) {
  std::string line = "window " + Quoted(TextOf(window)) + " class " + ClassOf(window) + " owner ";
  HWND owner = GetWindow(window, GW_OWNER);
  line += owner ? Quoted(TextOf(owner)) : "none";
  transcript.Line(line);
  HWND focus = FocusOf(window);
  for (const Control &control : ControlsOf(window)) transcript.Line(DescribeControl(control, focus));
}
