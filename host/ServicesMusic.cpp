// Measures, the current selection, and music moved through clip tokens.
#include <cstring>

#include "Services.h"
#include "SubstituteHost.h"

namespace plovikhost::svc {

namespace {

bool IsEmpty(const EREGION& region) {
    return region.startMeasure == 0 && region.endMeasure == 0;
}

bool ReadTransfer(const void* transfer, EREGION& region) {
    if (!transfer) return false;
    EREGIONTRANSFER record;
    std::memcpy(&record, transfer, sizeof record);
    if (record.one1 != 1 || record.one2 != 1) return false;  // the two words are always 1
    region = record.region;
    return !IsEmpty(region) && region.startMeasure <= region.endMeasure;
}

// Whether an entry at this position of this measure lies inside the region in time.
bool InTime(const EREGION& region, int16_t measure, int32_t position) {
    if (measure == region.startMeasure && position < region.startPosition) return false;
    if (measure == region.endMeasure && position > region.endPosition) return false;
    return true;
}

// Takes the entries of a cell that lie inside the region, with their tuplets as items of the
// clip; cutting removes them and their tuplet records from the document.
Cell Take(Document& doc, Cell& cell, const EREGION& region, int16_t measure, bool cut) {
    Cell taken, kept;
    for (const EXENTRY& entry : cell.entries)
        (InTime(region, measure, entry.position) ? taken : kept).entries.push_back(entry);
    taken.tuplets = doc.TupletItemsOf(taken.entries);
    if (cut) {
        for (const EXENTRY& entry : taken.entries) doc.EraseTupletRecords(entry.entryNumber);
        LayOutPositions(kept.entries);
        cell = std::move(kept);
    }
    return taken;
}
}  // namespace

int32_t FX_STDCALL GetMeasureDuration(int32_t staff, int32_t measure, uint32_t version) {
    H().Log("FX_GetMeasureDuration", {staff, measure, version});
    const Document& doc = H().CurrentDocument();
    const MeasureSpec* spec = doc.FindMeasure(static_cast<int16_t>(measure));
    // No staff, no measures.
    const int32_t duration =
        doc.HasStaff(static_cast<int16_t>(staff)) && spec ? spec->Duration() : 0;
    return H().Answer("FX_GetMeasureDuration", {staff, measure, version}, duration);
}

int32_t FX_STDCALL GetCurERegions(void* first, EREGION* selected, EREGION* whole,
                                  uint32_t version) {
    H().Log("FX_GetCurERegions", {P(first), P(selected), P(whole), version});
    const Document& doc = H().CurrentDocument();
    if (first) std::memset(first, 0, 4);
    if (selected) *selected = doc.selection;
    if (whole) *whole = doc.WholeRegion();
    return IsEmpty(doc.selection) ? 0 : 1;
}

int32_t FX_STDCALL SetCurERegion(EREGION* region, uint32_t version) {
    H().Log("FX_SetCurERegion", {P(region), version});
    if (!region) return 0;
    H().CurrentDocument().selection = *region;
    return 1;
}

uint32_t FX_STDCALL CopyCutMusic(void* transfer, int32_t mode, uint32_t version) {
    H().Log("FX_CopyCutMusic", {P(transfer), mode, version});
    EREGION region;
    if ((mode != 1 && mode != 2) || !ReadTransfer(transfer, region)) return 0;
    Document& doc = H().CurrentDocument();
    std::vector<ClipCell> clip;
    for (int slot = region.startSlot; slot <= region.endSlot; ++slot) {
        const int16_t staff =
            doc.SlotToInstrument(static_cast<int16_t>(slot), region.startInstrumentList);
        if (staff <= 0) continue;
        for (int m = region.startMeasure; m <= region.endMeasure; ++m) {
            const int16_t measure = static_cast<int16_t>(m);
            for (int16_t layer = 0; layer < kDocumentLayers; ++layer) {
                auto it = doc.cells.find({staff, measure, layer});
                if (it == doc.cells.end()) continue;
                Cell taken = Take(doc, it->second, region, measure, mode == 2);
                if (mode == 2 && it->second.entries.empty()) doc.cells.erase(it);
                if (taken.entries.empty()) continue;
                clip.push_back({static_cast<int16_t>(slot - region.startSlot),
                                static_cast<int16_t>(m - region.startMeasure), layer,
                                std::move(taken)});
            }
        }
    }
    const uint32_t token = H().nextClipToken++;
    H().clips[token] = std::move(clip);
    return token;
}

int32_t FX_STDCALL InsertMergeMusic(uint32_t token, void* transfer, int32_t mode,
                                    uint32_t version) {
    H().Log("FX_InsertMergeMusic", {token, P(transfer), mode, version});
    auto clip = H().clips.find(token);
    EREGION region;
    if (clip == H().clips.end() || !ReadTransfer(transfer, region)) return 0;
    Document& doc = H().CurrentDocument();
    // Each pasted cell replaces the music of its target cell; the pasted entries are new ones.
    for (const ClipCell& from : clip->second) {
        const int slot = region.startSlot + from.slotOffset;
        const int measure = region.startMeasure + from.measureOffset;
        if (slot > INT16_MAX || measure > INT16_MAX) continue;
        const int16_t staff =
            doc.SlotToInstrument(static_cast<int16_t>(slot), region.startInstrumentList);
        if (staff <= 0 || !doc.FindMeasure(static_cast<int16_t>(measure))) continue;
        Cell cell = from.cell;
        for (EXENTRY& entry : cell.entries) entry.entryNumber = doc.TakeEntryNumber();
        LayOutPositions(cell.entries);
        doc.PutTupletRecords(cell.entries, cell.tuplets);
        cell.tuplets.clear();
        Cell& target = doc.CellAt(staff, static_cast<int16_t>(measure), from.layer);
        for (const EXENTRY& replaced : target.entries) doc.EraseTupletRecords(replaced.entryNumber);
        target = std::move(cell);
    }
    return 1;
}

int32_t FX_STDCALL DisposeFinClipFileToken(uint32_t token, uint32_t version) {
    H().Log("FX_DisposeFinClipFileToken", {token, version});
    return H().clips.erase(token) ? 1 : 0;
}

}  // namespace plovikhost::svc
