// The order of a run: which questions are asked, in which style, what the
// run looks at, and the exit code of each end.
#include <stdlib.h>

#include <algorithm>
#include <string>

#include "frontend/product_profile.h"
#include "shared/updater_state.h"
#include "support/updater_fixture.h"

namespace {

const UINT kError = 0x40010;     // MB_TOPMOST | MB_ICONERROR
const UINT kQuestion = 0x40024;  // MB_TOPMOST | MB_ICONQUESTION | MB_YESNO
const UINT kYesNo = 0x40004;     // MB_TOPMOST | MB_YESNO

class FlowTest : public UpdaterTest {
 protected:
  int Run() { return WinMain(reinterpret_cast<HINSTANCE>(0x400000), nullptr, const_cast<char *>(""), 10); }

  // The texts and styles of the windows shown, in order.
  std::vector<std::pair<std::string, UINT>> Shown() {
    std::vector<std::pair<std::string, UINT>> shown;
    for (const testctl::Window &w : testctl::Transcript()) {
      if (w.kind != "MessageBox") continue;
      EXPECT_EQ(w.owner, nullptr);
      EXPECT_EQ(w.caption, Cp932(u8"ミルフェネア 更新プログラム"));
      shown.emplace_back(w.text, w.style);
    }
    return shown;
  }

  bool DialogShown() {
    auto kinds = testctl::TranscriptKinds();
    return std::find(kinds.begin(), kinds.end(), "Dialog") != kinds.end();
  }

  void WriteCopies(const std::string &game, const std::string &update) {
    for (const char *name : {"patch.pac", "data.pac"}) {
      WriteGameFile(name, game);
      WriteUpdateFile(name, update);
    }
  }

  const std::string saveData =
      Cp932(u8"この更新プログラムを実行すると、セーブデータは使用できなくなります。\nよろしいですか？");
  const std::string overwrite = Cp932(u8"既に更新処理が行われています。\r\n上書き処理を行いますか？");
};

TEST_F(FlowTest, NoApplicationDataFolderShowsOnlyItsMessage) {
  unsetenv("APPDATA");
  EXPECT_EQ(Run(), -1);
  using Shown_ = std::vector<std::pair<std::string, UINT>>;
  EXPECT_EQ(Shown(), (Shown_{{Cp932(u8"AppDataフォルダが見つかりませんでした"), kError}}));
  auto asked = testctl::CallsNamed("SHGetSpecialFolderPathA");
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[0].args, (std::vector<uint64_t>{CSIDL_APPDATA, FALSE}));
  EXPECT_EQ(asked[1].args, (std::vector<uint64_t>{CSIDL_COMMON_APPDATA, FALSE}));
  EXPECT_TRUE(testctl::CallsNamed("FindFirstFileA").empty());
}

TEST_F(FlowTest, MakerDataFolderUnderTheUsersElseTheCommonFolder) {
  struct Case {
    bool user, common;
    std::string expected;
  } cases[] = {
      {true, true, AppData() + "\\BELVORANT\\"},
      {true, false, AppData() + "\\BELVORANT\\"},
      {false, true, root / "common" + "\\BELVORANT\\"},
  };
  MakeFolder(root / "common");
  for (const Case &c : cases) {
    SCOPED_TRACE(c.expected);
    testctl::Reset();
    c.user ? setenv("APPDATA", AppData().c_str(), 1) : unsetenv("APPDATA");
    c.common ? setenv("PROGRAMDATA", (root / "common").c_str(), 1) : unsetenv("PROGRAMDATA");
    testctl::Answer(IDNO);
    EXPECT_EQ(Run(), 0);
    // Stopped before the folder is completed; check what the run starts from.
    testctl::Reset();
    testctl::Answer(IDYES);
    Run();
    EXPECT_EQ(std::string(g_State.MakerDataFolder), c.expected);
    EXPECT_EQ(Shown().front().first, saveData);
  }
}

TEST_F(FlowTest, SaveDataQuestionStopsOnlyOnNo) {
  WriteInstalledSettings();
  WriteCopies("old", "newer");
  struct Case {
    int answer;
    int exitCode;
    bool dialog;
  } cases[] = {{IDNO, 0, false}, {IDYES, 1, true}, {0, 1, true}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.answer);
    testctl::Reset();
    testctl::SetModulePath(UpdateFolder() + "/update.exe");
    g_State.InstallFolder[0] = '\0';
    testctl::Answer(c.answer);
    EXPECT_EQ(Run(), c.exitCode);
    EXPECT_EQ(Shown(), (std::vector<std::pair<std::string, UINT>>{{saveData, kQuestion}}));
    EXPECT_EQ(DialogShown(), c.dialog);
    if (c.answer == IDNO) {
      // Nothing was looked at.
      EXPECT_TRUE(testctl::CallsNamed("FindFirstFileA").empty());
      EXPECT_STREQ(g_State.InstallFolder, "");
    }
  }
}

TEST_F(FlowTest, EachInstallStateTakesItsRoad) {
  struct Case {
    const char *what;
    bool installed;
    bool matching;
    int overwriteAnswer;  // -1: not asked
    InstallState state;
    bool dialog;
  } cases[] = {
      {"pending goes straight to the dialog", true, false, -1, UpdatePending, true},
      {"already updated, overwrite yes", true, true, IDYES, AlreadyUpdated, true},
      {"already updated, overwrite no", true, true, IDNO, AlreadyUpdated, false},
      {"already updated, overwrite box failed", true, true, 0, AlreadyUpdated, false},
      {"not installed, no folder chosen", false, false, -1, NotInstalled, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    testctl::Reset();
    testctl::SetModulePath(UpdateFolder() + "/update.exe");
    memset(&g_State, 0, sizeof g_State);
    remove(SettingsPath().c_str());
    if (c.installed) WriteInstalledSettings();
    WriteCopies("old", c.matching ? "new" : "newer");
    testctl::Answer(IDYES);
    if (c.overwriteAnswer >= 0) testctl::Answer(c.overwriteAnswer);
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(g_State.State, c.state);
    std::vector<std::pair<std::string, UINT>> expected = {{saveData, kQuestion}};
    if (c.overwriteAnswer >= 0) expected.push_back({overwrite, kYesNo});
    EXPECT_EQ(Shown(), expected);
    EXPECT_EQ(DialogShown(), c.dialog);
    if (c.dialog) {
      auto dialog = testctl::CallsNamed("DialogBoxParamA");
      ASSERT_EQ(dialog.size(), 1u);
      EXPECT_EQ(dialog[0].path, "PATCH");
    }
  }
}

TEST_F(FlowTest, RestrictsTheDllSearchBeforeAnythingElse) {
  testctl::Answer(IDNO);
  EXPECT_EQ(Run(), 0);
  // No module of Windows is found here, so the run goes on without the
  // restriction; what matters is that it was asked for first.
  const std::vector<testctl::Call> &calls = testctl::Calls();
  ASSERT_GE(calls.size(), 1u);
  EXPECT_EQ(calls[0].name, "GetModuleHandleA");
  EXPECT_EQ(calls[0].path, "kernel32.dll");
}

}  // namespace
