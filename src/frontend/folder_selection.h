// Lets the user choose the game's folder when the installer's settings do
// not name it.
#pragma once

// True when the install folder now holds a folder with the game executable;
// false when the user gave up (the install folder is then empty).
bool SelectGameFolder();
