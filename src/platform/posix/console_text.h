// Terminal helpers shared by the console front's windows.
#pragma once

#include <string>

namespace layer {

// The program's code page 932 text as the terminal shows it (UTF-8),
// without carriage returns.
std::string ToTerminal(const char *text);

// One line of standard input without its line ending; false at the end of
// input.
bool ReadAnswerLine(std::string *line);

bool InputIsTerminal();

}  // namespace layer
