#include "install_state.h"

#include "frontend/product_profile.h"
#include "platform/win32.h"
#include "shared/paths.h"
#include "shared/win32_handles.h"

namespace {

// What examining one copy tells: whether it opened, and the low 32 bits of
// its size.
struct CopyFacts {
  bool opened;
  DWORD size;
};

// Opens the copy for reading without sharing, only to learn its size.
CopyFacts Examine(const char *path) {
  FileHandle file(CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_RANDOM_ACCESS, nullptr));
  if (!file.IsOpen()) return {false, 0};
  return {true, GetFileSize(file.Get(), nullptr)};
}

// Two copies match when both opened with equal sizes, or neither opened.
bool Match(const CopyFacts &a, const CopyFacts &b) {
  if (a.opened != b.opened) return false;
  return !a.opened || a.size == b.size;
}

// Whether one update file's copy in the install folder is in place. A path
// that does not fit its buffer cannot show that it is: the file counts as
// still to be updated, and the update run forms its own paths.
bool CopyInPlace(const char *name) {
  char installCopy[MAX_PATH];
  if (!JoinPath(installCopy, sizeof installCopy, g_State.InstallFolder, name)) return false;
  if (!EntryExists(installCopy)) return false;

  char updaterFolder[kUpdaterFolderRoom];
  char updaterCopy[kUpdaterFolderRoom];
  if (!FindUpdaterFolder(updaterFolder)) return false;
  if (!JoinPath(updaterCopy, sizeof updaterCopy, updaterFolder, name)) return false;

  CopyFacts installed = Examine(installCopy);
  CopyFacts delivered = Examine(updaterCopy);
  return Match(installed, delivered);
}

}  // namespace

InstallState ProbeInstallState(const char *gameName) {
  // A settings path that would not fit cannot be read: the game then counts
  // as not installed and the user chooses its folder.
  char settingsPath[MAX_PATH];
  if (!ConcatPath(settingsPath, sizeof settingsPath, g_State.MakerDataFolder, gameName, ".ini"))
    return NotInstalled;
  if (!EntryExists(settingsPath)) return NotInstalled;

  // Only the low 8 bits of the value say whether the game is installed.
  BYTE isInstall = static_cast<BYTE>(GetPrivateProfileIntA("INSTALL", "IsInstall", -1, settingsPath));
  if (isInstall != 1) return NotInstalled;

  // One byte more than the folder may use, so that a longer value shows
  // itself instead of being cut to a folder the installer never named.
  DWORD length = GetPrivateProfileStringA("INSTALL", "InstallFold", "", g_State.InstallFolder,
                                          kInstallFolderLimit + 1, settingsPath);
  if (length >= static_cast<DWORD>(kInstallFolderLimit)) {
    g_State.InstallFolder[0] = '\0';
    return NotInstalled;
  }

  // The walk stops at the first file that is not in place.
  for (const char *const *name = Profile().UpdateFiles; **name; ++name)
    if (!CopyInPlace(*name)) return UpdatePending;
  return AlreadyUpdated;
}
