// Inside the stand-in layer: the path translation, the front that shows
// windows to the user, and the observer through which the test control
// watches and steers the layer. The program itself runs with the console
// front and without an observer.
#pragma once

#include <stdint.h>

#include <initializer_list>
#include <string>

#include "winapi.h"

namespace layer {

// Turns a Windows-style path into the host's: both separators become '/',
// except a 0x5C that is the trail byte of a code page 932 character.
std::string HostPath(const char *path);

// True for a lead byte of code page 932; the next byte belongs to it.
inline bool IsLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// What the user sees: every window of the program goes through a front.
class Front {
 public:
  virtual ~Front() = default;
  virtual int MessageBox(HWND owner, const char *text, const char *caption, UINT style) = 0;
};

// The console front is current unless a test installs another.
Front &CurrentFront();
void SetFront(Front *front);  // null restores the console front

// Watches and steers the layer; installed by the test control only.
class Observer {
 public:
  virtual ~Observer() = default;
  virtual void Called(const char *name, const std::string &path, std::initializer_list<uint64_t> args) = 0;
  // True when the call is to fail; *error is then its error code.
  virtual bool ShouldFail(const char *name, const std::string &path, DWORD *error) = 0;
  virtual void DebugText(const char *text) = 0;
  // A figure that replaces the file system's, when the observer has one.
  virtual bool ModulePath(std::string *path) = 0;
  virtual bool FreeSpace(uint64_t *bytes) = 0;
};

Observer *CurrentObserver();
void SetObserver(Observer *observer);

// Logs a call and tells whether the observer wants it to fail; when it does,
// the call's last error is already set.
bool Enter(const char *name, const char *path, std::initializer_list<uint64_t> args = {});

// Windows: a handle with a procedure, and the thread's queue.
HWND CreateWindowWithProcedure(WNDPROC procedure);
void DestroyWindowHandle(HWND window);
bool IsWindowHandle(HWND window);
LRESULT SendToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
bool PostToQueue(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void ResetWindows();

// Handles still open in the process, for the test control's leak checks.
int OpenHandleCount();
void CloseAllHandles();

}  // namespace layer
