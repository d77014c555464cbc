#include "support/updater_fixture.h"

#include <stdlib.h>
#include <string.h>

#include "frontend/product_profile.h"
#include "shared/updater_state.h"

void UpdaterTest::SetUp() {
  testctl::Reset();
  memset(&g_State, 0, sizeof g_State);
  UseProfile(nullptr);
  MakeFolder(MakerFolder());
  MakeFolder(GameFolder());
  MakeFolder(UpdateFolder());
  setenv("APPDATA", AppData().c_str(), 1);
  unsetenv("PROGRAMDATA");
  testctl::SetModulePath(UpdateFolder() + "/update.exe");
}

void UpdaterTest::TearDown() {
  EXPECT_EQ(testctl::OpenHandles(), 0) << "a handle was left open";
  UseProfile(nullptr);
  testctl::Reset();
}

void UpdaterTest::WriteSettings(const std::string &text) {
  WriteBytes(SettingsPath(), text);
}

void UpdaterTest::WriteInstalledSettings() {
  WriteSettings("[INSTALL]\r\nIsInstall=1\r\nInstallFold=" + GameFolder() + "\r\n");
}

void UpdaterTest::WriteGameFile(const std::string &name, const std::string &bytes) {
  WriteBytes(GamePath(name), bytes);
}

void UpdaterTest::WriteUpdateFile(const std::string &name, const std::string &bytes) {
  WriteBytes(UpdatePath(name), bytes);
}
