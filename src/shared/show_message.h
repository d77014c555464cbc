// A message of the updater: a message box without an owner, with the
// profile's caption, always on top.
#pragma once

#include "platform/win32.h"

int ShowMessage(const char *text, UINT style);
