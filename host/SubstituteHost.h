// The substitute host: an in-memory Finale document set that offers the FX_ services under
// their names, logs and counts every call, can hide any service, and checks that the frames
// it hands out come back. One host exists per process; tests reset it between cases.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "Document.h"
#include "FrameTable.h"

namespace plovikhost {

struct CallRecord {
    std::string name;
    std::vector<int64_t> args;  // integers as passed; pointers as their address
    // A text argument (alert message, edit name), or for data-record calls the key's numbers
    // as the call found them ("item,incidence,0").
    std::string text;
    // For data-record calls, the key's 8 bytes as the call found them.
    std::array<uint8_t, 8> key{};
};

// Where a frame is asked for, as FX_LoadTGF is given it.
struct FrameRequest {
    uint16_t list;
    int16_t slot;
    int16_t measure;
    int16_t layer;
    int16_t loadMode;
};

// Music copied or cut through FX_CopyCutMusic: cells by their place relative to the region's
// first slot and measure.
struct ClipCell {
    int16_t slotOffset;
    int16_t measureOffset;
    int16_t layer;
    Cell cell;
};

// The current document window, as FX_GetCurrentWindowInfo describes it, and where the view was
// last scrolled to.
struct WindowView {
    bool refuseInfo = false;  // FX_GetCurrentWindowInfo answers 0 and writes nothing
    int32_t infoSize = 274;   // bytes the host writes into the caller's block
    uint32_t window = 0x00C0FFEE;
    bool pageView = false;
    int16_t zoom = 100;
    int16_t page = 1;
    int16_t scrolledMeasure = 0;  // 0 until scrolled
    int16_t scrolledStaff = 0;
};

struct EditRecord {
    std::string name;
    enum State { OPEN, ENDED, CANCELLED } state;
};

class Host {
  public:
    static Host& Get();

    // Back to a fresh host: document 1 current and empty, nothing logged, nothing hidden.
    // The module registration is left as it was.
    void Reset();
    // Offers the services as the module of that name ("FINALE.EXE", "FINDEMO.EXE"); an empty
    // name offers them under no module at all. Hidden services are left out.
    // On Windows the services are the exports of the program itself (a FINALE.EXE, see
    // HostExports.h): the name and the hidden services reach the binding of the same program
    // through the test fixture's look-up filter, never a plug-in DLL's.
    void Install(const std::string& moduleName = "FINALE.EXE");
    void Uninstall();
    const std::string& ModuleName() const { return moduleName_; }

    // A host that lacks these services (takes effect at once; the binding must look again).
    void Hide(std::initializer_list<std::string> names);
    void Hide(const std::string& name) { Hide({name}); }
    void HideAll();
    void ShowAll();
    bool IsHidden(const std::string& name) const { return hidden_.count(name) > 0; }

    // Call log. Every call is counted; the calls themselves are kept only while keepCalls is on
    // (the test fixture turns it on), so that a long run of the command-line host keeps
    // nothing but the counts, and logging a call allocates nothing once its service was seen.
    // Reset leaves the switch as it is.
    // A data-record call passes its key: the call keeps all 8 bytes. The name must outlive the
    // host and never change (a literal): counts are found by its address.
    void Log(const char* name, std::initializer_list<int64_t> args, std::string_view text = {},
             const void* key = nullptr);
    bool keepCalls = false;
    const std::vector<CallRecord>& Calls() const { return calls_; }
    int Count(const std::string& name) const;
    const CallRecord* LastCall(const std::string& name) const;
    void ClearCalls();

    // Documents.
    Document& AddDocument(int16_t number);
    Document* FindDocument(int16_t number);
    Document& CurrentDocument();
    int16_t CurrentDocumentNumber() const { return current_; }
    bool SetCurrentDocument(int16_t number);
    int16_t NextDocumentNumber(int16_t after) const;

    // Problems the host detected in how it was used (a frame freed twice, ...); tests assert
    // that none occurred.
    void ReportProblem(const std::string& problem) { problems_.push_back(problem); }
    const std::vector<std::string>& Problems() const { return problems_; }
    void ClearProblems() { problems_.clear(); }

    // Edits: a cancelled edit restores the document as it was when the edit began.
    int32_t BeginEdit(const std::string& name);
    bool EndEdit();
    bool CancelEdit();
    const std::vector<EditRecord>& Edits() const { return edits_; }
    bool refuseEdits = false;

    // Answers of services that are settings rather than document data.
    int16_t maxLayers = 4;
    std::vector<std::string> alerts;

    // The view: the window, menu items run (FX_ExecuteMenuItem answers menuItemResult) and
    // regions redrawn.
    WindowView view;
    std::vector<int32_t> menuItems;
    int32_t menuItemResult = 1;
    std::vector<EREGION> redraws;

    // Entry frames handed out and not yet freed; after a command none may remain.
    FrameTable& Frames() { return frames_; }
    // A host that misbehaves, for tests: refuses a load (answers null) or a save (answers 0),
    // or damages a frame before handing it out.
    std::function<bool(const FrameRequest&)> refuseLoadTGF;
    std::function<bool(const EXTGF2005a*)> refuseSaveTGF;
    std::function<void(EXTGF2005a*)> alterLoadedTGF;
    // A host that leaves junk (0xA5 bytes) in the caller's buffer when a record does not load:
    // nothing promises that a failed load leaves the buffer alone.
    bool scribbleOnFailedLoads = false;
    // A host that refuses to create or delete the records these name (for FX_CreateEData, the
    // place the host chose for the new record).
    std::function<bool(const RecordId&)> refuseCreateEData;
    std::function<bool(const RecordId&)> refuseDeleteEData;
    // A host that answers FX_FontNameToNum with 0 for a name its table lacks, adding nothing.
    bool refuseUnknownFonts = false;
    // A host that lists its documents or parts its own way: answers FX_GetNextEnigmaDocument
    // and FX_GetNextPartID for the number it was asked after.
    std::function<int32_t(int32_t)> answerNextDocument;
    std::function<int32_t(int32_t)> answerNextPartID;

    // Music held for pasting, by clip token.
    std::map<uint32_t, std::vector<ClipCell>> clips;
    uint32_t nextClipToken = 1;

  private:
    Host() = default;
    void Register();

    std::string moduleName_;
    std::set<std::string> hidden_;
    std::vector<CallRecord> calls_;
    std::map<std::string, int, std::less<>> counts_;
    // Callers name services by literals, so a name's address finds its count without
    // comparing strings; the map's nodes stay where they are until the counts are cleared.
    std::unordered_map<const char*, int*> countAt_;
    std::map<int16_t, Document> documents_;
    int16_t current_ = 0;
    std::vector<std::string> problems_;
    std::vector<EditRecord> edits_;
    struct Snapshot {
        size_t edit;  // index into edits_
        int16_t document;
        Document copy;
    };
    std::vector<Snapshot> openEdits_;
    FrameTable frames_;
};

// All services of the substitute host, as (export name, address) pairs.
struct ServiceExport {
    const char* name;
    void* address;
};
const std::vector<ServiceExport>& ServiceTable();

}  // namespace plovikhost
