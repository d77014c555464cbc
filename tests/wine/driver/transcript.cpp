#include "transcript.h"

Transcript::Transcript(const char *path) : file_(fopen(path, "wb")) {}

Transcript::~Transcript() {
  if (file_) fclose(file_);
}

void Transcript::Line(const std::string &line) {
  if (!file_) return;
  fwrite(line.data(), 1, line.size(), file_);
  fputc('\n', file_);
  fflush(file_);
}

std::string Quoted(const std::string &text) {
  std::string quoted = "\"";
  for (unsigned char c : text) {
    if (c == '\r') {
      quoted += "<CR>";
    } else if (c == '\n') {
      quoted += "<LF>";
    } else if (c == '\t') {
      quoted += "<TAB>";
    } else if (c < 0x20 || c == 0x7F) {
      char escape[8];
      snprintf(escape, sizeof escape, "<%02X>", c);
      quoted += escape;
    } else {
      quoted += static_cast<char>(c);
    }
  }
  return quoted + "\"";
}
