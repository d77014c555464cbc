#include "file_copy.h"

#include "platform/win32.h"
#include "shared/show_message.h"
#include "shared/win32_handles.h"

namespace {

const char kSourceNotOpened[] = "ファイルの読み込みに失敗";
const char kTargetNotCreated[] = "ファイル作成失敗";
const char kReadFailed[] = "ファイル読み込み失敗";
const char kWriteFailed[] = "ファイル書き込み失敗";

// One buffer serves every copy for the life of the process. Each read
// fills at most 4 bytes less than it holds.
const DWORD kBufferSize = 65536;
const DWORD kChunkSize = 65532;
char g_CopyBuffer[kBufferSize];

// Takes and dispatches at most one waiting message of the thread.
void PumpOneMessage() {
  MSG message;
  if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

// Every handle is closed before the user sees the message.
bool Fail(const char *text, FileHandle &source, FileHandle *target = nullptr) {
  source.Close();
  if (target) target->Close();
  ShowMessage(text, MB_ICONWARNING);
  return false;
}

}  // namespace

bool CopyUpdateFile(const char *targetPath, const char *sourcePath) {
  FileHandle source(CreateFileA(sourcePath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!source.IsOpen()) return Fail(kSourceNotOpened, source);

  // A size the 32-bit count cannot hold, or none at all, is refused before
  // the game's copy is emptied: it could not be copied whole.
  DWORD sizeHigh = 0;
  SetLastError(ERROR_SUCCESS);
  DWORD remaining = GetFileSize(source.Get(), &sizeHigh);
  if (sizeHigh != 0 || (remaining == INVALID_FILE_SIZE && GetLastError() != ERROR_SUCCESS))
    return Fail(kSourceNotOpened, source);

  FileHandle target(CreateFileA(targetPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!target.IsOpen()) return Fail(kTargetNotCreated, source);

  while (remaining != 0) {
    // Never more than the size promised, so a source that grew meanwhile
    // cannot run the count below zero.
    DWORD wanted = remaining < kChunkSize ? remaining : kChunkSize;
    DWORD read = 0;
    // A read that brings nothing before the end is a failure too: the
    // source turned out shorter than its size, and waiting would be forever.
    if (!ReadFile(source.Get(), g_CopyBuffer, wanted, &read, nullptr) || read == 0)
      return Fail(kReadFailed, source, &target);
    remaining -= read;
    DWORD written = 0;
    if (!WriteFile(target.Get(), g_CopyBuffer, read, &written, nullptr))
      return Fail(kWriteFailed, source, &target);
    PumpOneMessage();
  }
  source.Close();
  target.Close();
  return true;
}
