#include "folder_selection.h"

#include "shared/updater_state.h"

// NOT YET BUILT: the folder browser comes later. Until then the user cannot
// choose a folder, which ends the run as a cancelled browser does.
bool SelectGameFolder() {
  g_State.InstallFolder[0] = '\0';
  return false;
}
