// Where the program may load DLLs from once it runs.
#pragma once

// Restricts the DLLs loaded on demand, by the program or by the system on
// its behalf (the folder browser, the shell), to the Windows system folder.
// Called first thing, before anything can load a DLL.
void RestrictDllSearch();
