// The entry point and the order of a run: find the maker data folder, ask
// the save-data question, probe the installation, choose or confirm the
// game folder, then show the confirmation dialog, inside which the update
// runs. The exit code is -1 without an application-data folder, 0 when the
// user declines at the save-data question, and 1 for every other end.
#include "detect/install_state.h"
#include "frontend/confirm_dialog.h"
#include "frontend/dll_search.h"
#include "frontend/folder_selection.h"
#include "frontend/product_profile.h"
#include "platform/win32.h"
#include "shared/paths.h"
#include "shared/show_message.h"
#include "shared/updater_state.h"

namespace {

const char kNoAppDataFolder[] = "AppDataフォルダが見つかりませんでした";
const char kSaveDataQuestion[] =
    "この更新プログラムを実行すると、セーブデータは使用できなくなります。\nよろしいですか？";

// The user's application-data folder, else the common one; never created.
bool FindAppDataFolder(char *folder) {
  return SHGetSpecialFolderPathA(nullptr, folder, CSIDL_APPDATA, FALSE) ||
         SHGetSpecialFolderPathA(nullptr, folder, CSIDL_COMMON_APPDATA, FALSE);
}

// Appends "\<maker folder>\" to the application-data folder, so that the
// installer's settings file is this folder followed by its file name.
bool CompleteMakerDataFolder() {
  char *folder = g_State.MakerDataFolder;
  size_t used = static_cast<size_t>(lstrlenA(folder));
  size_t added = static_cast<size_t>(lstrlenA(Profile().MakerFolder)) + 2;
  if (used + added + 1 > sizeof g_State.MakerDataFolder || added + 1 > 1024) return false;
  wsprintfA(folder + used, "\\%s\\", Profile().MakerFolder);
  return true;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  RestrictDllSearch();
  g_State.Instance = instance;

  if (!FindAppDataFolder(g_State.MakerDataFolder)) {
    ShowMessage(kNoAppDataFolder, MB_ICONERROR);
    return -1;
  }

  // Only an explicit No stops the run here.
  if (ShowMessage(kSaveDataQuestion, MB_ICONQUESTION | MB_YESNO) == IDNO) return 0;

  // The maker's folder name comes from the profile and fits with room to
  // spare; should it ever not, no settings file can be named, and the game
  // counts as not installed.
  g_State.State = CompleteMakerDataFolder() ? ProbeInstallState(Profile().GameName) : NotInstalled;

  switch (g_State.State) {
    case NotInstalled:
      if (!SelectGameFolder()) return 1;
      break;
    case UpdatePending:
      break;
    case AlreadyUpdated:
      // Only an explicit Yes goes on here.
      if (ShowMessage(Profile().OverwriteQuestion, MB_YESNO) != IDYES) return 1;
      break;
  }

  DialogBoxParamA(g_State.Instance, "PATCH", nullptr, PatchDialogProc, 0);
  return 1;
}
