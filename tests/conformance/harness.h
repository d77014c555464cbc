// A small test harness for the conformance tests: the same programs are
// built for Linux, over the stand-in layer, and for Windows, run under Wine,
// with the same expectations, so the layer cannot drift from Windows.
#pragma once

#include <stdint.h>

#include <string>

namespace conformance {

using TestFunction = void (*)();

struct Registration {
  Registration(const char *name, TestFunction function);
};

// Records a failed expectation; the case index says which row of a table.
void Failure(const char *file, int line, const std::string &what);
// Notes an expectation that Windows meets and Wine is known to miss.
void Todo(const char *file, int line, const std::string &what);
// True when the Windows build runs under Wine.
bool UnderWine();

std::string Show(const std::string &bytes);  // printable, with \xNN escapes
inline std::string Show(const char *text) {
  return text ? Show(std::string(text)) : "(null)";
}
inline std::string Show(long long value) {
  return std::to_string(value);
}
inline std::string Show(unsigned long long value) {
  return std::to_string(value);
}
inline std::string Show(int value) {
  return std::to_string(value);
}
inline std::string Show(unsigned value) {
  return std::to_string(value);
}
inline std::string Show(long value) {
  return std::to_string(value);
}
inline std::string Show(unsigned long value) {
  return std::to_string(value);
}
inline std::string Show(bool value) {
  return value ? "true" : "false";
}

// A fresh folder for one test, removed afterwards; paths use backslashes.
class TestFolder {
 public:
  TestFolder();
  ~TestFolder();
  const std::string &Path() const { return path_; }
  std::string operator/(const std::string &name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

void WriteBytes(const std::string &path, const std::string &bytes);
void MakeFolder(const std::string &path);
void SetReadOnly(const std::string &path, bool readOnly);
// A file of that size that takes no room, where the file system allows.
void MakeLargeFile(const std::string &path, uint64_t size);

}  // namespace conformance

#define CONFORMANCE_TEST(name)                                       \
  static void name();                                                \
  static conformance::Registration name##_registration(#name, name); \
  static void name()

// EXPECT_SAME(actual, expected, index): index names the case of a table,
// -1 when there is no table.
#define EXPECT_SAME(actual, expected, index)                                                               \
  do {                                                                                                     \
    auto actual_ = (actual);                                                                               \
    auto expected_ = (expected);                                                                           \
    if (!(actual_ == expected_))                                                                           \
      conformance::Failure(__FILE__, __LINE__,                                                             \
                           "case " + std::to_string(index) + ": " #actual " is " +                         \
                               conformance::Show(actual_) + ", expected " + conformance::Show(expected_)); \
  } while (0)

// EXPECT_SAME_TODO_WINE(actual, expected, index, why): an expectation of
// Windows' behaviour that Wine is known to miss, for the reason given. Under
// Wine a miss is noted and not counted, and a match fails, so that the note
// goes once Wine agrees; elsewhere it is EXPECT_SAME.
#define EXPECT_SAME_TODO_WINE(actual, expected, index, why)                                                  \
  do {                                                                                                       \
    auto actual_ = (actual);                                                                                 \
    auto expected_ = (expected);                                                                             \
    std::string what_ = "case " + std::to_string(index) + ": " #actual " is " + conformance::Show(actual_) + \
                        ", expected " + conformance::Show(expected_);                                        \
    if (!conformance::UnderWine()) {                                                                         \
      if (!(actual_ == expected_)) conformance::Failure(__FILE__, __LINE__, what_);                          \
    } else if (actual_ == expected_) {                                                                       \
      conformance::Failure(__FILE__, __LINE__, what_ + "; Wine agrees now, drop the todo (" why ")");        \
    } else {                                                                                                 \
      conformance::Todo(__FILE__, __LINE__, what_ + " (" why ")");                                           \
    }                                                                                                        \
  } while (0)
