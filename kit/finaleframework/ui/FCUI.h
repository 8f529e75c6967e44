#pragma once

#include <cstdint>

#include "FCBase.h"
#include "Platform.h"

struct EWINDOWINFO;

class FCString;

// What a plug-in needs from the user interface.
// Message boxes, a beep, a host menu command, and questions about and changes to the view of
// the current document. Holds no state.
class FCUI : public __FCBase {
  public:
    // Host menu commands a plug-in may run.
    enum MENU_COMMANDS : int32_t {
        MENUCMD_UPDATELAYOUT = 0,  // the host's menu item 12106
    };

    const char* ClassName() override { return "FCUI"; }

    // Message boxes owned by the active window. A null text shows an empty text; a null
    // caption shows the default caption of the kind of box.
    int AlertError(const char* text, const char* caption);
    int AlertError(FCString* text, FCString* caption);
    // 0 for Yes, 1 for No, 2 when the box was closed any other way.
    int AlertYesNo(const char* text, const char* caption);
    int AlertNeutral(const char* text, const char* caption);
    int AlertInfo(const char* text, const char* caption);

    // The warning sound, or the simple beep when that cannot sound.
    int Beep();

    // False, without asking the host, for a command that is not listed.
    bool MenuCommand(MENU_COMMANDS command);
    // Redraws the whole current document.
    void RedrawDocument();

    // The current document window; false, 0, 100 and null when the host cannot say.
    bool IsPageView();
    int GetCurrentPage();  // 0 outside page view
    int GetZoomLevel();
    HWND GetDocumentWindow();

    // Scrolls to the measure on the staff; staff 0 means the first staff (from 1 up to 101)
    // that has a staff record. Nothing scrolls when there is none.
    void MoveToMeasure(int measure, int staff);

  private:
    // The host's window info, in a block with room for a longer record than the framework
    // reads; false when the host could not give it.
    bool _LoadWindowInfo(EWINDOWINFO* info);
};
