// Owning wrappers that close a file handle or a search handle on every way
// out of the operation that opened it. Close() may be called early, for
// instance before a message is shown; closing twice does nothing.
#pragma once

#include "platform/win32.h"

template <BOOL(WINAPI *Release)(HANDLE)>
class OwnedHandle {
 public:
  explicit OwnedHandle(HANDLE handle) : handle_(handle) {}
  ~OwnedHandle() { Close(); }
  OwnedHandle(const OwnedHandle &) = delete;
  OwnedHandle &operator=(const OwnedHandle &) = delete;

  bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }
  void Close() {
    if (IsOpen()) Release(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_;
};

using FileHandle = OwnedHandle<CloseHandle>;
using FindHandle = OwnedHandle<FindClose>;
