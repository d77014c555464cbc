// Special folders: the user's application-data folder is APPDATA, the
// common one PROGRAMDATA. A folder is found only when its variable names an
// existing folder; it is never created.
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include <string>

#include "layer.h"

extern "C" {

BOOL SHGetSpecialFolderPathA(HWND, LPSTR path, int folder, BOOL create) {
  if (layer::Enter("SHGetSpecialFolderPathA", nullptr,
                   {static_cast<uint64_t>(folder), static_cast<uint64_t>(create)}))
    return FALSE;
  const char *variable = folder == CSIDL_APPDATA          ? "APPDATA"
                         : folder == CSIDL_COMMON_APPDATA ? "PROGRAMDATA"
                                                          : nullptr;
  const char *value = variable ? getenv(variable) : nullptr;
  if (!path || !value || !*value) return FALSE;
  struct stat st;
  if (stat(layer::HostPath(value).c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return FALSE;
  // The path comes without a trailing separator, as Windows gives it.
  std::string found = value;
  while (found.size() > 1 && (found.back() == '/' || found.back() == '\\')) found.pop_back();
  if (found.size() >= MAX_PATH) return FALSE;
  memcpy(path, found.c_str(), found.size() + 1);
  return TRUE;
}

}  // extern "C"
