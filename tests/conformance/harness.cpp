#include "harness.h"

#include <stdio.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/win32.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace conformance {
namespace {

struct Test {
  const char *name;
  TestFunction function;
};

std::vector<Test> &Tests() {
  static std::vector<Test> tests;
  return tests;
}

int failuresInTest = 0;

std::filesystem::path Native(const std::string &path) {
  std::string native = path;
#ifndef _WIN32
  for (char &c : native)
    if (c == '\\') c = '/';
#endif
  return std::filesystem::path(native);
}

}  // namespace

Registration::Registration(const char *name, TestFunction function) {
  Tests().push_back({name, function});
}

void Failure(const char *file, int line, const std::string &what) {
  ++failuresInTest;
  printf("  %s:%d: %s\n", file, line, what.c_str());
}

void Todo(const char *file, int line, const std::string &what) {
  printf("  todo_wine %s:%d: %s\n", file, line, what.c_str());
}

bool UnderWine() {
#ifdef _WIN32
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
#else
  return false;
#endif
}

std::string Show(const std::string &bytes) {
  std::string shown = "\"";
  for (unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x7F && c != '"') {
      shown += static_cast<char>(c);
    } else {
      char escape[8];
      snprintf(escape, sizeof escape, "\\x%02X", c);
      shown += escape;
    }
  }
  return shown + "\"";
}

TestFolder::TestFolder() {
  static int serial = 0;
  std::filesystem::path base = std::filesystem::temp_directory_path();
  std::filesystem::path folder;
  do {
    folder = base / ("conformance-" + std::to_string(rand()) + "-" + std::to_string(++serial));
  } while (std::filesystem::exists(folder));
  std::filesystem::create_directories(folder);
  path_ = folder.string();
  for (char &c : path_)
    if (c == '/') c = '\\';
}

TestFolder::~TestFolder() {
  std::error_code ignored;
  for (auto &entry : std::filesystem::recursive_directory_iterator(Native(path_), ignored))
    SetReadOnly(entry.path().string(), false);
  std::filesystem::remove_all(Native(path_), ignored);
}

void WriteBytes(const std::string &path, const std::string &bytes) {
  std::ofstream out(Native(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void MakeFolder(const std::string &path) {
  std::filesystem::create_directories(Native(path));
}

void SetReadOnly(const std::string &path, bool readOnly) {
#ifdef _WIN32
  SetFileAttributesA(path.c_str(), readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
#else
  chmod(Native(path).c_str(), readOnly ? 0444 : 0755);
#endif
}

void MakeLargeFile(const std::string &path, uint64_t size) {
  WriteBytes(path, "");
  std::filesystem::resize_file(Native(path), size);
}

}  // namespace conformance

int main() {
  int passed = 0, failed = 0;
  for (const conformance::Test &test : conformance::Tests()) {
    conformance::failuresInTest = 0;
    test.function();
    printf("%s %s\n", conformance::failuresInTest ? "FAIL" : "ok  ", test.name);
    conformance::failuresInTest ? ++failed : ++passed;
  }
  printf("%d passed, %d failed\n", passed, failed);
  return failed ? 1 : 0;
}
