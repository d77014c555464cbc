// The test control of the stand-in layer, linked into tests only: scripted
// answers instead of a person, a transcript of every window, the debug
// output, a log of the OS calls with their arguments, injected failures,
// figures that replace the machine's, and a reset between tests.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "winapi.h"

namespace testctl {

// Puts the layer in its starting state: the scripted front with an empty
// script, empty logs, no faults and no replaced figures. Handles a test left
// open are closed.
void Reset();

// The script: what the user does, in order. Answer() queues the answer to
// the next message box (a button id) or the dialog (the command id; 0 is
// the close box). The browser steps queue what the user does in the folder
// browser. A message box with only an OK button answers IDOK by itself
// when the next entry is not an answer. A window whose turn finds no fitting
// entry answers as one that could not be shown (0, the close box, a
// cancelled browser), and a browser step found where an answer is due, or
// the reverse, is reported by ScriptErrors().
void Answer(int answer);
void BrowserSelect(const std::string &folder);
void BrowserSelectVirtual();  // an item without a file-system path
void BrowserType(const std::string &text);
void BrowserOk();
void BrowserCancel();
const std::vector<std::string> &ScriptErrors();

// One window the program showed, or a change to one.
struct Window {
  // "MessageBox", "Dialog" (shown, waiting for the user), "DialogEnded"
  // (hidden by EndDialog), "DialogDestroyed", "Browser" (opened),
  // "BrowserClosed"
  std::string kind;
  HWND owner;
  std::string caption;  // a dialog's or the browser's title
  std::string text;     // the dialog's install-folder field; the folder the browser chose
  UINT style;
  int answer;
  int openHandles;    // files and searches open while it was shown
  std::string group;  // the dialog's group box caption
};
const std::vector<Window> &Transcript();
// The kinds of the transcript's entries, in order.
std::vector<std::string> TranscriptKinds();

const std::vector<std::string> &DebugOutput();

// One OS call: its name, the path it concerned (the file a handle was opened
// for), and its other arguments in order.
struct Call {
  std::string name;
  std::string path;
  std::vector<uint64_t> args;
};
const std::vector<Call> &Calls();
// The calls of one name, in order.
std::vector<Call> CallsNamed(const std::string &name);

// Makes a call fail with `error`: every call of that name whose path
// contains `pathPart` (any path when empty), or only the nth such call
// (counted from 1) when nth is not 0.
void Fail(const std::string &name, const std::string &pathPart = "", int nth = 0,
          DWORD error = ERROR_ACCESS_DENIED);

// The program's own path, as GetModuleFileNameA reports it.
void SetModulePath(const std::string &path);

// The free bytes available to the caller, as GetDiskFreeSpaceExA reports them.
void SetFreeSpace(uint64_t bytes);

// A window of the thread with its procedure, and posting to it: the
// message waits in the thread's queue until the program pumps it.
HWND CreateWindowWithProcedure(WNDPROC procedure);
bool PostMessageTo(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// Handles (files and searches) open at the moment, and the browser's item
// lists not yet freed.
int OpenHandles();

}  // namespace testctl
