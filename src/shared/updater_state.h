// Values that live for the whole run, each with one writer: the entry point
// writes the instance, the maker data folder and the install state; the
// install-state probe or the folder selection writes the install folder.
#pragma once

#include "platform/win32.h"

enum InstallState {
  NotInstalled = 0,    // no installer settings, or they do not say installed
  UpdatePending = 1,   // installed, and some update file's copy is missing or differs
  AlreadyUpdated = 2,  // installed, and every copy matches
};

// The install folder buffer is large, but no more than this is ever filled.
const int kInstallFolderLimit = MAX_PATH;

struct UpdaterState {
  HINSTANCE Instance;
  char MakerDataFolder[2048];  // application data, maker folder, ends with '\'
  char InstallFolder[2048];    // at most kInstallFolderLimit bytes are used
  InstallState State;
};

extern UpdaterState g_State;
