#include "apply_update.h"

#include <string>

#include "frontend/product_profile.h"
#include "platform/win32.h"
#include "record/uninstall_info.h"
#include "shared/paths.h"
#include "shared/show_message.h"
#include "shared/updater_state.h"
#include "shared/win32_handles.h"
#include "update/file_copy.h"

namespace {

const char kSourceMissing[] = "コピー元のファイルが見つかりません。";
const char kNoFreeSpaceFigure[] = "ディスクの空き容量が取得できません。";
const char kNotEnoughSpace[] = "ディスクの空き容量が不足しています。";
const char kCopyFailed[] = "アップデートファイルのコピーに失敗しました。";
const char kRecordFailed[] = "インストール情報の更新に失敗しました。";

const char kRecordName[] = "Setup.dat";
// Room kept free beyond the update files themselves: 100,000,000 bytes.
const ULONGLONG kFreeSpaceMargin = 100000000ull;
const size_t kPathRoom = 1024;

// Checks that every update file lies beside the updater and can be opened
// for reading, and adds up their sizes. Stops at the first that cannot.
bool CheckSources(const char *updaterFolder, ULONGLONG *totalSize) {
  *totalSize = 0;
  for (const char *const *name = Profile().UpdateFiles; **name; ++name) {
    char source[kPathRoom];
    if (!JoinPath(source, sizeof source, updaterFolder, *name)) return false;
    FileHandle file(CreateFileA(source, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen()) return false;
    *totalSize += GetFileSize(file.Get(), nullptr);
  }
  return true;
}

// Copies every update file and, for a pending update, adds its entry to the
// record. False after the first copy that failed.
bool CopyAll(const char *updaterFolder, UnInstallInfo &record) {
  for (const char *const *name = Profile().UpdateFiles; **name; ++name) {
    char source[kPathRoom];
    char target[kPathRoom];
    if (!JoinPath(source, sizeof source, updaterFolder, *name) ||
        !JoinPath(target, sizeof target, g_State.InstallFolder, *name) || !CopyUpdateFile(target, source)) {
      ShowMessage(kCopyFailed, MB_ICONWARNING);
      return false;
    }
    if (g_State.State == UpdatePending) record.AddLine("F " + std::string(*name) + ";\r\n");
  }
  return true;
}

}  // namespace

void ApplyUpdate() {
  // A path of the updater too long for its buffer names no folder the
  // sources could be found in.
  char updaterFolder[kUpdaterFolderRoom];
  ULONGLONG totalSize = 0;
  if (!FindUpdaterFolder(updaterFolder) || !CheckSources(updaterFolder, &totalSize)) {
    ShowMessage(kSourceMissing, MB_ICONWARNING);
    return;
  }

  // The space is measured on the install folder's drive.
  char drive[_MAX_DRIVE];
  _splitpath(g_State.InstallFolder, drive, nullptr, nullptr, nullptr);
  ULARGE_INTEGER freeToCaller, totalBytes, totalFree;
  if (!GetDiskFreeSpaceExA(drive, &freeToCaller, &totalBytes, &totalFree)) {
    ShowMessage(kNoFreeSpaceFigure, MB_ICONWARNING);
    return;
  }
  if (freeToCaller.QuadPart < totalSize + kFreeSpaceMargin) {
    ShowMessage(kNotEnoughSpace, MB_ICONWARNING);
    return;
  }

  // The record is read in every install state; only a pending update
  // changes it. It is destroyed on every way out from here.
  char recordPath[kPathRoom];
  JoinPath(recordPath, sizeof recordPath, g_State.InstallFolder, kRecordName);
  UnInstallInfo record(recordPath);

  if (!CopyAll(updaterFolder, record)) return;
  if (g_State.State == UpdatePending && !record.Save()) {
    ShowMessage(kRecordFailed, MB_ICONWARNING);
    return;
  }
  ShowMessage(Profile().DoneMessage, 0);
}
