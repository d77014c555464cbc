// The stand-in layer behaves as Windows does where the program relies on it.
// The error codes are those Windows gives (checked under Wine).
#include <gtest/gtest.h>

#include <string>

#include "platform/posix/test_control.h"
#include "platform/win32.h"
#include "support/scratch.h"

namespace {

class LayerTest : public ::testing::Test {
 protected:
  void SetUp() override { testctl::Reset(); }
  void TearDown() override {
    EXPECT_EQ(testctl::OpenHandles(), 0) << "a handle was left open";
    testctl::Reset();
  }

  // The outcome of one CreateFileA: the handle, or the error it failed with.
  struct Opened {
    HANDLE handle;
    DWORD error;
  };
  Opened Open(const std::string &path, DWORD access, DWORD share, DWORD disposition) {
    HANDLE h = CreateFileA(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    // On success the last error tells whether an "always" creation found the file.
    return {h, GetLastError()};
  }
  // The error CreateFileA gives; a handle it opened is closed again.
  DWORD OpenError(const std::string &path, DWORD access, DWORD share, DWORD disposition) {
    Opened o = Open(path, access, share, disposition);
    if (o.handle != INVALID_HANDLE_VALUE) CloseHandle(o.handle);
    return o.error;
  }

  ScratchFolder root;
};

const DWORD kRead = GENERIC_READ;
const DWORD kWrite = GENERIC_WRITE;

TEST_F(LayerTest, CreateFileDispositions) {
  struct Case {
    const char *what;
    const char *bytes;  // the file before, null: missing
    bool readOnly;
    DWORD access, disposition;
    DWORD error;
    const char *after;  // the file after, null: missing
  } cases[] = {
      {"open a missing file", nullptr, false, kRead, OPEN_EXISTING, ERROR_FILE_NOT_FOUND, nullptr},
      {"open a file", "abc", false, kRead, OPEN_EXISTING, ERROR_SUCCESS, "abc"},
      {"create a new file", nullptr, false, kWrite, CREATE_ALWAYS, ERROR_SUCCESS, ""},
      {"create empties a file", "abc", false, kWrite, CREATE_ALWAYS, ERROR_ALREADY_EXISTS, ""},
      {"create over a read-only file", "abc", true, kWrite, CREATE_ALWAYS, ERROR_ACCESS_DENIED, "abc"},
      {"read a read-only file", "abc", true, kRead, OPEN_EXISTING, ERROR_SUCCESS, "abc"},
      {"write a read-only file", "abc", true, kWrite, OPEN_EXISTING, ERROR_ACCESS_DENIED, "abc"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    std::string host = root / "f.dat";
    remove(host.c_str());
    if (c.bytes) WriteBytes(host, c.bytes);
    if (c.readOnly) SetReadOnly(host, true);
    EXPECT_EQ(OpenError(root.Path() + "\\f.dat", c.access, 0, c.disposition), c.error);
    SetReadOnly(host, false);
    EXPECT_EQ(Exists(host), c.after != nullptr);
    if (c.after) {
      EXPECT_EQ(ReadBytes(host), c.after);
    }
  }
  // A missing folder, and a folder where a file is expected.
  EXPECT_EQ(OpenError(root.Path() + "\\gone\\f.dat", kRead, 0, OPEN_EXISTING), (DWORD)ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(OpenError(root.Path() + "\\gone\\f.dat", kWrite, 0, CREATE_ALWAYS), (DWORD)ERROR_PATH_NOT_FOUND);
  EXPECT_FALSE(Exists(root / "gone"));
  MakeFolder(root / "folder");
  EXPECT_EQ(OpenError(root.Path() + "\\folder", kRead, FILE_SHARE_READ, OPEN_EXISTING),
            (DWORD)ERROR_ACCESS_DENIED);
}

// A second handle opens only when each side's sharing allows the other's access.
TEST_F(LayerTest, ShareModesAmongHandles) {
  struct Case {
    DWORD firstAccess, firstShare, secondAccess, secondShare, secondDisposition;
    DWORD error;
  } cases[] = {
      {kRead, FILE_SHARE_READ, kRead, FILE_SHARE_READ, OPEN_EXISTING, ERROR_SUCCESS},
      {kRead, FILE_SHARE_READ, kWrite, FILE_SHARE_READ, OPEN_EXISTING, ERROR_SHARING_VIOLATION},
      {kRead, FILE_SHARE_READ, kWrite, 0, CREATE_ALWAYS, ERROR_SHARING_VIOLATION},
      {kRead | kWrite, 0, kRead, FILE_SHARE_READ, OPEN_EXISTING, ERROR_SHARING_VIOLATION},
      {kWrite, FILE_SHARE_READ, kRead, FILE_SHARE_READ, OPEN_EXISTING, ERROR_SHARING_VIOLATION},
      {kWrite, FILE_SHARE_READ, kRead, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, ERROR_SUCCESS},
      {kRead, FILE_SHARE_READ | FILE_SHARE_WRITE, kWrite, FILE_SHARE_READ, OPEN_EXISTING, ERROR_SUCCESS},
      {kWrite, 0, kWrite, 0, CREATE_ALWAYS, ERROR_SHARING_VIOLATION},
  };
  std::string path = root.Path() + "\\f.dat";
  WriteBytes(root / "f.dat", "abc");
  int index = 0;
  for (const Case &c : cases) {
    SCOPED_TRACE(index++);
    Opened first = Open(path, c.firstAccess, c.firstShare, OPEN_EXISTING);
    ASSERT_NE(first.handle, INVALID_HANDLE_VALUE);
    EXPECT_EQ(OpenError(path, c.secondAccess, c.secondShare, c.secondDisposition), c.error);
    CloseHandle(first.handle);
    // A refused creation leaves the file alone.
    EXPECT_EQ(ReadBytes(root / "f.dat"),
              c.error == ERROR_SUCCESS && c.secondDisposition == CREATE_ALWAYS ? "" : "abc");
    WriteBytes(root / "f.dat", "abc");
  }
}

TEST_F(LayerTest, WriteReadAndSize) {
  std::string path = root.Path() + "\\f.dat";
  Opened w = Open(path, kWrite, 0, CREATE_ALWAYS);
  ASSERT_NE(w.handle, INVALID_HANDLE_VALUE);
  DWORD done = 99;
  EXPECT_TRUE(WriteFile(w.handle, "ab\0c", 4, &done, nullptr));
  EXPECT_EQ(done, 4u);
  EXPECT_TRUE(FlushFileBuffers(w.handle));
  // The handle can only write.
  char buffer[8] = {};
  EXPECT_FALSE(ReadFile(w.handle, buffer, 4, &done, nullptr));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_ACCESS_DENIED);
  CloseHandle(w.handle);

  Opened r = Open(path, kRead, FILE_SHARE_READ, OPEN_EXISTING);
  ASSERT_NE(r.handle, INVALID_HANDLE_VALUE);
  DWORD high = 7;
  EXPECT_EQ(GetFileSize(r.handle, &high), 4u);
  EXPECT_EQ(high, 0u);
  // Reading past the end delivers what is there and succeeds.
  EXPECT_TRUE(ReadFile(r.handle, buffer, sizeof buffer, &done, nullptr));
  EXPECT_EQ(done, 4u);
  EXPECT_EQ(std::string(buffer, 4), std::string("ab\0c", 4));
  // Flushing needs write access.
  EXPECT_FALSE(FlushFileBuffers(r.handle));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_ACCESS_DENIED);
  CloseHandle(r.handle);
  EXPECT_FALSE(FlushFileBuffers(r.handle));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_HANDLE);

  // Sizes past 4 GiB: the low 32 bits, and the high part when asked for.
  MakeSparseFile(root / "big.dat", (1ull << 32) + 10);
  r = Open(root.Path() + "\\big.dat", kRead, FILE_SHARE_READ, OPEN_EXISTING);
  ASSERT_NE(r.handle, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetFileSize(r.handle, &high), 10u);
  EXPECT_EQ(high, 1u);
  EXPECT_EQ(GetFileSize(r.handle, nullptr), 10u);
  CloseHandle(r.handle);
}

TEST_F(LayerTest, MoveFileReplacesOnlyAFreeWritableTarget) {
  enum Hold { None, Target, TargetSharingDelete, Source };
  struct Case {
    const char *what;
    bool targetExists, targetReadOnly;
    Hold hold;
    DWORD error;
  } cases[] = {
      {"onto a free target", true, false, None, ERROR_SUCCESS},
      {"onto no target", false, false, None, ERROR_SUCCESS},
      {"onto a held target", true, false, Target, ERROR_ACCESS_DENIED},
      {"onto a target held with delete sharing", true, false, TargetSharingDelete, ERROR_ACCESS_DENIED},
      {"from a held source", true, false, Source, ERROR_SHARING_VIOLATION},
      // Wine replaces it; Windows refuses, and so does the layer.
      {"onto a read-only target", true, true, None, ERROR_ACCESS_DENIED},
  };
  std::string from = root.Path() + "\\new.dat", to = root.Path() + "\\f.dat";
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    remove((root / "f.dat").c_str());
    WriteBytes(root / "new.dat", "new");
    if (c.targetExists) WriteBytes(root / "f.dat", "old");
    if (c.targetReadOnly) SetReadOnly(root / "f.dat", true);
    HANDLE held = INVALID_HANDLE_VALUE;
    if (c.hold == Target) held = Open(to, kRead, FILE_SHARE_READ, OPEN_EXISTING).handle;
    if (c.hold == TargetSharingDelete)
      held = Open(to, kRead, FILE_SHARE_READ | FILE_SHARE_DELETE, OPEN_EXISTING).handle;
    if (c.hold == Source) held = Open(from, kRead, FILE_SHARE_READ, OPEN_EXISTING).handle;
    BOOL moved = MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING);
    EXPECT_EQ(moved ? (DWORD)ERROR_SUCCESS : GetLastError(), c.error);
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    SetReadOnly(root / "f.dat", false);
    // A refused move leaves both files as they were.
    EXPECT_EQ(ReadBytes(root / "f.dat"), moved ? "new" : "old");
    EXPECT_EQ(Exists(root / "new.dat"), !moved);
  }
}

TEST_F(LayerTest, DeleteFile) {
  WriteBytes(root / "f.dat", "abc");
  std::string path = root.Path() + "\\f.dat";
  Opened held = Open(path, kRead, FILE_SHARE_READ, OPEN_EXISTING);
  EXPECT_FALSE(DeleteFileA(path.c_str()));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_SHARING_VIOLATION);
  CloseHandle(held.handle);
  EXPECT_TRUE(DeleteFileA(path.c_str()));
  EXPECT_FALSE(Exists(root / "f.dat"));
  EXPECT_FALSE(DeleteFileA(path.c_str()));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_FILE_NOT_FOUND);
}

TEST_F(LayerTest, InjectedFailuresAndTheCallLog) {
  WriteBytes(root / "f.dat", "abc");
  std::string path = root.Path() + "\\f.dat";
  testctl::Fail("ReadFile", "f.dat", 2, ERROR_READ_FAULT);
  Opened r = Open(path, kRead, FILE_SHARE_READ, OPEN_EXISTING);
  char buffer[4];
  DWORD done = 0;
  EXPECT_TRUE(ReadFile(r.handle, buffer, 1, &done, nullptr));
  EXPECT_FALSE(ReadFile(r.handle, buffer, 1, &done, nullptr));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_READ_FAULT);
  EXPECT_TRUE(ReadFile(r.handle, buffer, 1, &done, nullptr));
  CloseHandle(r.handle);
  auto reads = testctl::CallsNamed("ReadFile");
  ASSERT_EQ(reads.size(), 3u);
  EXPECT_EQ(reads[0].path, path);
  EXPECT_EQ(reads[0].args, (std::vector<uint64_t>{1}));
}

}  // namespace
