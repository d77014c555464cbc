// Decides from the game installer's settings and the update files whether
// the game is installed and whether the update is already in place.
#pragma once

#include "shared/updater_state.h"

// Reads the settings file "<maker data folder><game name>.ini", fills the
// install folder when it says installed, and compares each update file's
// copy in the install folder with the copy beside the updater. Shows no
// message and never creates a file.
InstallState ProbeInstallState(const char *gameName);
