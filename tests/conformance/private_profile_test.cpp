// Reading the installer's settings file: how names, blanks, quotes and
// integers are read.
#include <string.h>

#include "harness.h"
#include "platform/win32.h"

using namespace conformance;

CONFORMANCE_TEST(IntegersAreReadAsWindowsReadsThem) {
  struct Case {
    const char *text;  // the file's text; null: no file
    int expected;
  } cases[] = {
      {nullptr, -1},
      {"[INSTALL]\r\nIsInstall=1\r\n", 1},
      {"[INSTALL]\r\nIsInstall=0\r\n", 0},
      {"[INSTALL]\r\nIsInstall=-1\r\n", -1},
      {"[INSTALL]\r\nIsInstall=257\r\n", 257},
      {"[INSTALL]\r\nIsInstall= 1 \r\n", 1},
      {"[INSTALL]\r\nIsInstall=\t1\r\n", 1},
      {"[INSTALL]\r\nIsInstall=\"1\"\r\n", 1},
      {"[INSTALL]\r\nIsInstall='1'\r\n", 1},
      {"[INSTALL]\r\nIsInstall=\"1\r\n", 0},
      {"[INSTALL]\r\nIsInstall=0x101\r\n", 257},
      {"[INSTALL]\r\nIsInstall=0X1F\r\n", 0},
      {"[INSTALL]\r\nIsInstall=010\r\n", 10},
      {"[INSTALL]\r\nIsInstall=1abc\r\n", 1},
      {"[INSTALL]\r\nIsInstall=1 ;note\r\n", 1},
      {"[INSTALL]\r\nIsInstall=abc\r\n", 0},
      {"[INSTALL]\r\nIsInstall=+1\r\n", 1},
      {"[INSTALL]\r\nIsInstall=4294967297\r\n", 1},
      {"[INSTALL]\r\nIsInstall=\r\n", -1},
      {"[INSTALL]\r\nIsInstall=  \r\n", -1},
      {"[INSTALL]\r\nOther=1\r\n", -1},
      {"[OTHER]\r\nIsInstall=1\r\n", -1},
      {"[install]\nisinstall=1\n", 1},
      {"[ INSTALL ]\r\n  IsInstall  = 1\r\n", 1},
      {"[INSTALL\r\nIsInstall=1\r\n", -1},
      {"[INSTALL]\r\n[INSTALL]\r\nIsInstall=1\r\n", -1},
      {"[INSTALL]\r\nIsInstall=0\r\nIsInstall=1\r\n", 0},
      {";IsInstall=1\r\n[INSTALL]\r\n;IsInstall=1\r\n", -1},
      {"[INSTALL]\r\nIsInstall\r\n", -1},
      {"[INSTALL]\rIsInstall=1\r", 1},
      {"\xEF\xBB\xBF[INSTALL]\r\nIsInstall=1", 1},
  };
  TestFolder folder;
  int index = 0;
  for (const Case &c : cases) {
    std::string path = folder / ("settings" + std::to_string(index) + ".ini");
    if (c.text) WriteBytes(path, c.text);
    int value = static_cast<int>(GetPrivateProfileIntA("INSTALL", "IsInstall", -1, path.c_str()));
    EXPECT_SAME(value, c.expected, index);
    ++index;
  }
}

CONFORMANCE_TEST(StringsAreTrimmedUnquotedAndCut) {
  const std::string long300(300, 'x');
  struct Case {
    std::string value;  // the text after "InstallFold="
    unsigned size;
    std::string expected;
  } cases[] = {
      {"C:\\Games\\X", 260, "C:\\Games\\X"},
      {"  C:\\Games\\X \t", 260, "C:\\Games\\X"},
      {"\" C:\\Games\\X \"", 260, " C:\\Games\\X "},
      {"'C:\\X'", 260, "C:\\X"},
      {"\"C:\\X", 260, "\"C:\\X"},
      {"\"\"", 260, ""},
      {"C:\\\x83\x5C\\a", 260, "C:\\\x83\x5C\\a"},
      {long300, 260, std::string(259, 'x')},
      {std::string(259, 'x'), 260, std::string(259, 'x')},
      {"C:\\Games\\X", 5, "C:\\G"},
      {"\"abcdef\"", 5, "abcd"},
      {"C:\\Games\\X", 1, ""},
  };
  TestFolder folder;
  int index = 0;
  for (const Case &c : cases) {
    std::string path = folder / ("settings" + std::to_string(index) + ".ini");
    WriteBytes(path, "[INSTALL]\r\nInstallFold=" + c.value + "\r\n");
    char out[400];
    memset(out, 0xCC, sizeof out);
    DWORD length = GetPrivateProfileStringA("INSTALL", "InstallFold", "", out, c.size, path.c_str());
    EXPECT_SAME(std::string(out), c.expected, index);
    EXPECT_SAME(static_cast<unsigned long>(length), static_cast<unsigned long>(c.expected.size()), index);
    // Nothing is written past the buffer's size.
    EXPECT_SAME(static_cast<int>(static_cast<unsigned char>(out[c.size])), 0xCC, index);
    ++index;
  }
}

CONFORMANCE_TEST(MissingStringsGiveTheDefault) {
  TestFolder folder;
  std::string path = folder / "settings.ini";
  WriteBytes(path, "[INSTALL]\r\nIsInstall=1\r\n");
  char out[64];
  EXPECT_SAME(static_cast<unsigned long>(
                  GetPrivateProfileStringA("INSTALL", "InstallFold", "", out, 64, path.c_str())),
              0ul, -1);
  EXPECT_SAME(std::string(out), std::string(), -1);
  // The default loses its trailing blanks.
  GetPrivateProfileStringA("INSTALL", "InstallFold", "abc  ", out, 64, path.c_str());
  EXPECT_SAME(std::string(out), std::string("abc"), -1);
  GetPrivateProfileStringA("INSTALL", "InstallFold", "abc", out, 64, (folder / "missing.ini").c_str());
  EXPECT_SAME(std::string(out), std::string("abc"), -1);
}
