// The folder browser's tree, read and steered from the driver's process.
// The tree's items live in the program's process: an item's text is read
// through a small block of memory borrowed there, and an item is selected
// as the user's click selects it, so the browser and its callback see an
// ordinary selection change.
#pragma once

#include <windows.h>

#include <string>

// The text of the tree's selected item; empty when none is selected.
std::string SelectedItemText(HWND tree);

// Expands the selected item and selects its child of that name (compared
// without regard to case, as folder names are). False when there is no such
// child or the tree does not answer.
bool SelectChild(HWND tree, const std::string &name);
