#include "split_lines.h"

void SplitLines(std::list<std::string> &lines, const char *bytes, int32_t count) {
  // A line is a run of the bytes followed by its ending, so it is copied
  // from the bytes in one piece once its end is known.
  int32_t start = 0;
  int32_t at = 0;
  while (at < count) {
    unsigned char c = static_cast<unsigned char>(bytes[at]);
    if (c == 0x00 || c == 0x1A) break;
    if (IsLeadByte(c)) {
      // The trail byte is taken unexamined; a lead byte that is the last
      // byte stands alone.
      at += count - at > 1 ? 2 : 1;
    } else if (c == '\r') {
      at += count - at > 1 && bytes[at + 1] == '\n' ? 2 : 1;
      lines.emplace_back(bytes + start, static_cast<size_t>(at - start));
      start = at;
    } else if (c == '\n') {
      std::string line(bytes + start, static_cast<size_t>(at - start));
      line += "\r\n";
      lines.push_back(std::move(line));
      at += count - at > 1 && bytes[at + 1] == '\r' ? 2 : 1;
      start = at;
    } else {
      ++at;
    }
  }
  // The final fragment that no ending closed is kept as it stands.
  if (at > start) lines.emplace_back(bytes + start, static_cast<size_t>(at - start));
}

bool HasLineEnding(const std::string &line) {
  // Walk the characters from the first, since a trail byte can look like CR
  // or LF; the last character decides.
  size_t at = 0;
  size_t last = 0;
  while (at < line.size()) {
    last = at;
    at += IsLeadByte(static_cast<unsigned char>(line[at])) ? 2 : 1;
  }
  if (line.empty() || at - last != 1) return false;
  return line[last] == '\r' || line[last] == '\n';
}
