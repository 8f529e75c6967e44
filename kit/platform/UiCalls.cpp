#include "UiCalls.h"

#include <cstdint>
#include <cstdio>
#include <set>

namespace platform {
namespace {

struct State {
    MessageBoxHandler messageBox;
    BeepHandler beep;
    HWND activeWindow = nullptr;
    std::vector<DialogCall> dialogCalls;
    std::set<HWND> shownWindows;
};

State& S() {
    static State state;
    return state;
}

}  // namespace

void SetMessageBoxHandler(MessageBoxHandler handler) {
    S().messageBox = std::move(handler);
}

void SetBeepHandler(BeepHandler handler) {
    S().beep = std::move(handler);
}

void SetActiveWindow(HWND window) {
    S().activeWindow = window;
}

const std::vector<DialogCall>& DialogCalls() {
    return S().dialogCalls;
}

void ClearDialogCalls() {
    S().dialogCalls.clear();
    S().shownWindows.clear();
}

int AnswerMessageBox(HWND owner, const char* text, const char* caption, UINT style) {
    MessageBoxCall call{owner, text ? text : "", caption ? caption : "Error", style,
                        !text, !caption};
    if (S().messageBox) return S().messageBox(call);
    std::fprintf(stderr, "[%s] %s\n", call.caption.c_str(), call.text.c_str());
    return (style & 0x0F) == MB_YESNO ? IDYES : IDOK;
}

BOOL AnswerBeep(UINT type) {
    if (S().beep) return S().beep(type);
    std::fputs("\a", stderr);
    return 1;
}

HWND AnswerActiveWindow() {
    return S().activeWindow;
}

HWND AnswerGetDlgItem(HWND dialog, int item) {
    S().dialogCalls.push_back({DialogCall::GET_DLG_ITEM, dialog, item});
    if (!dialog) return nullptr;
    uintptr_t id = (reinterpret_cast<uintptr_t>(dialog) << 16) ^ static_cast<uint16_t>(item);
    return reinterpret_cast<HWND>(id);
}

BOOL AnswerShowWindow(HWND window, int command) {
    S().dialogCalls.push_back({DialogCall::SHOW_WINDOW, window, command});
    // As Windows answers: whether the window was visible before.
    const bool wasShown = S().shownWindows.count(window) > 0;
    if (command == SW_HIDE)
        S().shownWindows.erase(window);
    else
        S().shownWindows.insert(window);
    return wasShown ? 1 : 0;
}

}  // namespace platform
