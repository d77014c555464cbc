// Copying a 1 GiB update file with CopyUpdateFile against dd with the same
// block size (65,532 bytes) on the same files in the same run, printing
// both throughputs and their ratio. The rounds alternate so that both see
// the same cache and disk; the best round of each counts.
//
//   build/linux/bench/copy_bench [folder]
//
// The files are made in a fresh folder under `folder` (the system's
// temporary folder by default) and removed afterwards.
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "update/file_copy.h"

namespace {

const uint64_t kFileBytes = 1ull << 30;
const int kRounds = 4;

double Seconds(const std::chrono::steady_clock::time_point &start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void MakeSource(const std::string &path) {
  std::vector<char> chunk(1 << 20);
  for (size_t i = 0; i < chunk.size(); ++i) chunk[i] = static_cast<char>(i * 131 + (i >> 9));
  std::ofstream out(path, std::ios::binary);
  for (uint64_t written = 0; written < kFileBytes; written += chunk.size())
    out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
}

}  // namespace

int main(int argc, char **argv) {
  std::filesystem::path base = argc > 1 ? argv[1] : std::filesystem::temp_directory_path();
  std::filesystem::path folder = base / ("copy-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  std::string source = (folder / "patch.pac").string();
  std::string target = (folder / "copy.pac").string();
  std::string reference = (folder / "dd.pac").string();
  MakeSource(source);

  std::string dd = "dd if='" + source + "' of='" + reference + "' bs=65532 status=none";
  double bestCopy = 1e30, bestDd = 1e30;
  for (int round = 0; round < 2 * kRounds; ++round) {
    // Each goes first in every other round, so that neither always pays
    // for the other's dirty pages being written back.
    bool copyTurn = (round % 2 == 0) == (round / 2 % 2 == 0);
    // The previous round's pages reach the disk before the clock starts.
    sync();
    auto start = std::chrono::steady_clock::now();
    if (copyTurn) {
      if (!CopyUpdateFile(target.c_str(), source.c_str())) {
        fprintf(stderr, "the copy failed\n");
        return 1;
      }
      bestCopy = std::min(bestCopy, Seconds(start));
    } else {
      if (system(dd.c_str()) != 0) {
        fprintf(stderr, "dd failed\n");
        return 1;
      }
      bestDd = std::min(bestDd, Seconds(start));
    }
  }
  bool same = std::filesystem::file_size(target) == kFileBytes;
  std::filesystem::remove_all(folder);

  double mb = static_cast<double>(kFileBytes) / 1e6;
  printf("copy of 1 GiB, best of %d rounds\n", kRounds);
  printf("  dd bs=65532      %8.1f MB/s\n", mb / bestDd);
  printf("  CopyUpdateFile   %8.1f MB/s\n", mb / bestCopy);
  printf("  ratio            %8.3f (CopyUpdateFile / dd)\n", bestDd / bestCopy);
  return same ? 0 : 1;
}
