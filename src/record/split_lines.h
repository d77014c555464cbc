// The line format of the install record: Shift-JIS text whose lines end at
// CR LF, LF, LF CR or a lone CR, and whose text ends at NUL or 0x1A. A lead
// byte of code page 932 always takes the next byte along, whatever it is.
#pragma once

#include <stdint.h>

#include <list>
#include <string>

// The lead bytes of code page 932. The ranges are fixed: the system's code
// page is not consulted.
inline bool IsLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Appends the lines found in the first `count` bytes to `lines`, each with
// its ending: CR LF, or a lone CR where the text has one. LF and LF CR become
// CR LF. Bytes after the last line ending (a final fragment) become a last
// line without an ending, so that a save writes them back unchanged. A count
// of zero or less yields no lines.
void SplitLines(std::list<std::string> &lines, const char *bytes, int32_t count);

// True when the line ends in a CR or LF of its own, not in the trail byte of
// a double-byte character.
bool HasLineEnding(const std::string &line);
