#include "paths.h"

#include "platform/win32.h"
#include "shared/win32_handles.h"

namespace {

// wsprintfA never writes more than this, its NUL included.
const size_t kFormatLimit = 1024;

bool Fits(size_t length, size_t room) {
  return length + 1 <= room && length + 1 <= kFormatLimit;
}

}  // namespace

bool JoinPath(char *out, size_t room, const char *folder, const char *name) {
  size_t length = static_cast<size_t>(lstrlenA(folder)) + 1 + static_cast<size_t>(lstrlenA(name));
  if (!Fits(length, room)) {
    if (room) out[0] = '\0';
    return false;
  }
  wsprintfA(out, "%s\\%s", folder, name);
  return true;
}

bool ConcatPath(char *out, size_t room, const char *first, const char *second, const char *third) {
  size_t length = static_cast<size_t>(lstrlenA(first)) + static_cast<size_t>(lstrlenA(second)) +
                  static_cast<size_t>(lstrlenA(third));
  if (!Fits(length, room)) {
    if (room) out[0] = '\0';
    return false;
  }
  wsprintfA(out, "%s%s%s", first, second, third);
  return true;
}

bool FindUpdaterFolder(char (&folder)[kUpdaterFolderRoom]) {
  DWORD length = GetModuleFileNameA(nullptr, folder, kUpdaterFolderRoom);
  if (length == 0 || length >= kUpdaterFolderRoom) {
    folder[0] = '\0';
    return false;
  }
  PathRemoveFileSpecA(folder);
  return true;
}

bool EntryExists(const char *path) {
  WIN32_FIND_DATAA found;
  FindHandle search(FindFirstFileA(path, &found));
  return search.IsOpen();
}
