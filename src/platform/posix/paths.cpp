// The program's own path and the path helpers of the shell and the C
// runtime. Both separators count, and code page 932 trail bytes never do.
#include <limits.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "layer.h"

namespace {

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

// The part of a path that naming a file inside it never removes: "X:\",
// "X:", a leading separator, or nothing.
size_t RootLength(const char *path) {
  if (path[0] && path[1] == ':' && !layer::IsLeadByte(static_cast<unsigned char>(path[0])))
    return IsSeparator(path[2]) ? 3 : 2;
  return IsSeparator(path[0]) ? 1 : 0;
}

// Index of the last separator at or after `from`, or -1.
long LastSeparator(const char *path, size_t from) {
  long last = -1;
  for (size_t i = 0; path[i]; ++i) {
    if (layer::IsLeadByte(static_cast<unsigned char>(path[i])) && path[i + 1]) {
      ++i;
      continue;
    }
    if (i >= from && IsSeparator(path[i])) last = static_cast<long>(i);
  }
  return last;
}

void CopyPart(char *out, size_t room, const char *begin, size_t length) {
  if (!out) return;
  if (length >= room) length = room - 1;
  memcpy(out, begin, length);
  out[length] = '\0';
}

}  // namespace

extern "C" {

DWORD GetModuleFileNameA(HMODULE, LPSTR name, DWORD size) {
  if (layer::Enter("GetModuleFileNameA", nullptr, {size})) return 0;
  std::string path;
  layer::Observer *o = layer::CurrentObserver();
  if (!o || !o->ModulePath(&path)) {
    char buffer[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n < 0) {
      SetLastError(ERROR_FILE_NOT_FOUND);
      return 0;
    }
    path.assign(buffer, static_cast<size_t>(n));
  }
  if (size == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  // A path that does not fit is cut and terminated, and the full size is
  // returned with ERROR_INSUFFICIENT_BUFFER, as Windows does.
  if (path.size() >= size) {
    memcpy(name, path.data(), size - 1);
    name[size - 1] = '\0';
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
  }
  memcpy(name, path.c_str(), path.size() + 1);
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(path.size());
}

BOOL PathRemoveFileSpecA(LPSTR path) {
  if (!path) return FALSE;
  size_t root = RootLength(path);
  long last = LastSeparator(path, root);
  size_t cut = last >= 0 ? static_cast<size_t>(last) : root;
  if (path[cut] == '\0') return FALSE;
  path[cut] = '\0';
  return TRUE;
}

BOOL PathFileExistsA(LPCSTR path) {
  if (layer::Enter("PathFileExistsA", path)) return FALSE;
  struct stat st;
  return path && *path && stat(layer::HostPath(path).c_str(), &st) == 0;
}

void _splitpath(const char *path, char *drive, char *dir, char *fname, char *ext) {
  const char *p = path ? path : "";
  size_t driveLength = p[0] && p[1] == ':' ? 2 : 0;
  CopyPart(drive, _MAX_DRIVE, p, driveLength);
  const char *rest = p + driveLength;
  long last = LastSeparator(rest, 0);
  size_t dirLength = last >= 0 ? static_cast<size_t>(last) + 1 : 0;
  CopyPart(dir, _MAX_DIR, rest, dirLength);
  const char *name = rest + dirLength;
  const char *dot = strrchr(name, '.');
  size_t nameLength = dot ? static_cast<size_t>(dot - name) : strlen(name);
  CopyPart(fname, _MAX_FNAME, name, nameLength);
  CopyPart(ext, _MAX_EXT, name + nameLength, strlen(name + nameLength));
}

}  // extern "C"
