// Entry frames: a staff's entries in one measure and layer, handed out as EXTGF2005a blocks
// that the plug-in changes in place and hands back.
#include <algorithm>

#include "Services.h"
#include "SubstituteHost.h"

namespace plovikhost::svc {

int32_t FX_STDCALL GetShowLayer(int32_t layer, uint32_t version) {
    H().Log("FX_GetShowLayer", {layer, version});
    return H().Answer(
        "FX_GetShowLayer", {layer, version},
        H().CurrentDocument().hiddenLayers.count(static_cast<int16_t>(layer)) ? 0 : 1);
}

EXTGF2005a* FX_STDCALL LoadTGF(uint32_t list, int32_t slot, int32_t measure, int32_t layer,
                               int32_t loadMode, uint32_t version) {
    H().Log("FX_LoadTGF", {list, slot, measure, layer, loadMode, version});
    const FrameRequest request{static_cast<uint16_t>(list), static_cast<int16_t>(slot),
                               static_cast<int16_t>(measure), static_cast<int16_t>(layer),
                               static_cast<int16_t>(loadMode)};
    Document& doc = H().CurrentDocument();
    const int16_t staff = doc.SlotToInstrument(request.slot, request.list);
    if (staff <= 0 || !doc.FindMeasure(request.measure)) return nullptr;
    if (request.layer < 0 || request.layer >= kDocumentLayers) return nullptr;
    if (H().refuseLoadTGF && H().refuseLoadTGF(request)) return nullptr;

    FrameRecord where;
    where.document = doc.number;
    where.staff = staff;
    where.list = request.list;
    where.slot = request.slot;
    where.measure = request.measure;
    where.layer = request.layer;
    where.loadMode = request.loadMode;
    const Cell* stored = doc.FindCell(staff, request.measure, request.layer);
    Cell cell = stored ? *stored : Cell{};
    cell.tuplets = doc.TupletItemsOf(cell.entries);
    EXTGF2005a* frame = H().Frames().Hand(where, cell);
    if (H().alterLoadedTGF) H().alterLoadedTGF(frame);
    return frame;
}

int32_t FX_STDCALL SaveTGF(EXTGF2005a* frame, uint32_t version) {
    H().Log("FX_SaveTGF", {P(frame), version});
    FrameRecord* record = H().Frames().Check("FX_SaveTGF", frame);
    if (!record) return 0;
    H().Frames().CheckClean("FX_SaveTGF", frame);
    if (H().refuseSaveTGF && H().refuseSaveTGF(frame)) return 0;
    Document* doc = H().FindDocument(record->document);
    if (!doc) return 0;

    // The host numbers new entries in its own copy; the frame keeps its zeros, so only a frame
    // loaded afresh shows the numbers.
    std::vector<EXENTRY> entries = FrameTable::EntriesOf(*record);
    std::vector<bool> numberedNow(entries.size(), false);
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].entryNumber != 0) continue;
        entries[i].entryNumber = doc->TakeEntryNumber();
        numberedNow[i] = true;
    }
    LayOutPositions(entries);
    // The tuplet records of numbered entries are what counts (a frame's items only show them);
    // the items of entries numbered just now become their first records.
    std::vector<TGFTUPLETITEM> newTuplets;
    for (const TGFTUPLETITEM& tuplet : FrameTable::TupletsOf(*record))
        if (tuplet.entryIndex >= 0 && static_cast<size_t>(tuplet.entryIndex) < entries.size() &&
            numberedNow[static_cast<size_t>(tuplet.entryIndex)])
            newTuplets.push_back(tuplet);
    doc->PutTupletRecords(entries, newTuplets);

    const CellKey key{record->staff, record->measure, record->layer};
    // Entries the frame no longer holds take their tuplets with them.
    if (const Cell* old = doc->FindCell(key.staff, key.measure, key.layer))
        for (const EXENTRY& gone : old->entries)
            if (std::none_of(entries.begin(), entries.end(),
                             [&](const EXENTRY& e) { return e.entryNumber == gone.entryNumber; }))
                doc->EraseTupletRecords(gone.entryNumber);
    if (entries.empty())
        doc->cells.erase(key);
    else
        doc->cells[key] = Cell{std::move(entries), {}};
    return 1;
}

int32_t FX_STDCALL FreeTGF(EXTGF2005a* frame, uint32_t version) {
    H().Log("FX_FreeTGF", {P(frame), version});
    return H().Frames().Free("FX_FreeTGF", frame) ? 1 : 0;
}

int32_t FX_STDCALL InsertEXENTRY(EXTGF2005a* frame, int32_t index, int32_t count,
                                 uint32_t version) {
    H().Log("FX_InsertEXENTRY", {P(frame), index, count, version});
    FrameRecord* record = H().Frames().Check("FX_InsertEXENTRY", frame);
    if (!record) return 0;
    H().Frames().CheckClean("FX_InsertEXENTRY", frame);
    const int16_t at = static_cast<int16_t>(index), n = static_cast<int16_t>(count);
    if (at < 0 || at > record->entryCount || n < 0 || record->entryCount + n > INT16_MAX) return 0;
    if (n == 0) return 1;
    std::vector<EXENTRY> entries = FrameTable::EntriesOf(*record);
    entries.insert(entries.begin() + at, static_cast<size_t>(n), EXENTRY{});
    std::vector<TGFTUPLETITEM> tuplets = FrameTable::TupletsOf(*record);
    for (TGFTUPLETITEM& tuplet : tuplets)
        if (tuplet.entryIndex >= at)
            tuplet.entryIndex = static_cast<int16_t>(tuplet.entryIndex + n);
    H().Frames().Replace(frame, entries, tuplets);
    return 1;
}

int32_t FX_STDCALL DeleteEXENTRY(EXTGF2005a* frame, int32_t index, int32_t count,
                                 uint32_t version) {
    H().Log("FX_DeleteEXENTRY", {P(frame), index, count, version});
    FrameRecord* record = H().Frames().Check("FX_DeleteEXENTRY", frame);
    if (!record) return 0;
    H().Frames().CheckClean("FX_DeleteEXENTRY", frame);
    const int16_t at = static_cast<int16_t>(index), n = static_cast<int16_t>(count);
    if (at < 0 || n < 0 || at + n > record->entryCount) return 0;
    if (n == 0) return 1;
    std::vector<EXENTRY> entries = FrameTable::EntriesOf(*record);
    entries.erase(entries.begin() + at, entries.begin() + at + n);
    std::vector<TGFTUPLETITEM> kept;
    for (TGFTUPLETITEM tuplet : FrameTable::TupletsOf(*record)) {
        if (tuplet.entryIndex >= at && tuplet.entryIndex < at + n) continue;
        if (tuplet.entryIndex >= at + n)
            tuplet.entryIndex = static_cast<int16_t>(tuplet.entryIndex - n);
        kept.push_back(tuplet);
    }
    H().Frames().Replace(frame, entries, kept);
    return 1;
}

int32_t FX_STDCALL GetTGFDuration(EXTGF2005a* frame, uint32_t version) {
    H().Log("FX_GetTGFDuration", {P(frame), version});
    FrameRecord* record = H().Frames().Check("FX_GetTGFDuration", frame);
    if (!record) return 0;
    int32_t total = 0;
    for (int i = 0; i < record->entryCount; ++i)
        total += std::max<int32_t>(record->entries[i].duration, 0);
    return total;
}

}  // namespace plovikhost::svc
