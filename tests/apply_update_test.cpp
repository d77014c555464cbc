// The update run: every end with its messages in order, what the game
// folder and Setup.dat hold afterwards, the free-space boundary, and the
// recording of the copied files for a pending update only.
#include <string.h>

#include <new>
#include <string>

#include "frontend/product_profile.h"
#include "shared/updater_state.h"
#include "support/allocation_faults.h"
#include "support/updater_fixture.h"
#include "update/apply_update.h"

namespace {

const UINT kWarning = 0x40030;  // MB_TOPMOST | MB_ICONWARNING
const uint64_t kMargin = 100000000;
const std::string kInstallerLines = "F lumireth.exe;\r\nD save;\r\n";

class RunTest : public UpdaterTest {
 protected:
  void SetUp() override {
    UpdaterTest::SetUp();
    strcpy(g_State.InstallFolder, GameFolder().c_str());
    g_State.State = UpdatePending;
    WriteGameFile("patch.pac", "old patch");
    WriteGameFile("data.pac", "old data");
    WriteGameFile("Setup.dat", kInstallerLines);
    WriteUpdateFile("patch.pac", "new patch, longer");
    WriteUpdateFile("data.pac", "new data, longer too");
    testctl::SetFreeSpace(UpdateBytes() + kMargin);
  }

  uint64_t UpdateBytes() const { return strlen("new patch, longer") + strlen("new data, longer too"); }

  // The messages shown, as text, caption and style.
  struct Shown {
    std::string text, caption;
    UINT style;
    bool operator==(const Shown &o) const {
      return text == o.text && caption == o.caption && style == o.style;
    }
  };
  std::vector<Shown> Messages() {
    std::vector<Shown> shown;
    for (const testctl::Window &w : testctl::Transcript()) {
      EXPECT_EQ(w.owner, nullptr);
      shown.push_back({w.text, w.caption, w.style});
    }
    return shown;
  }
  Shown Own(const char *utf8, UINT style = kWarning) { return {Cp932(utf8), caption, style}; }

  bool RecordWasOpened() {
    for (const testctl::Call &c : testctl::CallsNamed("CreateFileA"))
      if (c.path.find("Setup.dat") != std::string::npos) return true;
    return false;
  }

  const std::string caption = Cp932(u8"ミルフェネア 更新プログラム");
};

TEST_F(RunTest, EveryEndWithItsMessagesAndWhatItLeaves) {
  enum Setup { Done, SourceMissing, NoSpaceFigure, NotEnoughSpace, CopyFails, SaveFails };
  struct Case {
    const char *what;
    Setup setup;
    std::vector<Shown> messages;
    std::string patchAfter, dataAfter;
    bool recordRead;
    std::string recordAfter;
  } cases[] = {
      {"done",
       Done,
       {Own(u8"更新処理が終了しました。", 0x40000)},
       "new patch, longer",
       "new data, longer too",
       true,
       kInstallerLines + "F patch.pac;\r\nF data.pac;\r\n"},
      {"a source missing",
       SourceMissing,
       {Own(u8"コピー元のファイルが見つかりません。")},
       "old patch",
       "old data",
       false,
       kInstallerLines},
      {"free space unknown",
       NoSpaceFigure,
       {Own(u8"ディスクの空き容量が取得できません。")},
       "old patch",
       "old data",
       false,
       kInstallerLines},
      {"not enough space",
       NotEnoughSpace,
       {Own(u8"ディスクの空き容量が不足しています。")},
       "old patch",
       "old data",
       false,
       kInstallerLines},
      {"a copy fails",
       CopyFails,
       {Own(u8"ファイル作成失敗"), Own(u8"アップデートファイルのコピーに失敗しました。")},
       "new patch, longer",
       "old data",
       true,
       kInstallerLines},
      {"the record cannot be saved",
       SaveFails,
       {{Cp932(u8"ファイル作成失敗"), GameFolder() + "\\Setup.dat", kWarning},
        Own(u8"インストール情報の更新に失敗しました。")},
       "new patch, longer",
       "new data, longer too",
       true,
       kInstallerLines},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    switch (c.setup) {
      case SourceMissing:
        remove(UpdatePath("data.pac").c_str());  // the second: not even the first is copied
        break;
      case NoSpaceFigure:
        testctl::Fail("GetDiskFreeSpaceExA");
        break;
      case NotEnoughSpace:
        testctl::SetFreeSpace(UpdateBytes() + kMargin - 1);
        break;
      case CopyFails:
        SetReadOnly(GamePath("data.pac"), true);
        break;
      case SaveFails:
        SetReadOnly(GamePath("Setup.dat"), true);
        break;
      case Done:
        break;
    }
    ApplyUpdate();
    EXPECT_EQ(Messages(), c.messages);
    EXPECT_EQ(ReadBytes(GamePath("patch.pac")), c.patchAfter);
    EXPECT_EQ(ReadBytes(GamePath("data.pac")), c.dataAfter);
    EXPECT_EQ(RecordWasOpened(), c.recordRead);
    EXPECT_EQ(ReadBytes(GamePath("Setup.dat")), c.recordAfter);
    SetReadOnly(GamePath("data.pac"), false);
    SetReadOnly(GamePath("Setup.dat"), false);
    EXPECT_EQ(testctl::OpenHandles(), 0);
  }
}

TEST_F(RunTest, ExactlyEnoughFreeSpacePasses) {
  ApplyUpdate();
  EXPECT_EQ(Messages(), std::vector<Shown>{Own(u8"更新処理が終了しました。", 0x40000)});
}

TEST_F(RunTest, SourcesAreCheckedSharedForReadingInListOrder) {
  ApplyUpdate();
  auto opens = testctl::CallsNamed("CreateFileA");
  ASSERT_GE(opens.size(), 2u);
  EXPECT_EQ(opens[0].path, UpdateFolder() + "\\patch.pac");
  EXPECT_EQ(opens[1].path, UpdateFolder() + "\\data.pac");
  for (int i = 0; i < 2; ++i)
    EXPECT_EQ(opens[i].args, (std::vector<uint64_t>{GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0x80}));
}

TEST_F(RunTest, FreeSpaceIsAskedOfTheInstallFoldersDrive) {
  struct Case {
    const char *folder;
    const char *drive;
  } cases[] = {{"C:\\Games\\Lumireth", "C:"}, {"d:game", "d:"}, {"\\\\server\\share\\game", ""}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.folder);
    testctl::Reset();
    testctl::SetModulePath(UpdateFolder() + "/update.exe");
    strcpy(g_State.InstallFolder, c.folder);
    testctl::Fail("GetDiskFreeSpaceExA");  // and nothing is written anywhere
    ApplyUpdate();
    auto asked = testctl::CallsNamed("GetDiskFreeSpaceExA");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].path, c.drive);
  }
}

TEST_F(RunTest, OnlyAPendingUpdateWritesTheRecord) {
  for (InstallState state : {NotInstalled, AlreadyUpdated, UpdatePending}) {
    SCOPED_TRACE(state);
    SetUp();
    g_State.State = state;
    ApplyUpdate();
    EXPECT_EQ(ReadBytes(GamePath("patch.pac")), "new patch, longer");
    EXPECT_EQ(ReadBytes(GamePath("data.pac")), "new data, longer too");
    EXPECT_TRUE(RecordWasOpened());  // loaded in every state
    bool written = ReadBytes(GamePath("Setup.dat")) != kInstallerLines;
    EXPECT_EQ(written, state == UpdatePending);
    EXPECT_EQ(Messages().back(), Own(u8"更新処理が終了しました。", 0x40000));
  }
}

TEST_F(RunTest, AnEntryAlreadyRecordedIsNotAddedAgain) {
  WriteGameFile("Setup.dat", "F patch.pac;\nF lumireth.exe;\r\n");
  ApplyUpdate();
  EXPECT_EQ(ReadBytes(GamePath("Setup.dat")), "F patch.pac;\r\nF lumireth.exe;\r\nF data.pac;\r\n");
}

TEST_F(RunTest, AMissingRecordIsCreatedWithTheEntries) {
  remove(GamePath("Setup.dat").c_str());
  ApplyUpdate();
  EXPECT_EQ(ReadBytes(GamePath("Setup.dat")), "F patch.pac;\r\nF data.pac;\r\n");
}

TEST_F(RunTest, ARecordThatCannotBeReadKeepsTheInstallersLines) {
  // Another program holds Setup.dat open without sharing it.
  HANDLE held =
      CreateFileA(GamePath("Setup.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  ApplyUpdate();
  CloseHandle(held);
  EXPECT_EQ(ReadBytes(GamePath("Setup.dat")), kInstallerLines);
  EXPECT_EQ(Messages().back(), Own(u8"インストール情報の更新に失敗しました。"));
  EXPECT_EQ(ReadBytes(GamePath("data.pac")), "new data, longer too");
}

TEST_F(RunTest, AnEmptyUpdateListStillNeedsTheMarginAndSavesTheRecord) {
  const char *const none[] = {""};
  ProductProfile empty = GameProfile;
  empty.UpdateFiles = none;
  UseProfile(&empty);
  testctl::SetFreeSpace(kMargin - 1);
  ApplyUpdate();
  EXPECT_EQ(Messages(), std::vector<Shown>{Own(u8"ディスクの空き容量が不足しています。")});

  testctl::Reset();
  testctl::SetModulePath(UpdateFolder() + "/update.exe");
  testctl::SetFreeSpace(kMargin);
  ApplyUpdate();
  EXPECT_EQ(Messages(), std::vector<Shown>{Own(u8"更新処理が終了しました。", 0x40000)});
  EXPECT_TRUE(testctl::CallsNamed("ReadFile").size() >= 1u);  // the record was loaded
  EXPECT_FALSE(testctl::CallsNamed("MoveFileExA").empty());   // and saved
  EXPECT_EQ(ReadBytes(GamePath("Setup.dat")), kInstallerLines);
}

TEST_F(RunTest, AnUpdaterPathTooLongForItsBufferFindsNoSource) {
  testctl::SetModulePath(UpdateFolder() + "/" + std::string(600, 'z') + "/update.exe");
  ApplyUpdate();
  EXPECT_EQ(Messages(), std::vector<Shown>{Own(u8"コピー元のファイルが見つかりません。")});
  EXPECT_EQ(ReadBytes(GamePath("patch.pac")), "old patch");
}

// Memory exhaustion while an entry is added leaves the run with the
// exception; the record is destroyed on the way, and nothing is saved. The
// fault is armed by a message that the copy dispatches, so it strikes the
// first list node allocated after the record was loaded: the first entry's.
LRESULT CALLBACK ArmAllocationFault(HWND, UINT, WPARAM, LPARAM) {
  allocation_faults::FailNthFrom(sizeof(std::string) + 2 * sizeof(void *), 1);
  return 0;
}

TEST_F(RunTest, AnExceptionLeavesTheRunWithTheRecordReleased) {
  testctl::PostMessageTo(testctl::CreateWindowWithProcedure(ArmAllocationFault), WM_USER);
  EXPECT_THROW(ApplyUpdate(), std::bad_alloc);
  EXPECT_TRUE(allocation_faults::Disarm());
  EXPECT_EQ(ReadBytes(GamePath("Setup.dat")), kInstallerLines);
  EXPECT_EQ(ReadBytes(GamePath("patch.pac")), "new patch, longer");
  EXPECT_EQ(ReadBytes(GamePath("data.pac")), "old data");
  EXPECT_EQ(testctl::OpenHandles(), 0);
}

}  // namespace
