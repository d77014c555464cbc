// Lets the user choose the game's folder in the folder browser when the
// installer's settings do not name it.
#pragma once

#include "platform/win32.h"

// Shows the browser until the user picks a folder that holds the game
// executable or gives up. True when the install folder now holds such a
// folder; false when the user cancelled (the install folder is then empty)
// or chose an item without a file-system path.
bool SelectGameFolder();

// The browser's callback: keeps OK enabled exactly while the selected folder
// holds the game executable, and fills the edit field with that folder.
int CALLBACK BrowseFolderCallback(HWND browser, UINT message, LPARAM lParam, LPARAM data);
