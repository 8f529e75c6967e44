// The few Windows calls the framework makes. On Windows this is <windows.h> itself; elsewhere
// the portable stand-in of StandIn.cpp provides the same names with the same meanings.
#pragma once

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else

#include <cstdint>

#define PLATFORM_API __attribute__((visibility("default")))

struct PlatformModule;
struct PlatformWindow;
typedef PlatformModule* HMODULE;
typedef HMODULE HINSTANCE;
typedef PlatformWindow* HWND;
typedef int BOOL;
typedef unsigned int UINT;
typedef void (*FARPROC)();

#define MB_OK 0x00000000u
#define MB_YESNO 0x00000004u
#define MB_ICONERROR 0x00000010u
#define MB_ICONINFORMATION 0x00000040u
#define MB_ICONEXCLAMATION 0x00000030u
#define IDOK 1
#define IDYES 6
#define IDNO 7
#define SW_HIDE 0
#define SW_SHOWNORMAL 1

extern "C" {
PLATFORM_API HMODULE GetModuleHandleA(const char* moduleName);
PLATFORM_API FARPROC GetProcAddress(HMODULE module, const char* procName);
PLATFORM_API HWND GetDlgItem(HWND dialog, int item);
PLATFORM_API BOOL ShowWindow(HWND window, int command);
PLATFORM_API int MessageBoxA(HWND owner, const char* text, const char* caption, UINT style);
PLATFORM_API HWND GetActiveWindow(void);
PLATFORM_API BOOL MessageBeep(UINT type);
PLATFORM_API int LoadStringA(HINSTANCE module, UINT id, char* buffer, int bufferSize);
}

#endif
