#include "scratch.h"

#include <fcntl.h>
#include <iconv.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include <filesystem>

ScratchFolder::ScratchFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "updater-test-XXXXXX").string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (!mkdtemp(buffer.data())) throw std::runtime_error("mkdtemp failed");
  path_ = buffer.data();
}

ScratchFolder::~ScratchFolder() {
  // Read-only files and folders are made writable first so that everything goes.
  std::error_code ignored;
  for (auto &entry : std::filesystem::recursive_directory_iterator(path_, ignored))
    chmod(entry.path().c_str(), 0755);
  std::filesystem::remove_all(path_, ignored);
}

void MakeFolder(const std::string &path) {
  std::filesystem::create_directories(path);
}

void WriteBytes(const std::string &path, const std::string &bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string ReadBytes(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

bool Exists(const std::string &path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

void MakeSparseFile(const std::string &path, uint64_t size) {
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0 || ftruncate(fd, static_cast<off_t>(size)) != 0) throw std::runtime_error("cannot size " + path);
  close(fd);
}

void SetReadOnly(const std::string &path, bool readOnly) {
  chmod(path.c_str(), readOnly ? 0444 : 0644);
}

std::string Cp932(const char *utf8) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no CP932 in iconv");
  std::string in = utf8;
  std::vector<char> out(in.size() * 2 + 8);
  char *src = &in[0];
  char *dst = out.data();
  size_t srcLeft = in.size(), dstLeft = out.size();
  size_t result = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
  iconv_close(cd);
  if (result == static_cast<size_t>(-1)) throw std::runtime_error("not convertible to CP932");
  return std::string(out.data(), static_cast<size_t>(dst - out.data()));
}
