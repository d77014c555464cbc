// Files and searches over POSIX, with the Windows behaviours the updater
// relies on: share modes enforced among the process's handles, the
// read-only attribute (the owner's write bit) refusing writes even to root,
// folders that cannot be opened as files, and 32-bit sizes.
#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <map>
#include <string>

#include "layer.h"

namespace {

struct OpenObject {
  bool isFind = false;
  int fd = -1;
  dev_t dev = 0;
  ino_t ino = 0;
  DWORD access = 0;
  DWORD share = 0;
  std::string path;  // as the caller gave it, for the observer
};

std::map<uintptr_t, OpenObject> &Objects() {
  static std::map<uintptr_t, OpenObject> objects;
  return objects;
}

// Handles look like Windows' small multiples of four and are never reused
// within a run, so a stale handle is caught instead of hitting another file.
HANDLE NewHandle(const OpenObject &object) {
  static uintptr_t next = 0x100;
  uintptr_t value = next;
  next += 4;
  Objects()[value] = object;
  return reinterpret_cast<HANDLE>(value);
}

OpenObject *Find(HANDLE handle, bool isFind) {
  auto it = Objects().find(reinterpret_cast<uintptr_t>(handle));
  if (it == Objects().end() || it->second.isFind != isFind) return nullptr;
  return &it->second;
}

bool IsReadOnly(const struct stat &st) {
  return (st.st_mode & S_IWUSR) == 0;
}

std::string ParentOf(const std::string &host) {
  size_t slash = host.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return host.substr(0, slash);
}

bool IsFolder(const std::string &host) {
  struct stat st;
  return stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A name that does not exist: the file is missing, or already its folder.
DWORD MissingError(const std::string &host) {
  return IsFolder(ParentOf(host)) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
}

DWORD ErrorFromErrno(int error, const std::string &host) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return MissingError(host);
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
      return ERROR_ACCESS_DENIED;
    case EEXIST:
      return ERROR_FILE_EXISTS;
    case ENOSPC:
    case EDQUOT:
      return ERROR_DISK_FULL;
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    default:
      return ERROR_ACCESS_DENIED;
  }
}

// Windows lets a second handle open a file only when each side's sharing
// allows the other's access.
bool SharingAllows(dev_t dev, ino_t ino, DWORD access, DWORD share) {
  for (const auto &entry : Objects()) {
    const OpenObject &other = entry.second;
    if (other.isFind || other.dev != dev || other.ino != ino) continue;
    if ((access & GENERIC_READ) && !(other.share & FILE_SHARE_READ)) return false;
    if ((access & GENERIC_WRITE) && !(other.share & FILE_SHARE_WRITE)) return false;
    if ((other.access & GENERIC_READ) && !(share & FILE_SHARE_READ)) return false;
    if ((other.access & GENERIC_WRITE) && !(share & FILE_SHARE_WRITE)) return false;
  }
  return true;
}

// Deleting or renaming needs every open handle to share delete access.
bool OpenWithoutDeleteSharing(dev_t dev, ino_t ino) {
  for (const auto &entry : Objects()) {
    const OpenObject &other = entry.second;
    if (!other.isFind && other.dev == dev && other.ino == ino && !(other.share & FILE_SHARE_DELETE))
      return true;
  }
  return false;
}

bool IsOpen(dev_t dev, ino_t ino) {
  for (const auto &entry : Objects())
    if (!entry.second.isFind && entry.second.dev == dev && entry.second.ino == ino) return true;
  return false;
}

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

}  // namespace

namespace layer {

int OpenHandleCount() {
  return static_cast<int>(Objects().size());
}

void CloseAllHandles() {
  for (auto &entry : Objects())
    if (entry.second.fd >= 0) close(entry.second.fd);
  Objects().clear();
}

}  // namespace layer

extern "C" {

HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES, DWORD disposition,
                   DWORD flags, HANDLE) {
  if (layer::Enter("CreateFileA", name, {access, share, disposition, flags})) return INVALID_HANDLE_VALUE;
  if (!name || !*name) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  std::string host = layer::HostPath(name);

  struct stat st;
  bool exists = stat(host.c_str(), &st) == 0;
  if (exists && S_ISDIR(st.st_mode)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }
  bool truncates = disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING;
  switch (disposition) {
    case CREATE_NEW:
      if (exists) {
        SetLastError(ERROR_FILE_EXISTS);
        return INVALID_HANDLE_VALUE;
      }
      break;
    case OPEN_EXISTING:
    case TRUNCATE_EXISTING:
      if (!exists) {
        SetLastError(MissingError(host));
        return INVALID_HANDLE_VALUE;
      }
      break;
    case CREATE_ALWAYS:
    case OPEN_ALWAYS:
      break;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return INVALID_HANDLE_VALUE;
  }
  if (exists) {
    if (((access & GENERIC_WRITE) || truncates) && IsReadOnly(st)) {
      SetLastError(ERROR_ACCESS_DENIED);
      return INVALID_HANDLE_VALUE;
    }
    if (!SharingAllows(st.st_dev, st.st_ino, access, share)) {
      SetLastError(ERROR_SHARING_VIOLATION);
      return INVALID_HANDLE_VALUE;
    }
  }

  int mode = (access & GENERIC_READ) && (access & GENERIC_WRITE) ? O_RDWR
             : (access & GENERIC_WRITE)                          ? O_WRONLY
                                                                 : O_RDONLY;
  if (disposition == CREATE_NEW) mode |= O_CREAT | O_EXCL;
  if (disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS) mode |= O_CREAT;
  if (truncates) mode |= O_TRUNC;
  // O_TRUNC needs write access on POSIX; Windows truncates for any access.
  if (truncates && (mode & O_ACCMODE) == O_RDONLY) mode = (mode & ~O_ACCMODE) | O_RDWR;
  int fd = open(host.c_str(), mode | O_CLOEXEC, 0666);
  if (fd < 0) {
    SetLastError(ErrorFromErrno(errno, host));
    return INVALID_HANDLE_VALUE;
  }
  struct stat opened;
  fstat(fd, &opened);

  OpenObject object;
  object.fd = fd;
  object.dev = opened.st_dev;
  object.ino = opened.st_ino;
  object.access = access;
  object.share = share;
  object.path = name;
  // Windows says so when an "always" disposition found the file there.
  SetLastError(exists && (disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS) ? ERROR_ALREADY_EXISTS
                                                                                      : ERROR_SUCCESS);
  (void)flags;  // caching hints change nothing here
  return NewHandle(object);
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD read, LPOVERLAPPED) {
  OpenObject *object = Find(file, false);
  if (read) *read = 0;
  if (layer::Enter("ReadFile", object ? object->path.c_str() : nullptr, {toRead})) return FALSE;
  if (!object) return Fail(ERROR_INVALID_HANDLE);
  if (!(object->access & GENERIC_READ)) return Fail(ERROR_ACCESS_DENIED);
  DWORD done = 0;
  char *out = static_cast<char *>(buffer);
  while (done < toRead) {
    ssize_t n = ::read(object->fd, out + done, toRead - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return Fail(ERROR_READ_FAULT);
    if (n == 0) break;  // end of file: success with what was there
    done += static_cast<DWORD>(n);
  }
  if (read) *read = done;
  return TRUE;
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, LPDWORD written, LPOVERLAPPED) {
  OpenObject *object = Find(file, false);
  if (written) *written = 0;
  if (layer::Enter("WriteFile", object ? object->path.c_str() : nullptr, {toWrite})) return FALSE;
  if (!object) return Fail(ERROR_INVALID_HANDLE);
  if (!(object->access & GENERIC_WRITE)) return Fail(ERROR_ACCESS_DENIED);
  DWORD done = 0;
  const char *in = static_cast<const char *>(buffer);
  while (done < toWrite) {
    ssize_t n = ::write(object->fd, in + done, toWrite - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (written) *written = done;
      return Fail(n < 0 && (errno == ENOSPC || errno == EDQUOT) ? ERROR_DISK_FULL : ERROR_WRITE_FAULT);
    }
    done += static_cast<DWORD>(n);
  }
  if (written) *written = done;
  return TRUE;
}

DWORD GetFileSize(HANDLE file, LPDWORD sizeHigh) {
  OpenObject *object = Find(file, false);
  if (layer::Enter("GetFileSize", object ? object->path.c_str() : nullptr)) return INVALID_FILE_SIZE;
  struct stat st;
  if (!object || fstat(object->fd, &st) != 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return INVALID_FILE_SIZE;
  }
  uint64_t size = static_cast<uint64_t>(st.st_size);
  if (sizeHigh) *sizeHigh = static_cast<DWORD>(size >> 32);
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(size);
}

// Puts what was written on the disk; as on Windows, the handle needs write
// access.
BOOL FlushFileBuffers(HANDLE file) {
  OpenObject *object = Find(file, false);
  if (layer::Enter("FlushFileBuffers", object ? object->path.c_str() : nullptr)) return FALSE;
  if (!object) return Fail(ERROR_INVALID_HANDLE);
  if (!(object->access & GENERIC_WRITE)) return Fail(ERROR_ACCESS_DENIED);
  if (fsync(object->fd) != 0) return Fail(ERROR_WRITE_FAULT);
  return TRUE;
}

BOOL CloseHandle(HANDLE handle) {
  OpenObject *object = Find(handle, false);
  if (layer::Enter("CloseHandle", object ? object->path.c_str() : nullptr)) return FALSE;
  if (!object) return Fail(ERROR_INVALID_HANDLE);
  close(object->fd);
  Objects().erase(reinterpret_cast<uintptr_t>(handle));
  return TRUE;
}

BOOL DeleteFileA(LPCSTR name) {
  if (layer::Enter("DeleteFileA", name)) return FALSE;
  std::string host = layer::HostPath(name);
  struct stat st;
  if (!name || stat(host.c_str(), &st) != 0) return Fail(MissingError(host));
  if (S_ISDIR(st.st_mode) || IsReadOnly(st)) return Fail(ERROR_ACCESS_DENIED);
  if (OpenWithoutDeleteSharing(st.st_dev, st.st_ino)) return Fail(ERROR_SHARING_VIOLATION);
  if (unlink(host.c_str()) != 0) return Fail(ErrorFromErrno(errno, host));
  return TRUE;
}

BOOL MoveFileExA(LPCSTR existing, LPCSTR replacement, DWORD flags) {
  if (layer::Enter("MoveFileExA", replacement, {flags})) return FALSE;
  std::string from = layer::HostPath(existing);
  std::string to = layer::HostPath(replacement);
  struct stat source, target;
  if (!existing || stat(from.c_str(), &source) != 0) return Fail(MissingError(from));
  if (OpenWithoutDeleteSharing(source.st_dev, source.st_ino)) return Fail(ERROR_SHARING_VIOLATION);
  if (stat(to.c_str(), &target) == 0) {
    if (!(flags & MOVEFILE_REPLACE_EXISTING)) return Fail(ERROR_ALREADY_EXISTS);
    // A read-only target, or one that any handle holds open, is not replaced.
    if (S_ISDIR(target.st_mode) || IsReadOnly(target) || IsOpen(target.st_dev, target.st_ino))
      return Fail(ERROR_ACCESS_DENIED);
  }
  if (rename(from.c_str(), to.c_str()) != 0) return Fail(ErrorFromErrno(errno, to));
  if (flags & MOVEFILE_WRITE_THROUGH) {
    int folder = open(ParentOf(to).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
      fsync(folder);
      close(folder);
    }
  }
  return TRUE;
}

HANDLE FindFirstFileA(LPCSTR name, LPWIN32_FIND_DATAA data) {
  if (layer::Enter("FindFirstFileA", name)) return INVALID_HANDLE_VALUE;
  std::string host = layer::HostPath(name);
  struct stat st;
  if (!name || !*name) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  // A name that ends in a separator finds nothing, not even a folder.
  char last = name[strlen(name) - 1];
  if (last == '\\' || last == '/' || stat(host.c_str(), &st) != 0) {
    SetLastError(last == '\\' || last == '/' ? ERROR_FILE_NOT_FOUND : MissingError(host));
    return INVALID_HANDLE_VALUE;
  }
  if (data) {
    memset(data, 0, sizeof *data);
    data->dwFileAttributes = S_ISDIR(st.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : 0;
    if (IsReadOnly(st)) data->dwFileAttributes |= FILE_ATTRIBUTE_READONLY;
    if (!data->dwFileAttributes) data->dwFileAttributes = FILE_ATTRIBUTE_NORMAL;
    uint64_t size = S_ISDIR(st.st_mode) ? 0 : static_cast<uint64_t>(st.st_size);
    data->nFileSizeHigh = static_cast<DWORD>(size >> 32);
    data->nFileSizeLow = static_cast<DWORD>(size);
    size_t slash = host.find_last_of('/');
    std::string base = slash == std::string::npos ? host : host.substr(slash + 1);
    strncpy(data->cFileName, base.c_str(), sizeof data->cFileName - 1);
  }
  OpenObject object;
  object.isFind = true;
  object.path = name;
  return NewHandle(object);
}

BOOL FindClose(HANDLE find) {
  OpenObject *object = Find(find, true);
  if (layer::Enter("FindClose", object ? object->path.c_str() : nullptr)) return FALSE;
  if (!object) return Fail(ERROR_INVALID_HANDLE);
  Objects().erase(reinterpret_cast<uintptr_t>(find));
  return TRUE;
}

BOOL GetDiskFreeSpaceExA(LPCSTR directory, PULARGE_INTEGER freeToCaller, PULARGE_INTEGER total,
                         PULARGE_INTEGER totalFree) {
  if (layer::Enter("GetDiskFreeSpaceExA", directory)) return FALSE;
  // An empty name or none asks about the file system of the current folder.
  std::string host = directory && *directory ? layer::HostPath(directory) : ".";
  struct statvfs vfs;
  if (statvfs(host.c_str(), &vfs) != 0) return Fail(ERROR_PATH_NOT_FOUND);
  uint64_t unit = vfs.f_frsize ? vfs.f_frsize : vfs.f_bsize;
  uint64_t available = static_cast<uint64_t>(vfs.f_bavail) * unit;
  uint64_t figure = 0;
  if (layer::Observer *o = layer::CurrentObserver())
    if (o->FreeSpace(&figure)) available = figure;
  if (freeToCaller) freeToCaller->QuadPart = available;
  if (total) total->QuadPart = static_cast<uint64_t>(vfs.f_blocks) * unit;
  if (totalFree) totalFree->QuadPart = static_cast<uint64_t>(vfs.f_bfree) * unit;
  return TRUE;
}

}  // extern "C"
