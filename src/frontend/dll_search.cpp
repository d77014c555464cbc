// The program runs elevated and is usually started from a downloads folder,
// where a DLL planted under a system DLL's name would otherwise be found
// before the system's own copy. Both functions are looked up rather than
// imported: SetDefaultDllDirectories came with Windows 8 and reached Vista
// and 7 only by update KB2533623, and a missing import would stop the
// program from starting at all.
#include "dll_search.h"

#include "platform/win32.h"

namespace {

typedef BOOL(WINAPI *SetDefaultDllDirectoriesProc)(DWORD directoryFlags);
typedef BOOL(WINAPI *SetDllDirectoryProc)(LPCSTR path);

// A function of kernel32, or null where this system has none of that name.
// The cast goes through void (*)(void), the neutral function pointer type.
template <typename Proc>
Proc FindKernelFunction(const char *name) {
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  FARPROC found = kernel ? GetProcAddress(kernel, name) : nullptr;
  return reinterpret_cast<Proc>(reinterpret_cast<void (*)(void)>(found));
}

}  // namespace

void RestrictDllSearch() {
  SetDefaultDllDirectoriesProc setDefault =
      FindKernelFunction<SetDefaultDllDirectoriesProc>("SetDefaultDllDirectories");
  if (setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;

  // Without it, at least take the current folder out of the search.
  SetDllDirectoryProc setDirectory = FindKernelFunction<SetDllDirectoryProc>("SetDllDirectoryA");
  if (setDirectory) setDirectory("");
}
