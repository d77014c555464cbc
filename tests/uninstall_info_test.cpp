// The install record: its bytes become lines and go back to the same bytes,
// entries are added once and on lines of their own, and no failure, whether
// of loading or of saving, loses or shortens the installer's text.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/posix/layer.h"
#include "platform/posix/test_control.h"
#include "record/split_lines.h"
#include "record/uninstall_info.h"
#include "support/allocation_faults.h"
#include "support/scratch.h"

namespace {

using namespace std::string_literals;
using Lines = std::list<std::string>;

const UINT kWarning = 0x40030;  // MB_TOPMOST | MB_ICONWARNING
const std::string kEntry = "F patch.pac;\r\n";

class RecordTest : public ::testing::Test {
 protected:
  void SetUp() override { testctl::Reset(); }
  void TearDown() override {
    EXPECT_EQ(testctl::OpenHandles(), 0) << "a handle was left open";
    testctl::Reset();
  }

  // The record as the update run names it: the folder, a backslash, the name.
  std::string RecordPath() const { return root.Path() + "\\Setup.dat"; }
  std::string HostRecord() const { return root / "Setup.dat"; }
  void WriteRecord(const std::string &bytes) { WriteBytes(HostRecord(), bytes); }
  std::string RecordBytes() const { return ReadBytes(HostRecord()); }

  // The names in the record's folder, to show that no stray file is left.
  std::vector<std::string> FolderEntries() const {
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(root.Path()))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  // Expects exactly one message, the creation failure, in its form.
  void ExpectCreationFailureShown(const std::string &caption) {
    ASSERT_EQ(testctl::Transcript().size(), 1u);
    const testctl::Window &w = testctl::Transcript()[0];
    EXPECT_EQ(w.kind, "MessageBox");
    EXPECT_EQ(w.owner, nullptr);
    EXPECT_EQ(w.caption, caption);
    EXPECT_EQ(w.text, Cp932(u8"ファイル作成失敗"));
    EXPECT_EQ(w.style, kWarning);
  }

  ScratchFolder root;
};

std::string Concat(const Lines &lines) {
  std::string all;
  for (const std::string &line : lines) all += line;
  return all;
}

// Bytes in, the lines they load as, the bytes a save writes back.
TEST_F(RecordTest, BytesLinesAndSavedBytes) {
  struct Case {
    const char *what;
    std::string bytes;
    Lines lines;
    std::string saved;
  } cases[] = {
      {"empty file", "", {}, ""},
      {"every ending",
       "A\r\nB\nC\n\rD\rE\r\n",
       {"A\r\n", "B\r\n", "C\r\n", "D\r", "E\r\n"},
       "A\r\nB\r\nC\r\nD\rE\r\n"},
      {"CR then CR LF", "A\r\r\n", {"A\r", "\r\n"}, "A\r\r\n"},
      {"LF LF", "\n\n", {"\r\n", "\r\n"}, "\r\n\r\n"},
      {"LF CR LF", "\n\r\n", {"\r\n", "\r\n"}, "\r\n\r\n"},
      {"CR is the last byte", "A\r\nB\r", {"A\r\n", "B\r"}, "A\r\nB\r"},
      {"0x1A ends the text",
       "A\r\n\x1A"
       "B\r\n",
       {"A\r\n"},
       "A\r\n"},
      {"NUL ends the text", "A\r\n\0B\r\n"s, {"A\r\n"}, "A\r\n"},
      {"NUL first", "\0A\r\n"s, {}, ""},
      {"lead byte takes CR", "\x81\r\n", {"\x81\r\r\n"}, "\x81\r\r\n"},
      {"lead byte takes LF", "\x81\nA\n", {"\x81\nA\r\n"}, "\x81\nA\r\n"},
      {"lead byte takes NUL", "\x81\0B\r\nC\r\n"s, {"\x81\0B\r\n"s, "C\r\n"}, "\x81\0B\r\nC\r\n"s},
      {"lead byte takes 0x1A", "\xE0\x1A\r\n", {"\xE0\x1A\r\n"}, "\xE0\x1A\r\n"},
      {"trail byte 0x5C", "\x95\\\r\n", {"\x95\\\r\n"}, "\x95\\\r\n"},
      // The edges of the lead ranges: 0x81-0x9F and 0xE0-0xFC.
      {"0x80 stands alone", "\x80\r\n", {"\x80\r\n"}, "\x80\r\n"},
      {"0x9F leads", "\x9F\r\n", {"\x9F\r\r\n"}, "\x9F\r\r\n"},
      {"0xA0 stands alone", "\xA0\n", {"\xA0\r\n"}, "\xA0\r\n"},
      {"0xDF stands alone", "\xDF\n", {"\xDF\r\n"}, "\xDF\r\n"},
      {"0xFC leads", "\xFC\n\n", {"\xFC\n\r\n"}, "\xFC\n\r\n"},
      {"0xFD stands alone", "\xFD\n", {"\xFD\r\n"}, "\xFD\r\n"},
      // Bytes after the last ending are kept as a last line of their own.
      {"final fragment", "A\r\nB", {"A\r\n", "B"}, "A\r\nB"},
      {"only a fragment", "AB", {"AB"}, "AB"},
      {"fragment before 0x1A",
       "A\r\nB\x1A"
       "C\r\n",
       {"A\r\n", "B"},
       "A\r\nB"},
      {"fragment before NUL", "A\nB\0C"s, {"A\r\n", "B"}, "A\r\nB"},
      {"lead byte is the last byte", "A\r\nB\x81", {"A\r\n", "B\x81"}, "A\r\nB\x81"},
      {"lead byte takes the last CR", "A\x81\r", {"A\x81\r"}, "A\x81\r"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    WriteRecord(c.bytes);
    UnInstallInfo info(RecordPath());
    EXPECT_TRUE(info.Load());
    EXPECT_EQ(info.Lines, c.lines);
    EXPECT_TRUE(info.Save());
    EXPECT_EQ(RecordBytes(), c.saved);
  }
  EXPECT_TRUE(testctl::Transcript().empty());
}

TEST_F(RecordTest, SplittingAppendsAndTakesNoBytesForACountBelowOne) {
  Lines lines = {"kept\r\n"};
  SplitLines(lines, "A\r\n", 0);
  SplitLines(lines, "A\r\n", -1);
  EXPECT_EQ(lines, (Lines{"kept\r\n"}));
  // Only the counted bytes are looked at: the LF beyond the count does not
  // join the last CR.
  SplitLines(lines, "A\r\nB\r\n", 5);
  EXPECT_EQ(lines, (Lines{"kept\r\n", "A\r\n", "B\r"}));
  SplitLines(lines, "C\x81\r\n", 2);
  EXPECT_EQ(lines.back(), "C\x81");
}

TEST_F(RecordTest, OpensTheRecordAsItsFormSays) {
  WriteRecord("A\r\n");
  UnInstallInfo info(RecordPath());
  info.AddLine(kEntry);
  ASSERT_TRUE(info.Save());
  auto opens = testctl::CallsNamed("CreateFileA");
  ASSERT_EQ(opens.size(), 3u);
  // Loading reads and lets others read; saving first makes sure the record
  // itself may be written, then writes a new file beside it without sharing
  // it, then puts that in the record's place.
  EXPECT_EQ(opens[0].path, RecordPath());
  EXPECT_EQ(opens[0].args, (std::vector<uint64_t>{GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0x80}));
  EXPECT_EQ(opens[1].path, RecordPath());
  EXPECT_EQ(opens[1].args, (std::vector<uint64_t>{GENERIC_WRITE, 0, OPEN_EXISTING, 0x80}));
  EXPECT_EQ(opens[2].path, RecordPath() + ".tmp");
  EXPECT_EQ(opens[2].args, (std::vector<uint64_t>{GENERIC_WRITE, 0, CREATE_ALWAYS, 0x08000080}));
  auto moves = testctl::CallsNamed("MoveFileExA");
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0].path, RecordPath());
  EXPECT_EQ(moves[0].args, (std::vector<uint64_t>{MOVEFILE_REPLACE_EXISTING}));
  // One write per line.
  EXPECT_EQ(testctl::CallsNamed("WriteFile").size(), 2u);
  EXPECT_EQ(RecordBytes(), "A\r\n" + kEntry);
  EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"Setup.dat"}));
}

TEST_F(RecordTest, MissingRecordIsEmptyAndASaveCreatesIt) {
  UnInstallInfo info(RecordPath());
  EXPECT_TRUE(info.Lines.empty());
  EXPECT_FALSE(info.Load());
  info.AddLine(kEntry);
  info.AddLine("F data.pac;\r\n");
  EXPECT_TRUE(info.Save());
  EXPECT_EQ(RecordBytes(), kEntry + "F data.pac;\r\n");
  // An empty record saved without additions stays empty.
  WriteRecord("");
  UnInstallInfo empty(RecordPath());
  EXPECT_TRUE(empty.Save());
  EXPECT_EQ(RecordBytes(), "");
  EXPECT_TRUE(testctl::Transcript().empty());
}

TEST_F(RecordTest, AddLineComparesWholeByteStrings) {
  struct Case {
    const char *what;
    std::string record;
    std::vector<std::string> added;
    Lines lines;
  } cases[] = {
      {"present line", "A\r\nF patch.pac;\r\n", {kEntry}, {"A\r\n", kEntry}},
      {"present after an LF in the file", "F patch.pac;\nA\n", {kEntry}, {kEntry, "A\r\n"}},
      {"present after LF CR in the file", "F patch.pac;\n\rA\n", {kEntry}, {kEntry, "A\r\n"}},
      {"differs only in its ending", "F patch.pac;\r", {kEntry}, {"F patch.pac;\r", kEntry}},
      {"same entry twice", "A\r\n", {kEntry, kEntry}, {"A\r\n", kEntry}},
      {"no case folding", "f patch.pac;\r\n", {kEntry}, {"f patch.pac;\r\n", kEntry}},
      {"no trimming", "F patch.pac; \r\n", {kEntry}, {"F patch.pac; \r\n", kEntry}},
      {"kept in the order added", "", {"F b;\r\n", "F a;\r\n"}, {"F b;\r\n", "F a;\r\n"}},
      {"duplicates in the file stay", "A\r\nA\r\n", {"A\r\n"}, {"A\r\n", "A\r\n"}},
      // A last line without an ending is closed so the entry stands alone.
      {"after a final fragment", "A\r\nG", {kEntry}, {"A\r\n", "G\r\n", kEntry}},
      {"fragment is the entry", "A\r\nF patch.pac;", {kEntry}, {"A\r\n", kEntry}},
      {"fragment ends in a trail CR", "A\x81\r", {kEntry}, {"A\x81\r\r\n", kEntry}},
      {"fragment ends in a lead byte", "A\x81", {kEntry}, {"A\x81\r\n", kEntry}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    WriteRecord(c.record);
    UnInstallInfo info(RecordPath());
    for (const std::string &line : c.added) info.AddLine(line);
    EXPECT_EQ(info.Lines, c.lines);
    ASSERT_TRUE(info.Save());
    EXPECT_EQ(RecordBytes(), Concat(c.lines));
    // Read back, every added entry is a line of its own.
    UnInstallInfo again(RecordPath());
    for (const std::string &line : c.added)
      EXPECT_NE(std::find(again.Lines.begin(), again.Lines.end(), line), again.Lines.end()) << line;
  }
}

// A record that is there but could not be read keeps its text: a save would
// otherwise replace it with the added lines alone.
TEST_F(RecordTest, UnreadRecordIsNeverReplaced) {
  const std::string installed = "A\r\nB\r\n";
  struct Case {
    const char *what;
    const char *call;  // the call made to fail, or null
    DWORD error;
    bool holdOpen;  // another handle holds the record without sharing
    size_t closes;  // CloseHandle calls on the record while loading
  } cases[] = {
      {"open refused", "CreateFileA", ERROR_ACCESS_DENIED, false, 0},
      {"open shared away", "CreateFileA", ERROR_SHARING_VIOLATION, false, 0},
      {"size unknown", "GetFileSize", ERROR_ACCESS_DENIED, false, 1},
      {"read fails", "ReadFile", ERROR_READ_FAULT, false, 1},
      {"held by another program", nullptr, 0, true, 0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    testctl::Reset();
    WriteRecord(installed);
    HANDLE held = INVALID_HANDLE_VALUE;
    if (c.holdOpen)
      held = CreateFileA(RecordPath().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                         nullptr);
    if (c.call) testctl::Fail(c.call, "Setup.dat", 1, c.error);
    UnInstallInfo info(RecordPath());
    EXPECT_TRUE(info.Lines.empty());
    size_t closes = 0;
    for (const testctl::Call &call : testctl::CallsNamed("CloseHandle")) closes += call.path == RecordPath();
    EXPECT_EQ(closes, c.closes);
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);

    info.AddLine(kEntry);
    EXPECT_FALSE(info.Save());
    EXPECT_EQ(RecordBytes(), installed);
    EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"Setup.dat"}));
    EXPECT_TRUE(testctl::CallsNamed("MoveFileExA").empty());
    EXPECT_TRUE(testctl::Transcript().empty());

    // Once the record reads again, its lines come back and the entry joins them.
    ASSERT_TRUE(info.Load());
    info.AddLine(kEntry);
    EXPECT_TRUE(info.Save());
    EXPECT_EQ(RecordBytes(), installed + kEntry);
  }
}

// Sizes from 2 GiB up cannot be split whole; the low 32 bits alone would
// name a small part of the file.
TEST_F(RecordTest, RecordTooLargeToSplitIsUnread) {
  for (uint64_t size : {(1ull << 32) + 10, (1ull << 31) + 10}) {
    SCOPED_TRACE(size);
    MakeSparseFile(HostRecord(), size);
    UnInstallInfo info(RecordPath());
    EXPECT_TRUE(info.Lines.empty());
    EXPECT_TRUE(testctl::CallsNamed("ReadFile").empty());
    info.AddLine(kEntry);
    EXPECT_FALSE(info.Save());
    EXPECT_EQ(std::filesystem::file_size(HostRecord()), size);
    testctl::Reset();
  }
}

// Memory running out at any allocation of the load (the buffer, a line, a
// list node) ends it with false; the file is closed, everything allocated
// is released, and the record stays protected.
TEST_F(RecordTest, AllocationFailureWhileLoading) {
  std::string installed;
  for (int i = 0; installed.size() < 1000; ++i)
    installed += "F installed_file_number_" + std::to_string(i) + ".pac;\r\n";
  installed += "tail fragment that is long enough";
  WriteRecord(installed);
  UnInstallInfo info(RecordPath());
  const Lines expected = info.Lines;
  ASSERT_FALSE(expected.empty());

  // Without the observer the layer allocates nothing once the file is open,
  // so every fault counted from the buffer lands in the loader.
  layer::SetObserver(nullptr);
  int faults = 0;
  for (int nth = 1; nth < 1000; ++nth) {
    SCOPED_TRACE(nth);
    info.Lines.clear();
    long before = allocation_faults::Alive();
    allocation_faults::FailNthFrom(installed.size(), nth);
    bool loaded = info.Load();
    bool raised = allocation_faults::Disarm();
    long after = allocation_faults::Alive();
    if (!raised) {
      EXPECT_TRUE(loaded);
      EXPECT_EQ(info.Lines, expected);
      break;
    }
    ++faults;
    EXPECT_FALSE(loaded);
    EXPECT_TRUE(info.Lines.empty());
    EXPECT_EQ(after, before);
    EXPECT_EQ(testctl::OpenHandles(), 0);
    info.AddLine(kEntry);
    EXPECT_FALSE(info.Save());
    EXPECT_EQ(RecordBytes(), installed);
  }
  // The buffer, and a string and a node for each of the longer lines.
  EXPECT_GT(faults, static_cast<int>(expected.size()));
  EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"Setup.dat"}));
}

// A save that fails at any step leaves the record with its previous bytes
// and no file beside it. Only a new file that cannot be made, or a record
// that cannot be replaced, is reported by a message.
TEST_F(RecordTest, FailedSaveLeavesTheRecordAsItWas) {
  const std::string installed = "A\r\nB\r\nC";
  struct Case {
    const char *what;
    const char *call;
    const char *pathPart;
    int nth;
    bool message;
  } cases[] = {
      {"new file not created", "CreateFileA", "Setup.dat.tmp", 1, true},
      {"first write", "WriteFile", "", 1, false},
      {"second write", "WriteFile", "", 2, false},
      {"third write", "WriteFile", "", 3, false},
      {"last write", "WriteFile", "", 4, false},
      {"flush", "FlushFileBuffers", "", 1, false},
      {"replace", "MoveFileExA", "Setup.dat", 1, true},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    testctl::Reset();
    WriteRecord(installed);
    UnInstallInfo info(RecordPath());
    info.AddLine(kEntry);
    ASSERT_EQ(info.Lines.size(), 4u);
    testctl::Fail(c.call, c.pathPart, c.nth, ERROR_DISK_FULL);
    EXPECT_FALSE(info.Save());
    EXPECT_EQ(RecordBytes(), installed);
    EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"Setup.dat"}));
    if (c.message) {
      ExpectCreationFailureShown(RecordPath());
    } else {
      EXPECT_TRUE(testctl::Transcript().empty());
    }
    EXPECT_EQ(testctl::OpenHandles(), 0);
  }
}

TEST_F(RecordTest, RecordThatCannotBeWrittenShowsItsPath) {
  const std::string installed = "A\r\n";
  enum Obstacle { ReadOnly, HeldOpen, FolderMissing };
  struct Case {
    const char *what;
    Obstacle obstacle;
  } cases[] = {
      {"read-only", ReadOnly},
      {"held open by another handle", HeldOpen},
      {"folder missing", FolderMissing},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    testctl::Reset();
    WriteRecord(installed);
    std::string path = c.obstacle == FolderMissing ? root.Path() + "\\gone\\Setup.dat" : RecordPath();
    UnInstallInfo info(path);
    info.AddLine(kEntry);
    HANDLE held = INVALID_HANDLE_VALUE;
    if (c.obstacle == ReadOnly) SetReadOnly(HostRecord(), true);
    if (c.obstacle == HeldOpen)
      held = CreateFileA(RecordPath().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
    EXPECT_FALSE(info.Save());
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    SetReadOnly(HostRecord(), false);
    ExpectCreationFailureShown(path);
    EXPECT_EQ(RecordBytes(), installed);
    EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"Setup.dat"}));
  }
}

TEST_F(RecordTest, LeftoverNewFileIsReplaced) {
  WriteRecord("A\r\n");
  WriteBytes(HostRecord() + ".tmp", "left from an interrupted save");
  UnInstallInfo info(RecordPath());
  info.AddLine(kEntry);
  EXPECT_TRUE(info.Save());
  EXPECT_EQ(RecordBytes(), "A\r\n" + kEntry);
  EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"Setup.dat"}));
}

// Seeded random records drawn from the bytes that matter: lead and trail
// bytes, CR, LF, NUL, 0x1A and ASCII.
TEST_F(RecordTest, RandomRecordsSurviveLoadAndSave) {
  const unsigned char alphabet[] = {0x81, 0x9F, 0xE0, 0xFC, 0x40, 0x5C, 0x7E, 0x80, 0xA0, 0xDF, 0xFD,
                                    '\r', '\n', '\r', '\n', 0x00, 0x1A, 'A',  'z',  ' ',  ';'};
  std::mt19937 random(20261211);
  std::uniform_int_distribution<size_t> pick(0, sizeof alphabet - 1);
  std::uniform_int_distribution<int> length(0, 40);
  for (int round = 0; round < 1500; ++round) {
    std::string bytes;
    for (int n = length(random); n > 0; --n) bytes += static_cast<char>(alphabet[pick(random)]);
    SCOPED_TRACE(::testing::PrintToString(bytes));

    WriteRecord(bytes);
    UnInstallInfo first(RecordPath());
    const Lines lines = first.Lines;
    // Only a final fragment lacks an ending; no line is empty.
    for (auto it = lines.begin(); it != lines.end(); ++it) {
      ASSERT_FALSE(it->empty());
      if (std::next(it) != lines.end()) {
        ASSERT_TRUE(HasLineEnding(*it)) << ::testing::PrintToString(*it);
      }
    }
    ASSERT_TRUE(first.Save());
    const std::string saved = RecordBytes();
    ASSERT_EQ(saved, Concat(lines));

    UnInstallInfo second(RecordPath());
    ASSERT_EQ(second.Lines, lines);
    ASSERT_TRUE(second.Save());
    ASSERT_EQ(RecordBytes(), saved);

    // An entry added after them reads back as a line of its own, after the
    // installer's lines.
    second.AddLine(kEntry);
    ASSERT_TRUE(second.Save());
    UnInstallInfo third(RecordPath());
    ASSERT_EQ(third.Lines.size(), lines.size() + 1);
    ASSERT_EQ(third.Lines.back(), kEntry);
    ASSERT_TRUE(std::equal(
        lines.begin(), lines.end(), third.Lines.begin(),
        [](const std::string &a, const std::string &b) { return b.compare(0, a.size(), a) == 0; }));
  }
  EXPECT_TRUE(testctl::Transcript().empty());
}

}  // namespace
