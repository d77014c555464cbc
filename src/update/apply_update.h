// The update run: checks the update files and the free space, copies the
// files into the install folder and records them for the uninstaller.
#pragma once

void ApplyUpdate();
