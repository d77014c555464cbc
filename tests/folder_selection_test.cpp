// Choosing the game's folder in the folder browser: OK acts only on a
// folder with the game executable, the choice is tested again after the
// browser returns, and the browser's own messages.
#include <string.h>

#include <string>

#include "frontend/folder_selection.h"
#include "shared/updater_state.h"
#include "support/updater_fixture.h"

namespace {

class SelectionTest : public UpdaterTest {
 protected:
  void SetUp() override {
    UpdaterTest::SetUp();
    WriteGameFile("lumireth.exe", "MZ");
    MakeFolder(root / "other");
  }

  std::string OtherFolder() const { return root / "other"; }

  // BFFM_ENABLEOK's lParam for each time the callback set OK, in order.
  std::vector<uint64_t> OkStates() {
    std::vector<uint64_t> states;
    for (const testctl::Call &c : testctl::CallsNamed("SendMessageA"))
      if (c.args.at(1) == BFFM_ENABLEOK) states.push_back(c.args.at(3));
    return states;
  }

  std::vector<std::string> MessageTexts() {
    std::vector<std::string> texts;
    for (const testctl::Window &w : testctl::Transcript())
      if (w.kind == "MessageBox") texts.push_back(w.text);
    return texts;
  }

  void TearDown() override {
    EXPECT_TRUE(testctl::ScriptErrors().empty()) << testctl::ScriptErrors().front();
    UpdaterTest::TearDown();  // also: every item list was freed
  }
};

TEST_F(SelectionTest, CancelAtTheFirstShowing) {
  testctl::BrowserCancel();
  strcpy(g_State.InstallFolder, "left over");
  EXPECT_FALSE(SelectGameFolder());
  EXPECT_STREQ(g_State.InstallFolder, "");
  EXPECT_EQ(testctl::TranscriptKinds(), (std::vector<std::string>{"Browser", "BrowserClosed"}));
}

TEST_F(SelectionTest, TheBrowserAsItIsShown) {
  testctl::BrowserCancel();
  SelectGameFolder();
  auto browse = testctl::CallsNamed("SHBrowseForFolderA");
  ASSERT_EQ(browse.size(), 1u);
  EXPECT_EQ(browse[0].path, Cp932(u8"ミルフェネアのフォルダーを選択して下さい。"));
  EXPECT_EQ(browse[0].args, (std::vector<uint64_t>{0, 0x31}));
  // Opened at "C:", then OK disabled.
  auto sent = testctl::CallsNamed("SendMessageA");
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0].args.at(1), static_cast<uint64_t>(BFFM_SETSELECTIONA));
  EXPECT_EQ(sent[0].args.at(2), static_cast<uint64_t>(TRUE));
  EXPECT_EQ(sent[0].path, "C:");
  EXPECT_EQ(OkStates(), (std::vector<uint64_t>{FALSE}));
}

TEST_F(SelectionTest, OkIsEnabledExactlyOnTheGamesFolder) {
  testctl::BrowserSelect(OtherFolder());
  testctl::BrowserOk();  // ignored: disabled
  testctl::BrowserSelect(GameFolder());
  testctl::BrowserOk();
  EXPECT_TRUE(SelectGameFolder());
  EXPECT_EQ(std::string(g_State.InstallFolder), GameFolder());
  EXPECT_EQ(OkStates(), (std::vector<uint64_t>{FALSE, FALSE, TRUE}));
  // The edit field got the folder's path when OK was enabled.
  auto texts = testctl::CallsNamed("SetWindowTextA");
  EXPECT_EQ(texts.back().path, GameFolder());
  // Two debug strings for each selection of a file-system folder.
  EXPECT_EQ(testctl::DebugOutput(),
            (std::vector<std::string>{Cp932(u8"選択された"), OtherFolder() + "\\lumireth.exe",
                                      Cp932(u8"選択された"), GameFolder() + "\\lumireth.exe"}));
  EXPECT_TRUE(MessageTexts().empty());
}

TEST_F(SelectionTest, AFolderNamedLikeTheGameExecutablePasses) {
  MakeFolder(OtherFolder() + "/lumireth.exe");
  testctl::BrowserSelect(OtherFolder());
  testctl::BrowserOk();
  EXPECT_TRUE(SelectGameFolder());
  EXPECT_EQ(std::string(g_State.InstallFolder), OtherFolder());
}

TEST_F(SelectionTest, ATypedFolderIsTestedAgainAfterTheBrowserReturns) {
  testctl::BrowserSelect(GameFolder());
  testctl::BrowserType(OtherFolder());  // OK is still enabled
  testctl::BrowserOk();
  testctl::BrowserSelect(GameFolder());
  testctl::BrowserOk();
  EXPECT_TRUE(SelectGameFolder());
  EXPECT_EQ(std::string(g_State.InstallFolder), GameFolder());
  EXPECT_EQ(testctl::TranscriptKinds(),
            (std::vector<std::string>{"Browser", "BrowserClosed", "MessageBox", "Browser", "BrowserClosed"}));
  const testctl::Window &message = testctl::Transcript()[2];
  EXPECT_EQ(message.text, Cp932(u8"ゲームフォルダーではありません。"));
  EXPECT_EQ(message.caption, Cp932(u8"ミルフェネア 更新プログラム"));
  EXPECT_EQ(message.style, 0x40010u);
  EXPECT_EQ(message.owner, nullptr);
  // The browser opened at "C:" both times.
  int atStart = 0;
  for (const testctl::Call &c : testctl::CallsNamed("SendMessageA")) atStart += c.path == "C:";
  EXPECT_EQ(atStart, 2);
}

TEST_F(SelectionTest, AVirtualSelectionDisablesOk) {
  testctl::BrowserSelect(GameFolder());
  testctl::BrowserSelectVirtual();
  testctl::BrowserOk();  // ignored
  testctl::BrowserCancel();
  EXPECT_FALSE(SelectGameFolder());
  EXPECT_EQ(OkStates(), (std::vector<uint64_t>{FALSE, TRUE, FALSE}));
  EXPECT_EQ(testctl::DebugOutput().size(), 3u);
  EXPECT_EQ(testctl::DebugOutput().back(), Cp932(u8"選択された"));
}

TEST_F(SelectionTest, ATypedNameThatDoesNotResolve) {
  testctl::BrowserSelect(GameFolder());
  testctl::BrowserType("no such folder");
  testctl::BrowserOk();
  testctl::BrowserOk();  // the field was emptied: the selection is taken
  EXPECT_TRUE(SelectGameFolder());
  EXPECT_EQ(std::string(g_State.InstallFolder), GameFolder());
  ASSERT_EQ(testctl::TranscriptKinds(), (std::vector<std::string>{"Browser", "MessageBox", "BrowserClosed"}));
  const testctl::Window &message = testctl::Transcript()[1];
  EXPECT_EQ(message.text, "no such folder");
  EXPECT_EQ(message.caption, Cp932(u8"無効なフォルダー名が入力されました"));
  EXPECT_EQ(message.style, 0x40030u);
  EXPECT_NE(message.owner, nullptr);  // the browser owns it
  EXPECT_EQ(testctl::CallsNamed("SetWindowTextA").back().path, "");
  // OK kept its state.
  EXPECT_EQ(OkStates(), (std::vector<uint64_t>{FALSE, TRUE}));
}

TEST_F(SelectionTest, AnItemWithoutAPathEndsTheSelection) {
  // The callback sees the path; the item the browser returns has none.
  testctl::Fail("SHGetPathFromIDListA", "", 2);
  testctl::BrowserSelect(GameFolder());
  testctl::BrowserOk();
  EXPECT_FALSE(SelectGameFolder());
  EXPECT_STREQ(g_State.InstallFolder, "");
}

// A folder path too long to test is treated as not the game's folder.
TEST_F(SelectionTest, AFolderTooLongToTestIsNotTheGamesFolder) {
  std::string deep = root.Path();
  while (deep.size() < 250) deep += "/deeper";
  deep = deep.substr(0, 250);
  MakeFolder(deep);
  WriteBytes(deep + "/lumireth.exe", "MZ");
  ASSERT_LT(deep.size(), static_cast<size_t>(MAX_PATH));
  testctl::BrowserSelect(deep);
  testctl::BrowserOk();  // the callback's room let it see the game executable
  testctl::BrowserCancel();
  EXPECT_FALSE(SelectGameFolder());
  std::vector<std::string> expected = {Cp932(u8"ゲームフォルダーではありません。")};
  EXPECT_EQ(MessageTexts(), expected);
}

}  // namespace
