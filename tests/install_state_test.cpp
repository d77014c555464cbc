// The install-state probe: the installer's settings decide whether the game
// is installed, and the two copies of each update file whether the update
// is already in place.
#include <string.h>

#include <string>

#include "detect/install_state.h"
#include "frontend/product_profile.h"
#include "support/updater_fixture.h"

namespace {

class ProbeTest : public UpdaterTest {
 protected:
  void SetUp() override {
    UpdaterTest::SetUp();
    strcpy(g_State.MakerDataFolder, (MakerFolder() + "\\").c_str());
  }

  // Both update files in place on both sides, with equal sizes.
  void WriteMatchingCopies() {
    for (const char *name : {"patch.pac", "data.pac"}) {
      WriteGameFile(name, "old bytes");
      WriteUpdateFile(name, "new bytes");
    }
  }

  InstallState Probe() { return ProbeInstallState(Profile().GameName); }

  // The paths of every call of a name, in order.
  std::vector<std::string> PathsOf(const std::string &call) {
    std::vector<std::string> paths;
    for (const testctl::Call &c : testctl::CallsNamed(call)) paths.push_back(c.path);
    return paths;
  }
};

TEST_F(ProbeTest, SettingsDecideWhetherInstalled) {
  struct Case {
    const char *settings;  // null: no settings file
    InstallState expected;
  } cases[] = {
      {nullptr, NotInstalled},
      {"", NotInstalled},
      {"[OTHER]\r\nIsInstall=1\r\n", NotInstalled},
      {"[INSTALL]\r\nInstallFold=@\r\n", NotInstalled},
      {"[INSTALL]\r\nIsInstall=1\r\nInstallFold=@\r\n", AlreadyUpdated},
      {"[INSTALL]\r\nIsInstall=0\r\nInstallFold=@\r\n", NotInstalled},
      {"[INSTALL]\r\nIsInstall=2\r\nInstallFold=@\r\n", NotInstalled},
      {"[INSTALL]\r\nIsInstall=-1\r\nInstallFold=@\r\n", NotInstalled},
      {"[INSTALL]\r\nIsInstall=\r\nInstallFold=@\r\n", NotInstalled},
      // Only the low 8 bits count.
      {"[INSTALL]\r\nIsInstall=257\r\nInstallFold=@\r\n", AlreadyUpdated},
      {"[INSTALL]\r\nIsInstall=0x101\r\nInstallFold=@\r\n", AlreadyUpdated},
      {"[INSTALL]\r\nIsInstall=-255\r\nInstallFold=@\r\n", AlreadyUpdated},
      // Written as Windows still reads it.
      {"[install]\nisinstall = 1 \ninstallfold = @\n", AlreadyUpdated},
      {"[INSTALL]\r\nIsInstall=\"1\"\r\nInstallFold=\"@\"\r\n", AlreadyUpdated},
      {"[INSTALL]\r\nIsInstall=1abc\r\nInstallFold=@\r\n", AlreadyUpdated},
      {"; IsInstall=1\r\n[INSTALL]\r\nInstallFold=@\r\n", NotInstalled},
  };
  WriteMatchingCopies();
  int index = 0;
  for (const Case &c : cases) {
    SCOPED_TRACE(index++);
    testctl::Reset();
    testctl::SetModulePath(UpdateFolder() + "/update.exe");
    g_State.InstallFolder[0] = '\0';
    remove(SettingsPath().c_str());
    if (c.settings) {
      std::string text = c.settings;
      size_t at = text.find('@');
      if (at != std::string::npos) text.replace(at, 1, GameFolder());
      WriteSettings(text);
    }
    EXPECT_EQ(Probe(), c.expected) << (c.settings ? c.settings : "(no file)");
    // The install folder is read only when the settings say installed.
    EXPECT_EQ(std::string(g_State.InstallFolder), c.expected == NotInstalled ? "" : GameFolder());
    EXPECT_EQ(testctl::CallsNamed("GetPrivateProfileStringA").size(), c.expected == NotInstalled ? 0u : 1u);
  }
}

TEST_F(ProbeTest, ReadsTheSettingsFileOfTheGameInTheMakerFolder) {
  WriteInstalledSettings();
  WriteMatchingCopies();
  EXPECT_EQ(Probe(), AlreadyUpdated);
  std::string settings = MakerFolder() + "\\lumireth.ini";
  ASSERT_EQ(PathsOf("FindFirstFileA").front(), settings);
  auto isInstall = testctl::CallsNamed("GetPrivateProfileIntA");
  ASSERT_EQ(isInstall.size(), 1u);
  EXPECT_EQ(isInstall[0].path, settings);
}

TEST_F(ProbeTest, CopiesDecideWhetherTheUpdateIsInPlace) {
  struct Side {
    const char *bytes;  // null: missing
    bool held;          // another handle holds it open
  };
  struct Case {
    const char *what;
    Side game, update;
    InstallState expected;
  } cases[] = {
      {"equal sizes", {"1234", false}, {"abcd", false}, AlreadyUpdated},
      {"sizes differ", {"1234", false}, {"12345", false}, UpdatePending},
      {"missing in the game", {nullptr, false}, {"1234", false}, UpdatePending},
      {"missing beside the updater", {"1234", false}, {nullptr, false}, UpdatePending},
      {"game copy held open", {"1234", true}, {"1234", false}, UpdatePending},
      {"game copy held, updater copy missing", {"1234", true}, {nullptr, false}, AlreadyUpdated},
      {"both held", {"1234", true}, {"1234", true}, AlreadyUpdated},
      {"updater copy held", {"1234", false}, {"1234", true}, UpdatePending},
  };
  WriteInstalledSettings();
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    testctl::Reset();
    testctl::SetModulePath(UpdateFolder() + "/update.exe");
    for (const char *name : {"patch.pac", "data.pac"}) {
      remove(GamePath(name).c_str());
      remove(UpdatePath(name).c_str());
    }
    // The first file decides; the second is in place on both sides.
    WriteGameFile("data.pac", "same");
    WriteUpdateFile("data.pac", "same");
    if (c.game.bytes) WriteGameFile("patch.pac", c.game.bytes);
    if (c.update.bytes) WriteUpdateFile("patch.pac", c.update.bytes);
    HANDLE held[2] = {INVALID_HANDLE_VALUE, INVALID_HANDLE_VALUE};
    if (c.game.held)
      held[0] = CreateFileA(GamePath("patch.pac").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
    if (c.update.held)
      held[1] = CreateFileA(UpdatePath("patch.pac").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(Probe(), c.expected);
    for (HANDLE h : held)
      if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    // The probe never creates a file, beside the updater or in the game.
    EXPECT_EQ(Exists(UpdatePath("patch.pac")), c.update.bytes != nullptr);
    EXPECT_EQ(Exists(GamePath("patch.pac")), c.game.bytes != nullptr);
  }
}

TEST_F(ProbeTest, SizesAreComparedByTheirLow32Bits) {
  WriteInstalledSettings();
  WriteGameFile("data.pac", "same");
  WriteUpdateFile("data.pac", "same");
  const uint64_t fourGiB = 1ull << 32;
  MakeSparseFile(GamePath("patch.pac"), fourGiB + 10);
  MakeSparseFile(UpdatePath("patch.pac"), 10);
  EXPECT_EQ(Probe(), AlreadyUpdated);
  MakeSparseFile(UpdatePath("patch.pac"), 11);
  EXPECT_EQ(Probe(), UpdatePending);
}

TEST_F(ProbeTest, FirstDecidingNameEndsTheWalk) {
  WriteInstalledSettings();
  WriteGameFile("patch.pac", "old");
  WriteUpdateFile("patch.pac", "newer");
  WriteGameFile("data.pac", "same");
  WriteUpdateFile("data.pac", "same");
  EXPECT_EQ(Probe(), UpdatePending);
  for (const std::string &path : PathsOf("FindFirstFileA"))
    EXPECT_EQ(path.find("data.pac"), std::string::npos);
  for (const std::string &path : PathsOf("CreateFileA")) EXPECT_EQ(path.find("data.pac"), std::string::npos);
}

TEST_F(ProbeTest, MissingGameCopyIsNotOpened) {
  WriteInstalledSettings();
  WriteUpdateFile("patch.pac", "new");
  EXPECT_EQ(Probe(), UpdatePending);
  EXPECT_TRUE(testctl::CallsNamed("CreateFileA").empty());
}

TEST_F(ProbeTest, BothCopiesAreOpenedExclusivelyForTheirSize) {
  WriteInstalledSettings();
  WriteMatchingCopies();
  // The game copy cannot be opened; the copy beside the updater is still examined.
  testctl::Fail("CreateFileA", GameFolder() + "\\patch.pac");
  EXPECT_EQ(Probe(), UpdatePending);
  auto opens = testctl::CallsNamed("CreateFileA");
  ASSERT_EQ(opens.size(), 2u);
  EXPECT_EQ(opens[0].path, GameFolder() + "\\patch.pac");
  EXPECT_EQ(opens[1].path, UpdateFolder() + "\\patch.pac");
  for (const testctl::Call &open : opens)
    EXPECT_EQ(open.args, (std::vector<uint64_t>{GENERIC_READ, 0, OPEN_EXISTING, 0x10000080}));
}

TEST_F(ProbeTest, EmptyUpdateListIsAlreadyUpdated) {
  const char *const none[] = {""};
  ProductProfile empty = GameProfile;
  empty.UpdateFiles = none;
  UseProfile(&empty);
  WriteInstalledSettings();
  EXPECT_EQ(Probe(), AlreadyUpdated);
  EXPECT_EQ(std::string(g_State.InstallFolder), GameFolder());
}

TEST_F(ProbeTest, MissingInstallFoldLooksUnderTheRoot) {
  WriteSettings("[INSTALL]\r\nIsInstall=1\r\n");
  EXPECT_EQ(Probe(), UpdatePending);
  EXPECT_STREQ(g_State.InstallFolder, "");
  EXPECT_EQ(PathsOf("FindFirstFileA").back(), "\\patch.pac");
}

// Paths that would not fit their buffers are refused, never cut: a cut path
// could name another folder.
TEST_F(ProbeTest, PathsThatDoNotFit) {
  WriteMatchingCopies();
  // An install folder longer than the program can use.
  WriteSettings("[INSTALL]\r\nIsInstall=1\r\nInstallFold=" + GameFolder() + "/" + std::string(300, 'x') +
                "\r\n");
  EXPECT_EQ(Probe(), NotInstalled);
  EXPECT_STREQ(g_State.InstallFolder, "");

  // An install folder that fits, but whose copies' paths do not.
  std::string longFolder = GameFolder() + "/" + std::string(255 - GameFolder().size(), 'y');
  ASSERT_EQ(longFolder.size(), 256u);
  WriteSettings("[INSTALL]\r\nIsInstall=1\r\nInstallFold=" + longFolder + "\r\n");
  EXPECT_EQ(Probe(), UpdatePending);
  EXPECT_EQ(std::string(g_State.InstallFolder), longFolder);

  // A program path too long for its buffer.
  WriteInstalledSettings();
  testctl::SetModulePath(UpdateFolder() + "/" + std::string(600, 'z') + "/update.exe");
  EXPECT_EQ(Probe(), UpdatePending);

  // A maker data folder whose settings path would not fit.
  testctl::SetModulePath(UpdateFolder() + "/update.exe");
  strcpy(g_State.MakerDataFolder, (MakerFolder() + "/" + std::string(250, 'w') + "\\").c_str());
  testctl::Reset();
  EXPECT_EQ(Probe(), NotInstalled);
  EXPECT_TRUE(testctl::CallsNamed("FindFirstFileA").empty());
}

}  // namespace
