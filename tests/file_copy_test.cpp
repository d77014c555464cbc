// Copying one update file: chunks of at most 65,532 bytes, one message
// pumped after each, every failure with its message and the target as the
// failure leaves it.
#include <unistd.h>

#include <string>

#include "support/updater_fixture.h"
#include "update/file_copy.h"

namespace {

const UINT kWarning = 0x40030;  // MB_TOPMOST | MB_ICONWARNING

class CopyTest : public UpdaterTest {
 protected:
  std::string source() const { return UpdatePath("patch.pac"); }
  std::string target() const { return GamePath("patch.pac"); }
  bool Copy() { return CopyUpdateFile(target().c_str(), source().c_str()); }

  static std::string Pattern(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + i / 251);
    return bytes;
  }

  std::vector<uint64_t> FirstArgs(const char *call) {
    std::vector<uint64_t> sizes;
    for (const testctl::Call &c : testctl::CallsNamed(call)) sizes.push_back(c.args.at(0));
    return sizes;
  }

  // The messages shown, in order.
  std::vector<std::string> Messages() {
    std::vector<std::string> texts;
    for (const testctl::Window &w : testctl::Transcript()) {
      EXPECT_EQ(w.style, kWarning);
      EXPECT_EQ(w.caption, Cp932(u8"ミルフェネア 更新プログラム"));
      texts.push_back(w.text);
    }
    return texts;
  }
};

TEST_F(CopyTest, ChunksOfAtMost65532BytesEachFollowedByOnePump) {
  struct Case {
    size_t size;
    std::vector<uint64_t> reads;
  } cases[] = {
      {0, {}}, {1, {1}}, {65532, {65532}}, {65533, {65532, 1}}, {3 * 65532 + 10, {65532, 65532, 65532, 10}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.size);
    testctl::Reset();
    WriteGameFile("patch.pac", std::string(100000, 'o'));  // an older, longer copy
    WriteUpdateFile("patch.pac", Pattern(c.size));
    EXPECT_TRUE(Copy());
    EXPECT_EQ(ReadBytes(target()), Pattern(c.size));
    EXPECT_EQ(FirstArgs("ReadFile"), c.reads);
    EXPECT_EQ(FirstArgs("WriteFile"), c.reads);
    EXPECT_EQ(testctl::CallsNamed("PeekMessageA").size(), c.reads.size());
    EXPECT_TRUE(testctl::Transcript().empty());
  }
}

TEST_F(CopyTest, OpensTheSourceSharedAndCreatesTheTargetAlone) {
  WriteUpdateFile("patch.pac", "new");
  ASSERT_TRUE(Copy());
  auto opens = testctl::CallsNamed("CreateFileA");
  ASSERT_EQ(opens.size(), 2u);
  EXPECT_EQ(opens[0].path, source());
  EXPECT_EQ(opens[0].args, (std::vector<uint64_t>{GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0x80}));
  EXPECT_EQ(opens[1].path, target());
  EXPECT_EQ(opens[1].args, (std::vector<uint64_t>{GENERIC_WRITE, 0, CREATE_ALWAYS, 0x08000080}));
  auto pump = testctl::CallsNamed("PeekMessageA");
  ASSERT_EQ(pump.size(), 1u);
  EXPECT_EQ(pump[0].args, (std::vector<uint64_t>{0, 0, 0, PM_REMOVE}));
}

TEST_F(CopyTest, FailuresShowTheirMessageAfterClosingEverything) {
  enum Setup { None, SourceMissing, TargetReadOnly, TargetHeld, SecondReadFails, SecondWriteFails };
  const std::string old = "the game's older copy";
  const size_t size = 65533;
  struct Case {
    const char *what;
    Setup setup;
    const char *message;
    std::string targetAfter;
  } cases[] = {
      {"source missing", SourceMissing, u8"ファイルの読み込みに失敗", old},
      {"target read-only", TargetReadOnly, u8"ファイル作成失敗", old},
      {"target held open", TargetHeld, u8"ファイル作成失敗", old},
      {"a read fails", SecondReadFails, u8"ファイル読み込み失敗", Pattern(size).substr(0, 65532)},
      {"a write fails", SecondWriteFails, u8"ファイル書き込み失敗", Pattern(size).substr(0, 65532)},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    testctl::Reset();
    SetReadOnly(target(), false);
    WriteGameFile("patch.pac", old);
    WriteUpdateFile("patch.pac", Pattern(size));
    HANDLE held = INVALID_HANDLE_VALUE;
    switch (c.setup) {
      case SourceMissing:
        remove(source().c_str());
        break;
      case TargetReadOnly:
        SetReadOnly(target(), true);
        break;
      case TargetHeld:
        held =
            CreateFileA(target().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        break;
      case SecondReadFails:
        testctl::Fail("ReadFile", source(), 2, ERROR_READ_FAULT);
        break;
      case SecondWriteFails:
        testctl::Fail("WriteFile", target(), 2, ERROR_DISK_FULL);
        break;
      case None:
        break;
    }
    EXPECT_FALSE(Copy());
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    EXPECT_EQ(Messages(), std::vector<std::string>{Cp932(c.message)});
    EXPECT_EQ(ReadBytes(target()), c.targetAfter);
    // Every handle the copy opened was closed before the message; only the
    // test's own may still be open then.
    EXPECT_EQ(testctl::Transcript().at(0).openHandles, c.setup == TargetHeld ? 1 : 0);
    EXPECT_EQ(testctl::OpenHandles(), 0);
  }
}

// Waiting messages of the thread are served between chunks, one per chunk.
std::vector<UINT> g_Dispatched;
LRESULT CALLBACK RecordingProcedure(HWND, UINT message, WPARAM, LPARAM) {
  g_Dispatched.push_back(message);
  return 0;
}

TEST_F(CopyTest, OneWaitingMessageIsDispatchedPerChunk) {
  g_Dispatched.clear();
  HWND window = testctl::CreateWindowWithProcedure(RecordingProcedure);
  for (UINT m = WM_USER + 1; m <= WM_USER + 3; ++m) testctl::PostMessageTo(window, m);
  WriteUpdateFile("patch.pac", Pattern(65533));
  ASSERT_TRUE(Copy());
  EXPECT_EQ(g_Dispatched, (std::vector<UINT>{WM_USER + 1, WM_USER + 2}));
  // The third still waits; the first was taken after the first chunk's write.
  MSG left;
  EXPECT_TRUE(PeekMessageA(&left, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(left.message, static_cast<UINT>(WM_USER + 3));
  std::vector<std::string> order;
  for (const testctl::Call &call : testctl::Calls())
    if (call.name == "ReadFile" || call.name == "WriteFile" || call.name == "DispatchMessageA")
      order.push_back(call.name);
  EXPECT_EQ(order, (std::vector<std::string>{"ReadFile", "WriteFile", "DispatchMessageA", "ReadFile",
                                             "WriteFile", "DispatchMessageA"}));
}

// A source that shrinks during the copy: a read then brings nothing.
std::string g_ShrinkPath;
LRESULT CALLBACK ShrinkingProcedure(HWND, UINT, WPARAM, LPARAM) {
  if (truncate(g_ShrinkPath.c_str(), 65532) != 0) ADD_FAILURE() << "cannot truncate";
  return 0;
}

TEST_F(CopyTest, SourceShorterThanItsSizeFailsInsteadOfWaiting) {
  g_ShrinkPath = source();
  WriteUpdateFile("patch.pac", Pattern(65533 + 100));
  testctl::PostMessageTo(testctl::CreateWindowWithProcedure(ShrinkingProcedure), WM_USER);
  EXPECT_FALSE(Copy());
  EXPECT_EQ(Messages(), std::vector<std::string>{Cp932(u8"ファイル読み込み失敗")});
  EXPECT_EQ(ReadBytes(target()), Pattern(65532));
}

TEST_F(CopyTest, SourceOf4GiBOrMoreIsRefusedBeforeTheTargetIsTouched) {
  WriteGameFile("patch.pac", "the game's copy");
  MakeSparseFile(source(), (1ull << 32) + 1);
  EXPECT_FALSE(Copy());
  EXPECT_EQ(Messages(), std::vector<std::string>{Cp932(u8"ファイルの読み込みに失敗")});
  EXPECT_EQ(ReadBytes(target()), "the game's copy");
  EXPECT_TRUE(testctl::CallsNamed("ReadFile").empty());
}

}  // namespace
