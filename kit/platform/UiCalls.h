// The Windows UI calls of the framework as a substitute host answers them: message boxes and
// beeps go to replaceable handlers, the active window is whatever a test sets, and dialog-item
// calls are recorded, so that no run ever waits for a user. On Linux the stand-in's MessageBoxA,
// MessageBeep, GetActiveWindow, GetDlgItem and ShowWindow are these answers; on Windows a host
// points a module's imports of them here with RedirectUiCalls.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Platform.h"

#ifndef PLATFORM_API
#define PLATFORM_API
#endif

namespace platform {

struct MessageBoxCall {
    HWND owner;
    std::string text;     // empty for a null text
    std::string caption;  // "Error" for a null caption, as Windows shows it
    UINT style;
    bool nullText;  // whether the caller passed null
    bool nullCaption;
};
using MessageBoxHandler = std::function<int(const MessageBoxCall&)>;
using BeepHandler = std::function<BOOL(UINT)>;
// An empty handler restores the default: write to stderr, answer as an OK press (Yes for a
// Yes/No box) / a beep that sounded.
PLATFORM_API void SetMessageBoxHandler(MessageBoxHandler handler);
PLATFORM_API void SetBeepHandler(BeepHandler handler);
PLATFORM_API void SetActiveWindow(HWND window);

struct DialogCall {
    enum Kind { GET_DLG_ITEM, SHOW_WINDOW } kind;
    HWND window;  // the dialog for GET_DLG_ITEM, the control for SHOW_WINDOW
    int value;    // the item id, or the show command
};
PLATFORM_API const std::vector<DialogCall>& DialogCalls();
// Forgets the calls and which windows were shown.
PLATFORM_API void ClearDialogCalls();

// The answers, with the arguments and results of the Windows calls they stand for.
PLATFORM_API int AnswerMessageBox(HWND owner, const char* text, const char* caption, UINT style);
PLATFORM_API BOOL AnswerBeep(UINT type);
PLATFORM_API HWND AnswerActiveWindow();
// A distinct handle per (dialog, item) that nothing dereferences; null for a null dialog.
PLATFORM_API HWND AnswerGetDlgItem(HWND dialog, int item);
// Nonzero when the window was shown before (every window starts hidden).
PLATFORM_API BOOL AnswerShowWindow(HWND window, int command);

#if defined(_WIN32)
// Points the module's imports of MessageBoxA, MessageBeep, GetActiveWindow, GetDlgItem and
// ShowWindow at the answers above. False when the module is not a loaded image.
bool RedirectUiCalls(HMODULE module);
// Points the module's imports of the function of that name, from whichever DLL, at `to` (a host
// that answers a system call in its own way for one module). False when the module is not a
// loaded image.
bool RedirectImport(HMODULE module, const char* name, FARPROC to);
#endif

}  // namespace platform
