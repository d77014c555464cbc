// The end-to-end test driver: starts the program, waits for each of its
// windows, writes what the window shows to a transcript and answers it as a
// script says. The suite compares the transcript with the expected one.
//
//   wine_driver.exe PROGRAM SCRIPT TRANSCRIPT
//
// The script holds one command a line; lines starting with '#' are notes:
//   window       wait for the program's next new window and describe it,
//                with the earlier windows still shown beside it
//   show         describe the current window again
//   press ID     press the current window's button ID (the WM_COMMAND that
//                the button sends when it is clicked); a disabled or
//                missing button is an error
//   close        the current window's close box (SC_CLOSE)
//   select NAME  folder browser: expand the selected folder and select its
//                subfolder NAME, as a click in the tree does
//   shot FILE    write a picture of the current window to FILE (BMP)
//   exit         wait for the program to end and write its exit code; done
//                after the last line too
// A window that appears where the script expects none, and a wait longer
// than 20 seconds, are errors: the transcript says so, the program is
// ended, and the driver exits with 1. Otherwise it exits with 0.
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "folder_tree.h"
#include "picture.h"
#include "transcript.h"
#include "window_report.h"

namespace {

const DWORD kWaitMs = 20000;
const DWORD kPollMs = 50;
const UINT kReplyTimeoutMs = 5000;
const UINT kDriverGaveUp = 99;

struct Run {
  Transcript *transcript;
  HANDLE process;
  DWORD processId;
  std::vector<HWND> handled;  // the windows the script has taken, in order
  HWND current = nullptr;
};

BOOL CALLBACK AddWindowOfProcess(HWND window, LPARAM lParam) {
  auto *found = reinterpret_cast<std::pair<DWORD, std::vector<HWND> *> *>(lParam);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId == found->first && IsWindowVisible(window)) found->second->push_back(window);
  return TRUE;
}

std::vector<HWND> VisibleWindowsOf(DWORD processId) {
  std::vector<HWND> windows;
  std::pair<DWORD, std::vector<HWND> *> found(processId, &windows);
  EnumWindows(AddWindowOfProcess, reinterpret_cast<LPARAM>(&found));
  return windows;
}

HWND NewWindow(const Run &run) {
  for (HWND window : VisibleWindowsOf(run.processId))
    if (std::find(run.handled.begin(), run.handled.end(), window) == run.handled.end()) return window;
  return nullptr;
}

bool HasEnded(const Run &run) {
  return WaitForSingleObject(run.process, 0) == WAIT_OBJECT_0;
}

// Waits until the window's thread has handled what was sent before, so
// that the window is in the state its program left it in.
void Settle(HWND window) {
  DWORD_PTR ignored;
  SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kReplyTimeoutMs, &ignored);
}

bool Fail(Run &run, const std::string &why) {
  run.transcript->Line("error " + why);
  TerminateProcess(run.process, kDriverGaveUp);
  WaitForSingleObject(run.process, kWaitMs);
  return false;
}

bool FailOnNewWindow(Run &run, HWND window) {
  Settle(window);
  run.transcript->Line("unexpected window");
  Describe(*run.transcript, window);
  return Fail(run, "a window appeared where the script expects none");
}

bool TakeNewWindow(Run &run) {
  for (DWORD waited = 0; waited < kWaitMs; waited += kPollMs) {
    if (HWND window = NewWindow(run)) {
      Settle(window);
      Describe(*run.transcript, window);
      // Earlier windows that are still on the screen beside it.
      for (HWND earlier : run.handled)
        if (IsWindow(earlier) && IsWindowVisible(earlier))
          run.transcript->Line("  beside " + Quoted(TextOf(earlier)));
      run.handled.push_back(window);
      run.current = window;
      return true;
    }
    if (HasEnded(run)) return Fail(run, "the program ended before its next window");
    Sleep(kPollMs);
  }
  return Fail(run, "no new window within the time");
}

bool Press(Run &run, const std::string &argument) {
  int id = atoi(argument.c_str());
  Control button;
  if (!FindControl(run.current, id, &button)) return Fail(run, "no button " + argument);
  if (!button.enabled) return Fail(run, "button " + argument + " is disabled");
  PostMessageA(run.current, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button.window));
  return true;
}

bool SelectFolder(Run &run, const std::string &name) {
  HWND tree = FindWindowExA(run.current, nullptr, "SysTreeView32", nullptr);
  if (!tree || !SelectChild(tree, name)) return Fail(run, "no folder " + Quoted(name) + " in the tree");
  Settle(run.current);
  return true;
}

bool WaitForExit(Run &run) {
  for (DWORD waited = 0; !HasEnded(run); waited += kPollMs) {
    if (HWND window = NewWindow(run)) return FailOnNewWindow(run, window);
    if (waited >= kWaitMs) return Fail(run, "the program did not end");
    Sleep(kPollMs);
  }
  DWORD code = 0;
  GetExitCodeProcess(run.process, &code);
  run.transcript->Line("exit " + std::to_string(static_cast<int>(code)));
  return true;
}

bool Perform(Run &run, const std::string &command, const std::string &argument) {
  if (command == "window") return TakeNewWindow(run);
  if (command == "exit") return WaitForExit(run);
  if (!run.current) return Fail(run, command + " before any window");
  if (command == "show") {
    Settle(run.current);
    Describe(*run.transcript, run.current);
    return true;
  }
  // Names and texts in quotes; a button's id as it is.
  if (argument.empty() || command == "press")
    run.transcript->Line(argument.empty() ? command : command + " " + argument);
  else
    run.transcript->Line(command + " " + Quoted(argument));
  if (command == "press") return Press(run, argument);
  if (command == "close") {
    PostMessageA(run.current, WM_SYSCOMMAND, SC_CLOSE, 0);
    return true;
  }
  if (command == "select") return SelectFolder(run, argument);
  if (command == "shot") return WritePicture(run.current, argument.c_str()) || Fail(run, "no picture");
  return Fail(run, "unknown command " + Quoted(command));
}

std::vector<std::string> ReadLines(const char *path) {
  std::vector<std::string> lines;
  std::ifstream in(path, std::ios::binary);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] != '#') lines.push_back(line);
  }
  return lines;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 4) {
    fprintf(stderr, "usage: wine_driver PROGRAM SCRIPT TRANSCRIPT\n");
    return 2;
  }
  Transcript transcript(argv[3]);
  if (!transcript.IsOpen()) {
    fprintf(stderr, "cannot write %s\n", argv[3]);
    return 2;
  }
  std::vector<std::string> script = ReadLines(argv[2]);

  // The program starts in its own folder, as it does when the user opens it
  // from the folder the update came in.
  std::string program = argv[1];
  std::string folder = program.substr(0, program.find_last_of('\\'));
  std::string commandLine = "\"" + program + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &startup, &started)) {
    transcript.Line("error cannot start the program, error " + std::to_string(GetLastError()));
    return 1;
  }
  CloseHandle(started.hThread);

  Run run;
  run.transcript = &transcript;
  run.process = started.hProcess;
  run.processId = started.dwProcessId;
  bool ok = true, exited = false;
  for (const std::string &line : script) {
    size_t space = line.find(' ');
    std::string command = line.substr(0, space);
    std::string argument = space == std::string::npos ? std::string() : line.substr(space + 1);
    ok = Perform(run, command, argument);
    exited = command == "exit";
    if (!ok || exited) break;
  }
  if (ok && !exited) ok = WaitForExit(run);
  CloseHandle(run.process);
  return ok ? 0 : 1;
}
