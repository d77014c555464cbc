// wsprintfA writes at most 1,024 bytes with its NUL; lstrlenA counts to the
// first NUL.
#include <string.h>

#include "harness.h"
#include "platform/win32.h"

using namespace conformance;

CONFORMANCE_TEST(FormattingStopsAt1024Bytes) {
  struct Case {
    size_t length;   // of the argument
    size_t written;  // characters before the NUL
  } cases[] = {{10, 10}, {1022, 1022}, {1023, 1023}, {1024, 1023}, {2000, 1023}};
  int index = 0;
  for (const Case &c : cases) {
    std::string argument(c.length, 'a');
    char out[3000];
    memset(out, 0xCC, sizeof out);
    wsprintfA(out, "%s", argument.c_str());
    EXPECT_SAME(strlen(out), c.written, index);
    // Nothing at or past byte 1024 is touched.
    EXPECT_SAME(static_cast<int>(static_cast<unsigned char>(out[1024])), 0xCC, index);
    ++index;
  }
}

CONFORMANCE_TEST(JoiningAFolderAndAName) {
  char out[64];
  EXPECT_SAME(wsprintfA(out, "%s\\%s", "C:\\Game", "patch.pac"), 17, -1);
  EXPECT_SAME(std::string(out), std::string("C:\\Game\\patch.pac"), -1);
  wsprintfA(out, "%s\\%s.exe", "C:\\", "lumireth");
  EXPECT_SAME(std::string(out), std::string("C:\\\\lumireth.exe"), -1);
  wsprintfA(out, "F %s;\r\n", "data.pac");
  EXPECT_SAME(std::string(out), std::string("F data.pac;\r\n"), -1);
  // Code page 932 bytes pass unchanged, a 0x5C trail byte included.
  wsprintfA(out, "%s\\%s", "C:\\\x83\x5C", "a");
  EXPECT_SAME(std::string(out), std::string("C:\\\x83\x5C\\a"), -1);
}

CONFORMANCE_TEST(LengthOfText) {
  EXPECT_SAME(lstrlenA("patch.pac"), 9, -1);
  EXPECT_SAME(lstrlenA(""), 0, -1);
  EXPECT_SAME(lstrlenA(nullptr), 0, -1);
}
