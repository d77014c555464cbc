// A fixture that lays out a small world for the program: an application
// data folder with the maker's folder, a game folder and an update folder
// that holds the program. The layer starts fresh with the scripted front,
// and the program's process-wide state is cleared.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/posix/test_control.h"
#include "support/scratch.h"

class UpdaterTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // <appdata>/BELVORANT/lumireth.ini with this text.
  void WriteSettings(const std::string &text);
  // Settings that say installed in the game folder.
  void WriteInstalledSettings();
  // Writes a file in the game folder and one in the update folder.
  void WriteGameFile(const std::string &name, const std::string &bytes);
  void WriteUpdateFile(const std::string &name, const std::string &bytes);

  std::string AppData() const { return root / "appdata"; }
  std::string MakerFolder() const { return root / "appdata/BELVORANT"; }
  std::string SettingsPath() const { return root / "appdata/BELVORANT/lumireth.ini"; }
  std::string GameFolder() const { return root / "game"; }
  std::string UpdateFolder() const { return root / "update"; }
  std::string GamePath(const std::string &name) const { return GameFolder() + "/" + name; }
  std::string UpdatePath(const std::string &name) const { return UpdateFolder() + "/" + name; }

  ScratchFolder root;
};
