// Inside the stand-in layer: the path translation, the front that shows
// windows to the user, and the observer through which the test control
// watches and steers the layer. The program itself runs with the console
// front and without an observer.
#pragma once

#include <stdint.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "winapi.h"

namespace layer {

// Turns a Windows-style path into the host's: both separators become '/',
// except a 0x5C that is the trail byte of a code page 932 character.
std::string HostPath(const char *path);

// True for a lead byte of code page 932; the next byte belongs to it.
inline bool IsLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// A modal dialog as the user sees it: its title and its controls in
// template order.
struct DialogView {
  struct Control {
    int id;
    std::string className;
    std::string text;
  };
  std::string title;
  std::vector<Control> controls;
};

// The folder browser as the user sees it.
struct BrowserView {
  std::string title;      // the text above the folder tree
  std::string selection;  // the selected folder's path; empty for none or a virtual item
  std::string edit;       // the edit field's text
  bool okEnabled;
};

// One thing the user does in the folder browser.
struct BrowserStep {
  enum Kind {
    Select,         // select the folder at `text`
    SelectVirtual,  // select an item that has no file-system path
    Type,           // put `text` in the edit field
    Ok,             // press OK; ignored while it is disabled
    Cancel,
    // The console's one way to answer: a name that resolves to a folder is
    // selected and OK pressed; one that does not goes to the callback as
    // an invalid name, as OK would send it.
    Submit,
  };
  Kind kind;
  std::string text;
};

// What the user sees: every window of the program goes through a front.
class Front {
 public:
  virtual ~Front() = default;
  virtual int MessageBox(HWND owner, const char *text, const char *caption, UINT style) = 0;
  // The id of the control the user pressed in the dialog, or 0 for its
  // close box.
  virtual int DialogCommand(const DialogView &view) = 0;
  // EndDialog hid the dialog; the dialog was destroyed.
  virtual void DialogEnded(const DialogView &view) = 0;
  virtual void DialogDestroyed(const DialogView &view) = 0;
  // The browser opened; the user's next step in it; the browser closed with
  // the chosen path ("" when cancelled or the item has no path).
  virtual void BrowserOpened(const BrowserView &view) = 0;
  virtual BrowserStep NextBrowserStep(const BrowserView &view) = 0;
  virtual void BrowserClosed(const std::string &chosen) = 0;
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

// Windows: a handle with a procedure, a class, a text and children, and
// the thread's queue.
HWND CreateWindowWithProcedure(WNDPROC procedure, const char *className = "", HWND parent = nullptr,
                               int id = 0, const char *text = "");
void DestroyWindowHandle(HWND window);  // and its children
bool IsWindowHandle(HWND window);
std::string WindowText(HWND window);
// The child of a window with that id, or null.
HWND ChildWithId(HWND parent, int id);
LRESULT SendToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
bool PostToQueue(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void ResetWindows();

// Dialog templates among the program's resources.
struct DialogTemplate {
  const char *name;
  const char *title;
  struct Control {
    int id;
    const char *className;
    const char *text;
  } controls[4];
  int controlCount;
};
const DialogTemplate *FindDialogTemplate(const char *name);

// Handles still open in the process, and item lists not yet freed, for the
// test control's leak checks.
int OpenHandleCount();
int LiveItemCount();
void CloseAllHandles();

}  // namespace layer
