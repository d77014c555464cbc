// The transcript the driver writes: one line for each thing it saw or did.
// The program's texts are written as the bytes it shows (code page 932);
// bytes below 0x20 are written as <CR>, <LF>, <TAB> or <XX> in hex, so that a
// line of the transcript is always one line of text. No trail byte of code
// page 932 is below 0x40, so the escapes never split a character.
#pragma once

#include <stdio.h>

#include <string>

class Transcript {
 public:
  explicit Transcript(const char *path);
  ~Transcript();
  Transcript(const Transcript &) = delete;
  Transcript &operator=(const Transcript &) = delete;

  bool IsOpen() const { return file_ != nullptr; }
  // Writes the line and a line feed, and flushes, so that what was written
  // before a hang is there to read.
  void Line(const std::string &line);

 private:
  FILE *file_;
};

// The text in double quotes, with its control bytes escaped.
std::string Quoted(const std::string &text);
