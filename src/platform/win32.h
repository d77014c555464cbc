// The one door to the operating system. Core files include this header and
// nothing else for system services: on Windows it brings the SDK headers,
// elsewhere the declarations of our own stand-in layer under the same names.
#pragma once

#ifdef _WIN32
#include <shlobj.h>
#include <shlwapi.h>
#include <stdlib.h>
#include <windows.h>
#else
#include "posix/winapi.h"
#endif
