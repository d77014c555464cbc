// The layer's shared state: the last error, the current front and the
// observer, and the translation of Windows-style paths.
#include "layer.h"

#include <stdio.h>
#include <stdlib.h>

namespace layer {
namespace {

thread_local DWORD lastError = ERROR_SUCCESS;
Front *front = nullptr;
Observer *observer = nullptr;

}  // namespace

Front &ConsoleFront();  // console_front.cpp

Front &CurrentFront() {
  return front ? *front : ConsoleFront();
}
void SetFront(Front *f) {
  front = f;
}

Observer *CurrentObserver() {
  return observer;
}
void SetObserver(Observer *o) {
  observer = o;
}

bool Enter(const char *name, const char *path, std::initializer_list<uint64_t> args) {
  if (!observer) return false;
  std::string p = path ? path : "";
  observer->Called(name, p, args);
  DWORD error = ERROR_SUCCESS;
  if (!observer->ShouldFail(name, p, &error)) return false;
  lastError = error;
  return true;
}

std::string HostPath(const char *path) {
  std::string host;
  if (!path) return host;
  for (const unsigned char *p = reinterpret_cast<const unsigned char *>(path); *p; ++p) {
    if (IsLeadByte(*p) && p[1]) {
      host += static_cast<char>(p[0]);
      host += static_cast<char>(p[1]);
      ++p;
    } else {
      host += *p == '\\' ? '/' : static_cast<char>(*p);
    }
  }
  return host;
}

}  // namespace layer

extern "C" {

DWORD GetLastError(void) {
  return layer::lastError;
}
void SetLastError(DWORD error) {
  layer::lastError = error;
}

void OutputDebugStringA(LPCSTR text) {
  if (!text) return;
  if (layer::Observer *o = layer::CurrentObserver()) {
    o->DebugText(text);
    return;
  }
  // Without a debugger the text goes nowhere, as on Windows; a developer can
  // ask to see it.
  const char *show = getenv("UPDATER_DEBUG");
  if (show && *show) fprintf(stderr, "[debug] %s\n", text);
}

}  // extern "C"
