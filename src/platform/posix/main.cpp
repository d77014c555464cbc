// The start-up code: calls WinMain as the Windows start-up code does, with
// the module's instance handle and the command line after the program's
// name, and exits with its result.
#include <string>

#include "winapi.h"

int main(int argc, char **argv) {
  std::string commandLine;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) commandLine += ' ';
    commandLine += argv[i];
  }
  // Any non-null value serves: the instance only names the module whose
  // resources the program loads. This one is the usual image base.
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x400000));
  const int kShowDefault = 10;
  return WinMain(instance, nullptr, commandLine.data(), kShowDefault);
}
