// Windows and the thread's message queue. A window here is a handle with a
// procedure; messages posted to it wait in the queue until the program
// takes them with PeekMessageA and dispatches them.
#include <deque>
#include <map>

#include "layer.h"

namespace {

std::map<HWND, WNDPROC> &Procedures() {
  static std::map<HWND, WNDPROC> procedures;
  return procedures;
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

HWND CreateWindowWithProcedure(WNDPROC procedure) {
  static uintptr_t next = 0x10010;
  HWND window = reinterpret_cast<HWND>(next);
  next += 0x10;
  Procedures()[window] = procedure;
  return window;
}

void DestroyWindowHandle(HWND window) {
  Procedures().erase(window);
  // Messages for a window that is gone are dropped with it.
  std::deque<MSG> &queue = Queue();
  for (auto it = queue.begin(); it != queue.end();) it = it->hwnd == window ? queue.erase(it) : it + 1;
}

bool IsWindowHandle(HWND window) {
  return Procedures().count(window) != 0;
}

LRESULT SendToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto it = Procedures().find(window);
  return it == Procedures().end() || !it->second ? 0 : it->second(window, message, wParam, lParam);
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
  Procedures().clear();
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

// Only keyboard messages are translated, and none are posted here.
BOOL TranslateMessage(const MSG *message) {
  layer::Enter("TranslateMessage", nullptr, {message ? message->message : 0u});
  return FALSE;
}

LRESULT DispatchMessageA(const MSG *message) {
  layer::Enter("DispatchMessageA", nullptr, {message ? message->message : 0u});
  if (!message || !message->hwnd) return 0;  // thread messages have no procedure
  return layer::SendToWindow(message->hwnd, message->message, message->wParam, message->lParam);
}

}  // extern "C"
