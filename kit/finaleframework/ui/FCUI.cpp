#include "FCUI.h"

#include <cstring>

#include "FCStaff.h"
#include "FCString.h"
#include "FXBinding.h"

namespace {
constexpr uint32_t V = FRAMEWORK_ENIGMA_VERSION;
constexpr UINT kStyleError = 0x10;
constexpr UINT kStyleYesNo = 0x04;
constexpr UINT kStyleNeutral = 0x00;
constexpr UINT kStyleInfo = 0x40;
constexpr int kAnswerYes = 6;
constexpr int kAnswerNo = 7;
constexpr int32_t kMenuItemUpdateLayout = 12106;
constexpr int kLastStaffTried = 101;

int ShowBox(const char* text, const char* caption, const char* defaultCaption, UINT style) {
    return MessageBoxA(GetActiveWindow(), text ? text : "", caption ? caption : defaultCaption,
                       style);
}
}  // namespace

int FCUI::AlertError(const char* text, const char* caption) {
    return ShowBox(text, caption, "Error", kStyleError);
}

int FCUI::AlertError(FCString* text, FCString* caption) {
    const char* textC = text ? text->GetCString() : nullptr;
    // A second GetCString of the same string would free the text's buffer.
    const char* captionC = caption == text ? textC : caption ? caption->GetCString() : nullptr;
    return AlertError(textC, captionC);
}

int FCUI::AlertYesNo(const char* text, const char* caption) {
    switch (ShowBox(text, caption, "Error", kStyleYesNo)) {
        case kAnswerYes:
            return 0;
        case kAnswerNo:
            return 1;
        default:
            return 2;
    }
}

int FCUI::AlertNeutral(const char* text, const char* caption) {
    return ShowBox(text, caption, "", kStyleNeutral);
}

int FCUI::AlertInfo(const char* text, const char* caption) {
    return ShowBox(text, caption, "Information", kStyleInfo);
}

int FCUI::Beep() {
    BOOL result = MessageBeep(0x30);
    if (!result) result = MessageBeep(0xFFFFFFFF);
    return result;
}

bool FCUI::MenuCommand(MENU_COMMANDS command) {
    if (command != MENUCMD_UPDATELAYOUT) return false;
    return FX_ExecuteMenuItem(kMenuItemUpdateLayout, V) != 0;
}

void FCUI::RedrawDocument() {
    uint8_t first[4] = {};
    EREGION selected{}, whole{};
    FX_GetCurERegions(first, &selected, &whole, V);
    FX_RedrawMusic(&whole, V);
}

bool FCUI::_LoadWindowInfo(EWINDOWINFO* info) {
    uint8_t block[EWINDOWINFO_BLOCK_SIZE] = {};
    if (FX_GetCurrentWindowInfo(block, V) == 0) return false;
    std::memcpy(info, block, sizeof *info);
    return true;
}

bool FCUI::IsPageView() {
    EWINDOWINFO info;
    return _LoadWindowInfo(&info) && info.pageView != 0;
}

int FCUI::GetCurrentPage() {
    EWINDOWINFO info;
    if (!_LoadWindowInfo(&info) || info.pageView == 0) return 0;
    return info.page;
}

int FCUI::GetZoomLevel() {
    EWINDOWINFO info;
    return _LoadWindowInfo(&info) ? info.zoom : 100;
}

HWND FCUI::GetDocumentWindow() {
    EWINDOWINFO info;
    if (!_LoadWindowInfo(&info)) return nullptr;
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(info.window));
}

void FCUI::MoveToMeasure(int measure, int staff) {
    if (staff == 0) {
        FCStaff record;
        for (int tried = 1; tried <= kLastStaffTried && staff == 0; ++tried)
            if (record.Load(static_cast<uint16_t>(tried))) staff = tried;
        if (staff == 0) return;
    }
    FX_ScrollTo(static_cast<int16_t>(measure), static_cast<int16_t>(staff), V);
}
