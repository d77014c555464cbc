// The user interface library's narrow text helpers: wsprintfA, which never
// writes more than 1,024 bytes, and lstrlenA.
#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include <string>

#include "layer.h"

namespace {

// The most wsprintfA writes, its terminating NUL included.
const size_t kFormatLimit = 1024;

// Formats the conversions wsprintfA knows: %c %d %i %u %x %X %s and %%,
// with the flags '-', '0' and '#', a width, a precision and the size
// prefixes 'l' and 'h'.
std::string Format(const char *format, va_list args) {
  std::string out;
  for (const char *p = format; *p; ++p) {
    if (*p != '%') {
      out += *p;
      continue;
    }
    const char *start = p++;
    std::string conversion = "%";
    while (*p == '-' || *p == '0' || *p == '#') conversion += *p++;
    while (*p >= '0' && *p <= '9') conversion += *p++;
    if (*p == '.') {
      conversion += *p++;
      while (*p >= '0' && *p <= '9') conversion += *p++;
    }
    bool isLong = false;
    if (*p == 'l' || *p == 'h') isLong = *p++ == 'l';
    (void)isLong;  // int and long are both 32 bits in wsprintfA's world
    char piece[kFormatLimit + 64];
    switch (*p) {
      case 'c':
        snprintf(piece, sizeof piece, (conversion + 'c').c_str(), va_arg(args, int));
        break;
      case 'd':
      case 'i':
        snprintf(piece, sizeof piece, (conversion + 'd').c_str(), static_cast<int32_t>(va_arg(args, int)));
        break;
      case 'u':
      case 'x':
      case 'X':
        snprintf(piece, sizeof piece, (conversion + *p).c_str(),
                 static_cast<uint32_t>(va_arg(args, unsigned)));
        break;
      case 's': {
        const char *s = va_arg(args, const char *);
        std::string text = s ? s : "(null)";
        if (text.size() > kFormatLimit) text.resize(kFormatLimit);
        snprintf(piece, sizeof piece, (conversion + 's').c_str(), text.c_str());
        break;
      }
      case '%':
        strcpy(piece, "%");
        break;
      case '\0':
        return out;
      default:  // an unknown conversion is copied as it stands
        out.append(start, static_cast<size_t>(p - start) + 1);
        continue;
    }
    out += piece;
    if (out.size() >= kFormatLimit) break;
  }
  return out;
}

}  // namespace

extern "C" {

int wsprintfA(LPSTR out, LPCSTR format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = Format(format, args);
  va_end(args);
  if (text.size() > kFormatLimit - 1) text.resize(kFormatLimit - 1);
  memcpy(out, text.c_str(), text.size() + 1);
  return static_cast<int>(text.size());
}

int lstrlenA(LPCSTR text) {
  if (!text) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return static_cast<int>(strlen(text));
}

}  // extern "C"
