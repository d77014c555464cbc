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

// Queues the answer to the next window. A message box with only an OK
// button answers IDOK by itself when nothing is queued; any other window
// with nothing queued answers 0, as a window that could not be shown.
void Answer(int answer);

// One window the program showed.
struct Window {
  std::string kind;  // "MessageBox"
  HWND owner;
  std::string caption;
  std::string text;
  UINT style;
  int answer;
  int openHandles;  // files and searches open while it was shown
};
const std::vector<Window> &Transcript();

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

// Handles (files and searches) open at the moment.
int OpenHandles();

}  // namespace testctl
