// Test helpers: a scratch folder that is removed afterwards, files written
// and read as raw bytes, and an independent CP932 conversion to check the
// program's texts against.
#pragma once

#include <stdint.h>

#include <string>

// A fresh folder under the system's temporary folder, removed with
// everything in it when the object goes.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder &) = delete;
  ScratchFolder &operator=(const ScratchFolder &) = delete;

  const std::string &Path() const { return path_; }
  // The path of a name inside the folder.
  std::string operator/(const std::string &name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

void MakeFolder(const std::string &path);  // with its parents
void WriteBytes(const std::string &path, const std::string &bytes);
std::string ReadBytes(const std::string &path);
bool Exists(const std::string &path);
// A file of the given size that takes no room on disk.
void MakeSparseFile(const std::string &path, uint64_t size);
void SetReadOnly(const std::string &path, bool readOnly);

// UTF-8 text converted to code page 932 by iconv, not by the compiler.
std::string Cp932(const char *utf8);
