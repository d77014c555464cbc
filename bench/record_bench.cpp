// Loading and saving a large install record, against plain reading and
// writing of the same bytes in the same run, and the splitting's time per
// byte over growing records to show that it stays linear.
//
//   build/linux/bench/record_bench [folder]
//
// The record is written into a fresh folder under `folder` (the system's
// temporary folder by default) and removed afterwards.
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32.h"
#include "record/split_lines.h"
#include "record/uninstall_info.h"

namespace {

const int kLines = 200000;
const size_t kRecordBytes = 10 * 1024 * 1024;
const int kRounds = 5;

// A record of kLines lines and exactly kRecordBytes bytes: file entries
// whose names hold double-byte characters (some with a 0x5C trail byte),
// mostly CR LF endings, some LF.
std::string MakeRecord() {
  const char *words[] = {"data", "\x83\x5C\x83\x74\x83\x67", "voice", "\x89\xE6\x91\x9C", "bgm", "scenario"};
  std::string record;
  record.reserve(kRecordBytes);
  size_t room = kRecordBytes;
  for (int i = 0; i < kLines; ++i) {
    std::string line = "F ";
    line += words[i % 6];
    line += "\\";
    line += words[(i / 6) % 6];
    line += "_" + std::to_string(i) + ".pac;";
    // Pad so that the lines share the remaining room evenly.
    size_t ending = i % 10 == 9 ? 1 : 2;
    size_t want = room / static_cast<size_t>(kLines - i);
    if (line.size() + ending < want) line.append(want - line.size() - ending, 'x');
    line += ending == 1 ? "\n" : "\r\n";
    room -= line.size();
    record += line;
  }
  return record;
}

double Seconds(const std::function<void()> &run) {
  double best = 1e9;
  for (int round = 0; round < kRounds; ++round) {
    auto start = std::chrono::steady_clock::now();
    run();
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count());
  }
  return best;
}

double MBps(size_t bytes, double seconds) {
  return bytes / seconds / 1e6;
}

bool PlainRead(const std::string &path, std::vector<char> &buffer) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD size = GetFileSize(file, nullptr);
  buffer.assign(size, 0);
  DWORD read = 0;
  BOOL ok = ReadFile(file, buffer.data(), size, &read, nullptr);
  CloseHandle(file);
  return ok;
}

bool PlainWrite(const std::string &path, const std::string &bytes, bool flush) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  if (ok && flush) ok = FlushFileBuffers(file);
  CloseHandle(file);
  return ok;
}

}  // namespace

int main(int argc, char **argv) {
  std::string base = argc > 1 ? argv[1] : std::filesystem::temp_directory_path().string();
  std::string pattern = base + "/record-bench-XXXXXX";
  if (!mkdtemp(&pattern[0])) {
    fprintf(stderr, "cannot make a folder under %s\n", base.c_str());
    return 1;
  }
  const std::string folder = pattern;
  const std::string path = folder + "/Setup.dat";
  const std::string plainPath = folder + "/plain.dat";

  const std::string record = MakeRecord();
  if (!PlainWrite(path, record, false)) return 1;
  printf("record: %zu bytes, %d lines, best of %d rounds\n\n", record.size(), kLines, kRounds);

  std::vector<char> buffer;
  bool ok = true;
  double plainRead = Seconds([&] { ok &= PlainRead(path, buffer); });
  UnInstallInfo info(path);
  double load = Seconds([&] { ok &= info.Load(); });
  if (info.Lines.size() != static_cast<size_t>(kLines)) ok = false;

  double plainWrite = Seconds([&] { ok &= PlainWrite(plainPath, record, false); });
  double plainWriteFlush = Seconds([&] { ok &= PlainWrite(plainPath, record, true); });
  double save = Seconds([&] { ok &= info.Save(); });
  if (!ok) {
    fprintf(stderr, "a read, load, write or save failed\n");
    return 1;
  }

  // The saved record differs from the made one only in its LF endings.
  size_t saved = std::filesystem::file_size(path);
  printf("%-28s %9.1f MB/s\n", "plain read", MBps(record.size(), plainRead));
  printf("%-28s %9.1f MB/s   %.3f x plain read\n", "load (read and split)", MBps(record.size(), load),
         plainRead / load);
  printf("%-28s %9.1f MB/s\n", "plain write", MBps(saved, plainWrite));
  printf("%-28s %9.1f MB/s\n", "plain write and flush", MBps(saved, plainWriteFlush));
  printf("%-28s %9.1f MB/s   %.3f x plain write, %.3f x plain write and flush\n",
         "save (write, flush, replace)", MBps(saved, save), plainWrite / save, plainWriteFlush / save);

  // Splitting alone over records of growing size: the time per byte stays
  // the same when the splitting is linear.
  printf("\nsplitting, time per byte by record size:\n");
  double fewest = 1e9, most = 0;
  for (int copies : {1, 2, 4, 8}) {
    std::string text;
    for (int i = 0; i < copies; ++i) text += record.substr(0, record.size() / 4);
    double seconds = Seconds([&] {
      std::list<std::string> lines;
      SplitLines(lines, text.data(), static_cast<int32_t>(text.size()));
    });
    double perByte = seconds / text.size() * 1e9;
    fewest = std::min(fewest, perByte);
    most = std::max(most, perByte);
    printf("  %6.2f MB  %6.2f ns/byte\n", text.size() / 1e6, perByte);
  }
  printf("  largest / smallest time per byte: %.2f\n", most / fewest);

  std::filesystem::remove_all(folder);
  return 0;
}
