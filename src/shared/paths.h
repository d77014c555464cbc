// Paths the program forms. Every formatted path is checked to fit its
// buffer first: a path that would not fit is refused, never cut, since a cut
// path can name another file or folder.
#pragma once

#include <stddef.h>

// Joins a folder and a name with one backslash ("%s\%s") into out, a buffer
// of `room` bytes. False, with out emptied, when the result would not fit.
bool JoinPath(char *out, size_t room, const char *folder, const char *name);

// Writes `first` followed directly by `second` and `third` into out; false,
// with out emptied, when the result would not fit.
bool ConcatPath(char *out, size_t room, const char *first, const char *second, const char *third);

// Room for the updater's own path and folder.
const size_t kUpdaterFolderRoom = 520;

// The folder of the updater's own executable. False when the executable's
// path did not fit the buffer: a cut path would name another folder.
bool FindUpdaterFolder(char (&folder)[kUpdaterFolderRoom]);

// True when an entry of that name, a file or a folder, exists.
bool EntryExists(const char *path);
