#include "uninstall_info.h"

#include <stdint.h>

#include <utility>
#include <vector>

#include "platform/win32.h"
#include "record/split_lines.h"
#include "shared/win32_handles.h"

namespace {

// The largest record that the splitting can take: its count is a signed
// 32-bit integer.
const DWORD kMaxRecordSize = INT32_MAX;

enum class WriteResult { Written, NotCreated, WriteFailed };

// Writes the lines back to back, each with its own ending, into a new file
// at `path`, and puts them on the disk.
WriteResult WriteLines(const char *path, const std::list<std::string> &lines) {
  FileHandle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsOpen()) return WriteResult::NotCreated;
  for (const std::string &line : lines) {
    // The whole line, NULs included: a lead byte may have taken one along.
    DWORD length = static_cast<DWORD>(line.size());
    DWORD written = 0;
    if (!WriteFile(file.Get(), line.data(), length, &written, nullptr) || written != length)
      return WriteResult::WriteFailed;
  }
  // On the disk before it replaces the record, so that a power cut cannot
  // leave an empty record behind.
  if (!FlushFileBuffers(file.Get())) return WriteResult::WriteFailed;
  return WriteResult::Written;
}

void ShowCreationFailure(const std::string &path) {
  MessageBoxA(nullptr, "ファイル作成失敗", path.c_str(), MB_TOPMOST | MB_ICONWARNING);
}

}  // namespace

UnInstallInfo::UnInstallInfo(std::string filePath) : FilePath(std::move(filePath)) {
  Load();
}

UnInstallInfo::~UnInstallInfo() {}

bool UnInstallInfo::Load() {
  Lines.clear();
  unreadRecord_ = false;
  try {
    FileHandle file(CreateFileA(FilePath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen()) {
      // A record that is not there is an empty one; any other failure means
      // the installer's lines exist but are not known.
      DWORD error = GetLastError();
      unreadRecord_ = error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
      return false;
    }
    unreadRecord_ = true;  // until it has been read whole

    // A size that does not fit the splitting's count (INVALID_FILE_SIZE
    // among them) cannot be read whole.
    DWORD sizeHigh = 0;
    DWORD size = GetFileSize(file.Get(), &sizeHigh);
    if (sizeHigh != 0 || size > kMaxRecordSize) return false;

    std::list<std::string> lines;
    {
      // Cleared to zero: bytes that the read does not deliver end the text
      // as a NUL would. At least one byte, so that the read gets a buffer.
      std::vector<char> buffer(size > 0 ? size : 1);
      DWORD read = 0;
      if (!ReadFile(file.Get(), buffer.data(), size, &read, nullptr)) return false;
      file.Close();
      SplitLines(lines, buffer.data(), static_cast<int32_t>(size));
    }
    Lines.swap(lines);
    unreadRecord_ = false;
    return true;
  } catch (...) {
    // Only memory exhaustion gets here; the file and the buffer are released
    // by their owners on the way out.
    Lines.clear();
    unreadRecord_ = true;
    return false;
  }
}

void UnInstallInfo::AddLine(std::string line) {
  for (const std::string &present : Lines)
    if (present == line) return;

  // The copy is made first, so that running out of memory changes nothing.
  std::list<std::string> added;
  added.push_back(std::move(line));
  if (!Lines.empty() && !Lines.back().empty() && !HasLineEnding(Lines.back())) {
    Lines.back() += "\r\n";
    // The record's last bytes may be this very line without its ending.
    if (Lines.back() == added.back()) return;
  }
  Lines.splice(Lines.end(), added);
}

namespace {

// Whether the record itself may be written: it is missing (a save creates
// it), or it opens for writing, so it is neither read-only nor held open by
// another program. Opening it so changes nothing in it.
bool RecordWritable(const std::string &path) {
  FileHandle record(
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (record.IsOpen()) return true;
  DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

}  // namespace

bool UnInstallInfo::Save() {
  if (unreadRecord_) return false;
  // Checked first, so that a record that must stay as it is is not replaced
  // where the platform would let a read-only file be moved over.
  if (!RecordWritable(FilePath)) {
    ShowCreationFailure(FilePath);
    return false;
  }

  const std::string newRecord = FilePath + ".tmp";
  switch (WriteLines(newRecord.c_str(), Lines)) {
    case WriteResult::NotCreated:
      ShowCreationFailure(FilePath);
      return false;
    case WriteResult::WriteFailed:
      DeleteFileA(newRecord.c_str());
      return false;
    case WriteResult::Written:
      break;
  }
  // Fails, and leaves the record alone, when the record is read-only or
  // another handle holds it open.
  if (!MoveFileExA(newRecord.c_str(), FilePath.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileA(newRecord.c_str());
    ShowCreationFailure(FilePath);
    return false;
  }
  return true;
}
