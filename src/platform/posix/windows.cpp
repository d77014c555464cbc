// Windows and the thread's message queue. A window here is a handle with a
// procedure, a class name, a text and a parent; messages posted to it wait
// in the queue until the program takes them with PeekMessageA and
// dispatches them.
#include <strings.h>

#include <deque>
#include <map>

#include "layer.h"

namespace {

struct Window {
  WNDPROC procedure;
  std::string className;
  std::string text;
  HWND parent;
  int id;
};

std::map<HWND, Window> &Windows() {
  static std::map<HWND, Window> windows;
  return windows;
}

std::deque<MSG> &Queue() {
  static std::deque<MSG> queue;
  return queue;
}

bool InRange(UINT message, UINT low, UINT high) {
  return (low == 0 && high == 0) || (message >= low && message <= high);
}

}  // namespace

namespace layer {

HWND CreateWindowWithProcedure(WNDPROC procedure, const char *className, HWND parent, int id,
                               const char *text) {
  static uintptr_t next = 0x10010;
  HWND window = reinterpret_cast<HWND>(next);
  next += 0x10;
  Windows()[window] = {procedure, className ? className : "", text ? text : "", parent, id};
  return window;
}

void DestroyWindowHandle(HWND window) {
  std::map<HWND, Window> &windows = Windows();
  for (auto it = windows.begin(); it != windows.end();) {
    if (it->second.parent == window) {
      HWND child = it->first;
      ++it;
      DestroyWindowHandle(child);
    } else {
      ++it;
    }
  }
  windows.erase(window);
  // Messages for a window that is gone are dropped with it.
  std::deque<MSG> &queue = Queue();
  for (auto it = queue.begin(); it != queue.end();) it = it->hwnd == window ? queue.erase(it) : it + 1;
}

bool IsWindowHandle(HWND window) {
  return Windows().count(window) != 0;
}

std::string WindowText(HWND window) {
  auto it = Windows().find(window);
  return it == Windows().end() ? std::string() : it->second.text;
}

HWND ChildWithId(HWND parent, int id) {
  for (const auto &entry : Windows())
    if (entry.second.parent == parent && entry.second.id == id) return entry.first;
  return nullptr;
}

LRESULT SendToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto it = Windows().find(window);
  return it == Windows().end() || !it->second.procedure
             ? 0
             : it->second.procedure(window, message, wParam, lParam);
}

bool PostToQueue(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (window && !IsWindowHandle(window)) return false;
  MSG posted = {};
  posted.hwnd = window;
  posted.message = message;
  posted.wParam = wParam;
  posted.lParam = lParam;
  Queue().push_back(posted);
  return true;
}

void ResetWindows() {
  Windows().clear();
  Queue().clear();
}

}  // namespace layer

extern "C" {

BOOL PeekMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT removeMessage) {
  layer::Enter("PeekMessageA", nullptr,
               {reinterpret_cast<uintptr_t>(window), filterMin, filterMax, removeMessage});
  std::deque<MSG> &queue = Queue();
  for (auto it = queue.begin(); it != queue.end(); ++it) {
    if (window && it->hwnd != window) continue;
    if (!InRange(it->message, filterMin, filterMax)) continue;
    *message = *it;
    if (removeMessage & PM_REMOVE) queue.erase(it);
    return TRUE;
  }
  return FALSE;
}

// Only keyboard messages are translated, and none arrive here.
BOOL TranslateMessage(const MSG *message) {
  layer::Enter("TranslateMessage", nullptr, {message ? message->message : 0u});
  return FALSE;
}

LRESULT DispatchMessageA(const MSG *message) {
  layer::Enter("DispatchMessageA", nullptr, {message ? message->message : 0u});
  if (!message || !message->hwnd) return 0;  // thread messages have no procedure
  return layer::SendToWindow(message->hwnd, message->message, message->wParam, message->lParam);
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // The browser's selection by path is logged with its path.
  const char *path =
      message == BFFM_SETSELECTIONA && wParam ? reinterpret_cast<const char *>(lParam) : nullptr;
  layer::Enter("SendMessageA", path,
               {reinterpret_cast<uintptr_t>(window), message, wParam, static_cast<uint64_t>(lParam)});
  return layer::SendToWindow(window, message, wParam, lParam);
}

BOOL SetWindowTextA(HWND window, LPCSTR text) {
  layer::Enter("SetWindowTextA", text, {reinterpret_cast<uintptr_t>(window)});
  auto it = Windows().find(window);
  if (it == Windows().end()) {
    SetLastError(1400);  // ERROR_INVALID_WINDOW_HANDLE
    return FALSE;
  }
  it->second.text = text ? text : "";
  return TRUE;
}

BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text) {
  layer::Enter("SetDlgItemTextA", text, {reinterpret_cast<uintptr_t>(dialog), static_cast<uint64_t>(id)});
  // Control ids are 16 bits: -1 names the control stored as 0xFFFF.
  HWND control = layer::ChildWithId(dialog, id & 0xFFFF);
  if (!control) {
    SetLastError(1421);  // ERROR_CONTROL_ID_NOT_FOUND
    return FALSE;
  }
  Windows()[control].text = text ? text : "";
  return TRUE;
}

HWND FindWindowExA(HWND parent, HWND after, LPCSTR className, LPCSTR windowName) {
  layer::Enter("FindWindowExA", className,
               {reinterpret_cast<uintptr_t>(parent), reinterpret_cast<uintptr_t>(after)});
  bool passed = after == nullptr;
  for (const auto &entry : Windows()) {
    if (entry.second.parent != parent) continue;
    if (!passed) {
      passed = entry.first == after;
      continue;
    }
    if (className && strcasecmp(entry.second.className.c_str(), className) != 0) continue;
    if (windowName && entry.second.text != windowName) continue;
    return entry.first;
  }
  return nullptr;
}

}  // extern "C"
