// Files and searches: share modes among the process's handles, the
// read-only attribute, folders, missing names and 32-bit sizes.
#include "harness.h"
#include "platform/win32.h"

using namespace conformance;

namespace {

HANDLE Open(const std::string &path, DWORD access, DWORD share, DWORD disposition) {
  return CreateFileA(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

void Close(HANDLE handle) {
  if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
}

}  // namespace

CONFORMANCE_TEST(ShareModesAmongHandles) {
  const DWORD R = GENERIC_READ, W = GENERIC_WRITE, SR = FILE_SHARE_READ, SW = FILE_SHARE_WRITE;
  struct Case {
    DWORD firstAccess, firstShare;
    DWORD secondAccess, secondShare, secondDisposition;
    DWORD expectedError;  // 0: the second open succeeds
  } cases[] = {
      {R, SR, R, SR, OPEN_EXISTING, 0},
      {R, 0, R, SR, OPEN_EXISTING, ERROR_SHARING_VIOLATION},
      {R, SR, R, 0, OPEN_EXISTING, ERROR_SHARING_VIOLATION},
      {R, SR, W, 0, CREATE_ALWAYS, ERROR_SHARING_VIOLATION},
      {R, SR | SW, W, SR, CREATE_ALWAYS, 0},
      {W, 0, R, SR, OPEN_EXISTING, ERROR_SHARING_VIOLATION},
      {W, SR, R, SR | SW, OPEN_EXISTING, 0},
  };
  TestFolder folder;
  std::string path = folder / "file.bin";
  int index = 0;
  for (const Case &c : cases) {
    WriteBytes(path, "1234");
    HANDLE first = Open(path, c.firstAccess, c.firstShare, OPEN_EXISTING);
    EXPECT_SAME(first != INVALID_HANDLE_VALUE, true, index);
    HANDLE second = Open(path, c.secondAccess, c.secondShare, c.secondDisposition);
    DWORD error = second == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    EXPECT_SAME(static_cast<unsigned long>(error), static_cast<unsigned long>(c.expectedError), index);
    Close(second);
    Close(first);
    ++index;
  }
}

CONFORMANCE_TEST(ReadOnlyFilesAreNotWritten) {
  TestFolder folder;
  std::string path = folder / "locked.bin";
  WriteBytes(path, "keep");
  SetReadOnly(path, true);
  struct Case {
    DWORD access, disposition, expectedError;
  } cases[] = {
      {GENERIC_READ, OPEN_EXISTING, 0},
      {GENERIC_WRITE, OPEN_EXISTING, ERROR_ACCESS_DENIED},
      {GENERIC_WRITE, CREATE_ALWAYS, ERROR_ACCESS_DENIED},
  };
  int index = 0;
  for (const Case &c : cases) {
    HANDLE file = Open(path, c.access, 0, c.disposition);
    DWORD error = file == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    EXPECT_SAME(static_cast<unsigned long>(error), static_cast<unsigned long>(c.expectedError), index);
    Close(file);
    ++index;
  }
  EXPECT_SAME(DeleteFileA(path.c_str()) != FALSE, false, -1);
  EXPECT_SAME(static_cast<unsigned long>(GetLastError()), static_cast<unsigned long>(ERROR_ACCESS_DENIED),
              -1);
}

CONFORMANCE_TEST(OpeningWhatIsNotAFile) {
  TestFolder folder;
  MakeFolder(folder / "sub");
  struct Case {
    std::string path;
    DWORD access, disposition, expectedError;
  } cases[] = {
      {folder / "sub", GENERIC_READ, OPEN_EXISTING, ERROR_ACCESS_DENIED},
      {folder / "missing.bin", GENERIC_READ, OPEN_EXISTING, ERROR_FILE_NOT_FOUND},
      {folder / "nope\\file.bin", GENERIC_READ, OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
      {folder / "nope\\file.bin", GENERIC_WRITE, CREATE_ALWAYS, ERROR_PATH_NOT_FOUND},
  };
  int index = 0;
  for (const Case &c : cases) {
    HANDLE file = Open(c.path, c.access, 0, c.disposition);
    EXPECT_SAME(file == INVALID_HANDLE_VALUE, true, index);
    EXPECT_SAME(static_cast<unsigned long>(GetLastError()), static_cast<unsigned long>(c.expectedError),
                index);
    Close(file);
    ++index;
  }
}

CONFORMANCE_TEST(CreatingOverAnExistingFile) {
  TestFolder folder;
  std::string path = folder / "file.bin";
  WriteBytes(path, "old contents");
  HANDLE file = Open(path, GENERIC_WRITE, 0, CREATE_ALWAYS);
  EXPECT_SAME(static_cast<unsigned long>(GetLastError()), static_cast<unsigned long>(ERROR_ALREADY_EXISTS),
              -1);
  EXPECT_SAME(static_cast<unsigned long>(GetFileSize(file, nullptr)), 0ul, -1);
  DWORD written = 0;
  EXPECT_SAME(WriteFile(file, "new", 3, &written, nullptr) != FALSE, true, -1);
  Close(file);
  file = Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  char buffer[16] = {};
  DWORD read = 0;
  EXPECT_SAME(ReadFile(file, buffer, sizeof buffer, &read, nullptr) != FALSE, true, -1);
  EXPECT_SAME(std::string(buffer, read), std::string("new"), -1);
  // At the end of the file a read succeeds with no bytes.
  EXPECT_SAME(ReadFile(file, buffer, sizeof buffer, &read, nullptr) != FALSE, true, -1);
  EXPECT_SAME(static_cast<unsigned long>(read), 0ul, -1);
  Close(file);
}

CONFORMANCE_TEST(SizesAreTheLow32Bits) {
  TestFolder folder;
  struct Case {
    uint64_t size;
    DWORD low, high;
  } cases[] = {{0, 0, 0}, {7, 7, 0}, {(1ull << 32) + 5, 5, 1}};
  int index = 0;
  for (const Case &c : cases) {
    std::string path = folder / ("size" + std::to_string(index));
    MakeLargeFile(path, c.size);
    HANDLE file = Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    DWORD high = 0xCCCC;
    EXPECT_SAME(static_cast<unsigned long>(GetFileSize(file, &high)), static_cast<unsigned long>(c.low),
                index);
    EXPECT_SAME(static_cast<unsigned long>(high), static_cast<unsigned long>(c.high), index);
    EXPECT_SAME(static_cast<unsigned long>(GetFileSize(file, nullptr)), static_cast<unsigned long>(c.low),
                index);
    Close(file);
    ++index;
  }
}

CONFORMANCE_TEST(FindingFilesAndFolders) {
  TestFolder folder;
  WriteBytes(folder / "file.bin", "x");
  MakeFolder(folder / "sub");
  struct Case {
    std::string path;
    bool found;
    DWORD expectedError;
  } cases[] = {
      {folder / "file.bin", true, 0},
      {folder / "sub", true, 0},
      {folder / "sub\\", false, ERROR_FILE_NOT_FOUND},
      {folder / "missing.bin", false, ERROR_FILE_NOT_FOUND},
      {folder / "nope\\file.bin", false, ERROR_PATH_NOT_FOUND},
      {folder.Path() + "\\\\file.bin", true, 0},
      {"", false, ERROR_PATH_NOT_FOUND},
  };
  int index = 0;
  for (const Case &c : cases) {
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(c.path.c_str(), &data);
    EXPECT_SAME(search != INVALID_HANDLE_VALUE, c.found, index);
    if (search != INVALID_HANDLE_VALUE) {
      FindClose(search);
    } else {
      EXPECT_SAME(static_cast<unsigned long>(GetLastError()), static_cast<unsigned long>(c.expectedError),
                  index);
    }
    ++index;
  }
  EXPECT_SAME(PathFileExistsA((folder / "sub").c_str()) != FALSE, true, -1);
  EXPECT_SAME(PathFileExistsA((folder / "missing.bin").c_str()) != FALSE, false, -1);
}

CONFORMANCE_TEST(ReplacingAFile) {
  TestFolder folder;
  std::string source = folder / "new.tmp", target = folder / "record.dat";
  struct Case {
    bool targetExists;
    DWORD flags;
    DWORD holdTargetShare;  // ~0u: not held
    DWORD expectedError;
  } cases[] = {
      {true, MOVEFILE_REPLACE_EXISTING, ~0u, 0},
      {false, 0, ~0u, 0},
      {true, 0, ~0u, ERROR_ALREADY_EXISTS},
      {true, MOVEFILE_REPLACE_EXISTING, FILE_SHARE_READ, ERROR_ACCESS_DENIED},
      {true, MOVEFILE_REPLACE_EXISTING, FILE_SHARE_READ | FILE_SHARE_DELETE, ERROR_ACCESS_DENIED},
  };
  int index = 0;
  for (const Case &c : cases) {
    DeleteFileA(target.c_str());
    WriteBytes(source, "new");
    if (c.targetExists) WriteBytes(target, "old");
    HANDLE held = c.holdTargetShare != ~0u ? Open(target, GENERIC_READ, c.holdTargetShare, OPEN_EXISTING)
                                           : INVALID_HANDLE_VALUE;
    BOOL moved = MoveFileExA(source.c_str(), target.c_str(), c.flags);
    DWORD error = moved ? 0 : GetLastError();
    EXPECT_SAME(static_cast<unsigned long>(error), static_cast<unsigned long>(c.expectedError), index);
    Close(held);
    DeleteFileA(source.c_str());
    ++index;
  }
}

// Windows does not replace a read-only file; that keeps a read-only install
// record as it is when its new copy is moved over it.
CONFORMANCE_TEST(AReadOnlyFileIsNotReplaced) {
  TestFolder folder;
  std::string source = folder / "new.tmp", target = folder / "record.dat";
  WriteBytes(source, "new");
  WriteBytes(target, "old");
  SetReadOnly(target, true);
  BOOL moved = MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING);
  DWORD error = moved ? 0 : GetLastError();
  EXPECT_SAME_TODO_WINE(static_cast<unsigned long>(error), static_cast<unsigned long>(ERROR_ACCESS_DENIED),
                        -1, "Wine's MoveFileExA replaces a read-only file");
}
