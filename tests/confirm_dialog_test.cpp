// The confirmation dialog: the texts it opens with, its run and end
// buttons and its close box, and the update running after the dialog has
// left the screen but before DialogBoxParamA returns.
#include <string.h>

#include <string>

#include "frontend/confirm_dialog.h"
#include "shared/updater_state.h"
#include "support/updater_fixture.h"

namespace {

class DialogTest : public UpdaterTest {
 protected:
  void SetUp() override {
    UpdaterTest::SetUp();
    strcpy(g_State.InstallFolder, GameFolder().c_str());
    g_State.State = UpdatePending;
    g_State.Instance = reinterpret_cast<HINSTANCE>(0x400000);
    WriteUpdateFile("patch.pac", "new");
    WriteUpdateFile("data.pac", "new");
    testctl::SetFreeSpace(1ull << 40);
  }

  INT_PTR Show() { return DialogBoxParamA(g_State.Instance, "PATCH", nullptr, PatchDialogProc, 0); }
};

TEST_F(DialogTest, OpensWithTheProfilesTextsAndTheInstallFolder) {
  struct Case {
    std::string folder;
  } cases[] = {{GameFolder()}, {"C:\\"}, {"C:\\\x83\x5C\\" + std::string(240, 'x')}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.folder);
    testctl::Reset();
    strcpy(g_State.InstallFolder, c.folder.c_str());
    testctl::Answer(IDCANCEL);
    Show();
    ASSERT_FALSE(testctl::Transcript().empty());
    const testctl::Window &dialog = testctl::Transcript()[0];
    EXPECT_EQ(dialog.kind, "Dialog");
    EXPECT_EQ(dialog.caption, Cp932(u8"更新処理"));
    EXPECT_EQ(dialog.text, c.folder);
    EXPECT_EQ(dialog.group, Cp932(u8"下記のインストール先に更新処理を行います。"));
  }
}

TEST_F(DialogTest, RunEndsTheDialogThenUpdatesBeforeItReturns) {
  testctl::Answer(IDOK);
  EXPECT_EQ(Show(), 0);
  EXPECT_EQ(testctl::TranscriptKinds(),
            (std::vector<std::string>{"Dialog", "DialogEnded", "MessageBox", "DialogDestroyed"}));
  EXPECT_EQ(testctl::Transcript()[2].text, Cp932(u8"更新処理が終了しました。"));
  EXPECT_EQ(ReadBytes(GamePath("patch.pac")), "new");
}

TEST_F(DialogTest, EndAndTheCloseBoxOnlyEndTheDialog) {
  for (int answer : {IDCANCEL, 0}) {
    SCOPED_TRACE(answer);
    testctl::Reset();
    testctl::Answer(answer);
    EXPECT_EQ(Show(), 0);
    EXPECT_EQ(testctl::TranscriptKinds(),
              (std::vector<std::string>{"Dialog", "DialogEnded", "DialogDestroyed"}));
    EXPECT_FALSE(Exists(GamePath("patch.pac")));
    auto ended = testctl::CallsNamed("EndDialog");
    ASSERT_EQ(ended.size(), 1u);
    EXPECT_EQ(ended[0].args.at(1), 0u);
  }
}

TEST_F(DialogTest, OtherCommandsAreNotHandled) {
  // A notification from the install-folder field.
  EXPECT_EQ(PatchDialogProc(nullptr, WM_COMMAND, MAKEWPARAM(1001, EN_CHANGE), 0), FALSE);
  EXPECT_EQ(PatchDialogProc(nullptr, WM_NULL, 0, 0), FALSE);
  EXPECT_TRUE(testctl::CallsNamed("EndDialog").empty());
  // In the dialog: the field's command leaves it open.
  testctl::Answer(1001);
  testctl::Answer(IDCANCEL);
  Show();
  EXPECT_EQ(testctl::TranscriptKinds(),
            (std::vector<std::string>{"Dialog", "Dialog", "DialogEnded", "DialogDestroyed"}));
}

}  // namespace
