// Reading private-profile (INI) files the way Windows reads them: section
// and key names matched without regard to case, blanks around names and
// values dropped, one pair of matching quotes around a value removed, the
// first section and the first key of a name winning, ';' and '#' starting
// comment lines.
#include <stdio.h>
#include <string.h>
#include <strings.h>

#include <string>

#include "layer.h"

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string Trim(const std::string &text) {
  size_t begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

bool ReadWhole(const std::string &host, std::string *text) {
  FILE *file = fopen(host.c_str(), "rb");
  if (!file) return false;
  char chunk[4096];
  size_t n;
  while ((n = fread(chunk, 1, sizeof chunk, file)) > 0) text->append(chunk, n);
  fclose(file);
  return true;
}

std::string Unquote(const std::string &value) {
  if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
    return value.substr(1, value.size() - 2);
  return value;
}

// Finds the value of a key, unquoted; false when the file, the section or the key is
// not there.
bool LookUp(const char *section, const char *key, const char *file, std::string *value) {
  std::string text;
  if (!file || !section || !key || !ReadWhole(layer::HostPath(file), &text)) return false;
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);

  bool inSection = false;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = text.size();
    std::string line = Trim(text.substr(pos, end - pos));
    pos = end + 1;
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line[0] == '[') {
      // A header without its closing bracket starts no section.
      size_t close = line.find(']');
      if (close == std::string::npos) continue;
      // Only the first section of the name is searched.
      if (inSection) return false;
      inSection = strcasecmp(Trim(line.substr(1, close - 1)).c_str(), section) == 0;
      continue;
    }
    size_t equals = line.find('=');
    if (!inSection || equals == std::string::npos) continue;
    if (strcasecmp(Trim(line.substr(0, equals)).c_str(), key) != 0) continue;
    *value = Unquote(Trim(line.substr(equals + 1)));
    return true;
  }
  return false;
}

// Parses as Windows parses a profile integer: an optional sign, then decimal
// digits or "0x" (lower case only) and hex digits, up to the first character
// that is not one. The value wraps to 32 bits.
UINT ParseInteger(const std::string &text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  uint32_t value = 0;
  if (i + 1 < text.size() && text[i] == '0' && text[i + 1] == 'x') {
    for (i += 2; i < text.size(); ++i) {
      char c = text[i];
      int digit = c >= '0' && c <= '9'   ? c - '0'
                  : c >= 'a' && c <= 'f' ? c - 'a' + 10
                  : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                         : -1;
      if (digit < 0) break;
      value = value * 16 + static_cast<uint32_t>(digit);
    }
  } else {
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
      value = value * 10 + static_cast<uint32_t>(text[i] - '0');
  }
  return negative ? 0u - value : value;
}

}  // namespace

extern "C" {

DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR out, DWORD size,
                               LPCSTR file) {
  if (layer::Enter("GetPrivateProfileStringA", file, {size})) {
    if (out && size) out[0] = '\0';
    return 0;
  }
  if (!out || size == 0) return 0;
  std::string value;
  if (!LookUp(section, key, file, &value)) {
    // Windows drops the default's trailing blanks.
    value = defaultValue ? defaultValue : "";
    while (!value.empty() && value.back() == ' ') value.pop_back();
  }
  size_t length = value.size() < size - 1 ? value.size() : size - 1;
  memcpy(out, value.data(), length);
  out[length] = '\0';
  return static_cast<DWORD>(length);
}

UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, int defaultValue, LPCSTR file) {
  if (layer::Enter("GetPrivateProfileIntA", file)) return static_cast<UINT>(defaultValue);
  std::string value;
  if (!LookUp(section, key, file, &value) || value.empty()) return static_cast<UINT>(defaultValue);
  return ParseInteger(value);
}

}  // extern "C"
