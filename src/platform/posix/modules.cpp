// Modules: no DLL of Windows is loaded on this host, so a module looked up
// by name is never found, and neither is a function in one. A caller that
// looks up an optional system function therefore goes on without it.
#include <stdint.h>

#include "layer.h"

extern "C" {

HMODULE GetModuleHandleA(LPCSTR name) {
  if (layer::Enter("GetModuleHandleA", name)) return nullptr;
  SetLastError(ERROR_MOD_NOT_FOUND);
  return nullptr;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR name) {
  // A name below 0x10000 is an ordinal, not a pointer.
  const bool byOrdinal = reinterpret_cast<uintptr_t>(name) < 0x10000;
  if (layer::Enter("GetProcAddress", byOrdinal ? nullptr : name,
                   {static_cast<uint64_t>(reinterpret_cast<uintptr_t>(module))}))
    return nullptr;
  SetLastError(ERROR_PROC_NOT_FOUND);
  return nullptr;
}

}  // extern "C"
