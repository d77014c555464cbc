// Declarations of the stand-in layer: the Windows types, constants and
// functions that the updater calls, under their Windows names and with the
// values Windows documents, implemented over POSIX. Only what the program
// uses is declared here.
#pragma once

#include <stddef.h>
#include <stdint.h>

// Calling conventions mean nothing on this host.
#define WINAPI
#define CALLBACK

// Sizes are Win32's: DWORD, UINT and BOOL are 32 bits, the message
// parameters and results are pointer-sized.
typedef uint32_t DWORD;
typedef uint32_t UINT;
typedef int32_t BOOL;
typedef int32_t LONG;
typedef uint16_t WORD;
typedef uint8_t BYTE;
typedef char CHAR;
typedef uint64_t ULONGLONG;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef intptr_t INT_PTR;
typedef void *HANDLE;
typedef void *LPVOID;
typedef const void *LPCVOID;
typedef char *LPSTR;
typedef const char *LPCSTR;
typedef DWORD *LPDWORD;
typedef struct HWND__ *HWND;
typedef struct HINSTANCE__ *HINSTANCE;
typedef HINSTANCE HMODULE;

typedef union _ULARGE_INTEGER {
  struct {
    DWORD LowPart;
    DWORD HighPart;
  } u;
  ULONGLONG QuadPart;
} ULARGE_INTEGER, *PULARGE_INTEGER;

typedef struct _FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
} FILETIME;

#define TRUE 1
#define FALSE 0
#define MAX_PATH 260

// Files.
#define INVALID_HANDLE_VALUE ((HANDLE)(intptr_t)-1)
#define INVALID_FILE_SIZE ((DWORD)0xFFFFFFFF)
#define GENERIC_READ 0x80000000u
#define GENERIC_WRITE 0x40000000u
#define FILE_SHARE_READ 0x00000001u
#define FILE_SHARE_WRITE 0x00000002u
#define FILE_SHARE_DELETE 0x00000004u
#define CREATE_NEW 1
#define CREATE_ALWAYS 2
#define OPEN_EXISTING 3
#define OPEN_ALWAYS 4
#define TRUNCATE_EXISTING 5
#define FILE_ATTRIBUTE_READONLY 0x00000001u
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010u
#define FILE_ATTRIBUTE_NORMAL 0x00000080u
#define FILE_FLAG_SEQUENTIAL_SCAN 0x08000000u
#define FILE_FLAG_RANDOM_ACCESS 0x10000000u
#define MOVEFILE_REPLACE_EXISTING 0x00000001u
#define MOVEFILE_WRITE_THROUGH 0x00000008u

// Error codes that the layer reports through GetLastError.
#define ERROR_SUCCESS 0
#define ERROR_FILE_NOT_FOUND 2
#define ERROR_PATH_NOT_FOUND 3
#define ERROR_ACCESS_DENIED 5
#define ERROR_INVALID_HANDLE 6
#define ERROR_NOT_ENOUGH_MEMORY 8
#define ERROR_WRITE_FAULT 29
#define ERROR_READ_FAULT 30
#define ERROR_SHARING_VIOLATION 32
#define ERROR_FILE_EXISTS 80
#define ERROR_INVALID_PARAMETER 87
#define ERROR_DISK_FULL 112
#define ERROR_INSUFFICIENT_BUFFER 122
#define ERROR_ALREADY_EXISTS 183

typedef struct _WIN32_FIND_DATAA {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwReserved0;
  DWORD dwReserved1;
  CHAR cFileName[MAX_PATH];
  CHAR cAlternateFileName[14];
} WIN32_FIND_DATAA, *LPWIN32_FIND_DATAA;

typedef struct _SECURITY_ATTRIBUTES SECURITY_ATTRIBUTES, *LPSECURITY_ATTRIBUTES;
typedef struct _OVERLAPPED OVERLAPPED, *LPOVERLAPPED;

// Message boxes.
#define MB_OK 0x00000000u
#define MB_OKCANCEL 0x00000001u
#define MB_YESNO 0x00000004u
#define MB_ICONERROR 0x00000010u
#define MB_ICONQUESTION 0x00000020u
#define MB_ICONWARNING 0x00000030u
#define MB_TOPMOST 0x00040000u
#define IDOK 1
#define IDCANCEL 2
#define IDYES 6
#define IDNO 7

// Windows and the thread's message queue.
#define PM_NOREMOVE 0x0000u
#define PM_REMOVE 0x0001u
#define WM_NULL 0x0000
#define WM_USER 0x0400
typedef LRESULT(CALLBACK *WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef struct tagPOINT {
  LONG x;
  LONG y;
} POINT;
typedef struct tagMSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
} MSG, *LPMSG;

// Dialogs.
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define BN_CLICKED 0
#define EN_CHANGE 0x0300
#define MAKEWPARAM(low, high) ((WPARAM)(((DWORD)(WORD)(low)) | (((DWORD)(WORD)(high)) << 16)))
#define LOWORD(value) ((WORD)((uintptr_t)(value)&0xFFFF))
#define HIWORD(value) ((WORD)(((uintptr_t)(value) >> 16) & 0xFFFF))
typedef INT_PTR(CALLBACK *DLGPROC)(HWND, UINT, WPARAM, LPARAM);

// The folder browser.
typedef struct _ITEMIDLIST ITEMIDLIST, *LPITEMIDLIST;
typedef const ITEMIDLIST *LPCITEMIDLIST;
typedef int(CALLBACK *BFFCALLBACK)(HWND window, UINT message, LPARAM lParam, LPARAM data);
typedef struct _browseinfoA {
  HWND hwndOwner;
  LPCITEMIDLIST pidlRoot;
  LPSTR pszDisplayName;
  LPCSTR lpszTitle;
  UINT ulFlags;
  BFFCALLBACK lpfn;
  LPARAM lParam;
  int iImage;
} BROWSEINFOA, *LPBROWSEINFOA;
#define BIF_RETURNONLYFSDIRS 0x0001u
#define BIF_EDITBOX 0x0010u
#define BIF_VALIDATE 0x0020u
#define BFFM_INITIALIZED 1
#define BFFM_SELCHANGED 2
#define BFFM_VALIDATEFAILEDA 3
#define BFFM_VALIDATEFAILEDW 4
#define BFFM_IUNKNOWN 5
#define BFFM_ENABLEOK (WM_USER + 101)
#define BFFM_SETSELECTIONA (WM_USER + 102)

// Special folders.
#define CSIDL_APPDATA 0x001a
#define CSIDL_COMMON_APPDATA 0x0023

// Modules.
typedef INT_PTR(WINAPI *FARPROC)(void);
#define ERROR_MOD_NOT_FOUND 126
#define ERROR_PROC_NOT_FOUND 127
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800u

// The drive part that _splitpath gives is at most this long with its NUL.
#define _MAX_DRIVE 3
#define _MAX_DIR 256
#define _MAX_FNAME 256
#define _MAX_EXT 256

#ifdef __cplusplus
extern "C" {
#endif

DWORD GetLastError(void);
void SetLastError(DWORD error);

HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security, DWORD disposition,
                   DWORD flags, HANDLE templateFile);
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD read, LPOVERLAPPED overlapped);
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, LPDWORD written, LPOVERLAPPED overlapped);
DWORD GetFileSize(HANDLE file, LPDWORD sizeHigh);
BOOL FlushFileBuffers(HANDLE file);
BOOL CloseHandle(HANDLE object);
BOOL DeleteFileA(LPCSTR name);
BOOL MoveFileExA(LPCSTR existing, LPCSTR replacement, DWORD flags);
HANDLE FindFirstFileA(LPCSTR name, LPWIN32_FIND_DATAA data);
BOOL FindClose(HANDLE find);
BOOL GetDiskFreeSpaceExA(LPCSTR directory, PULARGE_INTEGER freeToCaller, PULARGE_INTEGER total,
                         PULARGE_INTEGER totalFree);

DWORD GetModuleFileNameA(HMODULE module, LPSTR name, DWORD size);
BOOL PathRemoveFileSpecA(LPSTR path);
BOOL PathFileExistsA(LPCSTR path);
void _splitpath(const char *path, char *drive, char *dir, char *fname, char *ext);

UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, int defaultValue, LPCSTR file);
DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR out, DWORD size,
                               LPCSTR file);

BOOL SHGetSpecialFolderPathA(HWND owner, LPSTR path, int folder, BOOL create);

BOOL PeekMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT removeMessage);
BOOL TranslateMessage(const MSG *message);
LRESULT DispatchMessageA(const MSG *message);

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT style);
INT_PTR DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC procedure,
                        LPARAM initParam);
BOOL EndDialog(HWND dialog, INT_PTR result);
BOOL SetWindowTextA(HWND window, LPCSTR text);
BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text);
HWND FindWindowExA(HWND parent, HWND after, LPCSTR className, LPCSTR windowName);
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

LPITEMIDLIST SHBrowseForFolderA(LPBROWSEINFOA info);
BOOL SHGetPathFromIDListA(LPCITEMIDLIST item, LPSTR path);
void CoTaskMemFree(LPVOID memory);

int wsprintfA(LPSTR out, LPCSTR format, ...);
int lstrlenA(LPCSTR text);
void OutputDebugStringA(LPCSTR text);

HMODULE GetModuleHandleA(LPCSTR name);
FARPROC GetProcAddress(HMODULE module, LPCSTR name);

#ifdef __cplusplus
}
#endif

// The program's entry point, called by the layer's start-up code.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);
