// The path helpers of the shell and the C runtime.
#include <string.h>

#include "harness.h"
#include "platform/win32.h"

using namespace conformance;

CONFORMANCE_TEST(RemovingTheFileSpec) {
  struct Case {
    const char *path;
    const char *expected;
    BOOL changed;
  } cases[] = {
      {"C:\\a\\b.exe", "C:\\a", TRUE},
      {"C:\\a", "C:\\", TRUE},
      {"C:\\", "C:\\", FALSE},
      {"C:", "C:", FALSE},
      {"C:a", "C:", TRUE},
      {"\\a", "\\", TRUE},
      {"\\", "\\", FALSE},
      {"a", "", TRUE},
      {"", "", FALSE},
      {"a\\", "a", TRUE},
      {"C:\\a\\", "C:\\a", TRUE},
      {"\\\\server\\share\\x", "\\\\server\\share", TRUE},
      // A 0x5C trail byte is part of its character, not a separator.
      {"C:\\\x83\x5C\\a", "C:\\\x83\x5C", TRUE},
      {"C:\\\x83\x5C", "C:\\", TRUE},
  };
  int index = 0;
  for (const Case &c : cases) {
    char path[64];
    strcpy(path, c.path);
    BOOL changed = PathRemoveFileSpecA(path);
    EXPECT_SAME(std::string(path), std::string(c.expected), index);
    EXPECT_SAME(changed != FALSE, c.changed != FALSE, index);
    ++index;
  }
}

CONFORMANCE_TEST(DrivePartOfAPath) {
  struct Case {
    const char *path;
    const char *drive;
  } cases[] = {
      {"C:\\Games\\X", "C:"},       {"c:rel", "c:"}, {"C:", "C:"},
      {"\\\\server\\share\\x", ""}, {"\\Games", ""}, {"", ""},
  };
  int index = 0;
  for (const Case &c : cases) {
    char drive[_MAX_DRIVE];
    memset(drive, 0xCC, sizeof drive);
    _splitpath(c.path, drive, nullptr, nullptr, nullptr);
    EXPECT_SAME(std::string(drive), std::string(c.drive), index);
    ++index;
  }
}

CONFORMANCE_TEST(ThePartsOfAPath) {
  char drive[_MAX_DRIVE], dir[_MAX_DIR], name[_MAX_FNAME], ext[_MAX_EXT];
  _splitpath("C:\\\x83\x5C\\b.txt", drive, dir, name, ext);
  EXPECT_SAME(std::string(dir), std::string("\\\x83\x5C\\"), -1);
  EXPECT_SAME(std::string(name), std::string("b"), -1);
  EXPECT_SAME(std::string(ext), std::string(".txt"), -1);
}

CONFORMANCE_TEST(OwnPathFitsOrIsCut) {
  char path[520];
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  EXPECT_SAME(length > 0 && length < sizeof path, true, -1);
  EXPECT_SAME(static_cast<unsigned long>(strlen(path)), static_cast<unsigned long>(length), -1);
  // Too small a buffer: the size is returned, which is how the program
  // tells a cut path.
  char small[4];
  EXPECT_SAME(static_cast<unsigned long>(GetModuleFileNameA(nullptr, small, sizeof small)), 4ul, -1);
}
