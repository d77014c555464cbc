// Copies one update file into the game's folder, chunk by chunk, keeping
// the thread's windows served between chunks.
#pragma once

// True when the target has become a complete copy of the source. On
// failure the user has been told why, and the target is as the failure left
// it: untouched when the source could not be opened or copied at all,
// holding the chunks written so far when a read or a write failed.
bool CopyUpdateFile(const char *targetPath, const char *sourcePath);
