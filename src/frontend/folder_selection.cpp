#include "folder_selection.h"

#include "frontend/product_profile.h"
#include "shared/paths.h"
#include "shared/show_message.h"
#include "shared/updater_state.h"

namespace {

const char kNotGameFolder[] = "ゲームフォルダーではありません。";
const char kInvalidFolderName[] = "無効なフォルダー名が入力されました";
const char kSelected[] = "選択された";
// The browser opens with this folder selected, every time.
const char kStartFolder[] = "C:";

// "<folder>\<game name>.exe". False, with out emptied, when it would not
// fit: such a folder is never the game's.
bool GameExecutablePath(char *out, size_t room, const char *folder) {
  char name[MAX_PATH];
  return ConcatPath(name, sizeof name, Profile().GameName, ".exe", "") && JoinPath(out, room, folder, name);
}

void SetEditField(HWND browser, const char *text) {
  if (HWND edit = FindWindowExA(browser, nullptr, "EDIT", nullptr)) SetWindowTextA(edit, text);
}

void EnableOk(HWND browser, BOOL enable) {
  SendMessageA(browser, BFFM_ENABLEOK, 0, enable);
}

void OnSelectionChanged(HWND browser, LPCITEMIDLIST item) {
  OutputDebugStringA(kSelected);
  // An item without a file-system path is never the game's folder.
  char folder[MAX_PATH];
  if (!SHGetPathFromIDListA(item, folder)) {
    EnableOk(browser, FALSE);
    return;
  }
  char tested[2048];
  if (!GameExecutablePath(tested, sizeof tested, folder)) {
    EnableOk(browser, FALSE);
    return;
  }
  OutputDebugStringA(tested);
  if (PathFileExistsA(tested)) {
    EnableOk(browser, TRUE);
    SetEditField(browser, folder);
  } else {
    EnableOk(browser, FALSE);
  }
}

}  // namespace

int CALLBACK BrowseFolderCallback(HWND browser, UINT message, LPARAM lParam, LPARAM data) {
  switch (message) {
    case BFFM_INITIALIZED:
      if (data) SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, data);
      EnableOk(browser, FALSE);
      return 0;
    case BFFM_SELCHANGED:
      OnSelectionChanged(browser, reinterpret_cast<LPCITEMIDLIST>(lParam));
      return 0;
    case BFFM_VALIDATEFAILEDA:
      // This message belongs to the browser: it is its owner, and the
      // caption says what went wrong with the name it shows.
      MessageBoxA(browser, reinterpret_cast<LPCSTR>(lParam), kInvalidFolderName, MB_TOPMOST | MB_ICONWARNING);
      SetEditField(browser, "");
      return 1;  // keep the browser open
  }
  return 0;
}

bool SelectGameFolder() {
  for (;;) {
    BROWSEINFOA info = {};
    info.hwndOwner = nullptr;
    info.pidlRoot = nullptr;
    info.pszDisplayName = g_State.InstallFolder;
    info.lpszTitle = Profile().BrowsePrompt;
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_VALIDATE;
    info.lpfn = BrowseFolderCallback;
    info.lParam = reinterpret_cast<LPARAM>(kStartFolder);
    info.iImage = 0;
    LPITEMIDLIST item = SHBrowseForFolderA(&info);
    if (!item) {
      g_State.InstallFolder[0] = '\0';
      return false;
    }
    BOOL hasPath = SHGetPathFromIDListA(item, g_State.InstallFolder);
    CoTaskMemFree(item);
    if (!hasPath) {
      g_State.InstallFolder[0] = '\0';
      return false;
    }
    // The user may have typed another folder than the one the callback
    // tested, so the choice is tested again. A folder whose path is too long
    // to test is treated as not the game's.
    char tested[MAX_PATH];
    if (GameExecutablePath(tested, sizeof tested, g_State.InstallFolder) && EntryExists(tested)) return true;
    ShowMessage(kNotGameFolder, MB_ICONERROR);
  }
}
