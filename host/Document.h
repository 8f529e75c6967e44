#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "FXRecords.h"
#include "RecordStore.h"

namespace plovikhost {

// The bytes FX_GetDocumentPath writes, as many as the caller's buffer holds.
inline constexpr size_t kDocumentPathSize = 260;

// Layers of every staff in every measure, 0 to 3.
inline constexpr int16_t kDocumentLayers = 4;

// A measure of the document: its time signature and the key value of its key signature.
struct MeasureSpec {
    int16_t beats = 4;
    int16_t beatDuration = 1024;  // duration units; a quarter note is 1024
    int16_t key = 0;              // the host's 16-bit key value; 0 is C major

    int32_t Duration() const { return int32_t{beats} * beatDuration; }
};

// The document keeps tuplets as tuplet records of their entries (entry details under this tag);
// the tuplet items of a frame or a clip are made from them.
inline constexpr uint32_t TAG_TUPLET = 0x45035450;  // E, 0x03, T P

// The stored music of one staff in one measure and one layer: entry records as the host keeps
// them (numbered). The tuplet items, which refer to entries by index, travel with the music of
// a frame or a clip; a cell the document stores has none.
struct Cell {
    std::vector<EXENTRY> entries;
    std::vector<TGFTUPLETITEM> tuplets;
};

struct CellKey {
    int16_t staff;    // instrument number
    int16_t measure;  // from 1
    int16_t layer;    // from 0
    bool operator<(const CellKey& o) const {
        return std::tie(staff, measure, layer) < std::tie(o.staff, o.measure, o.layer);
    }
};

// One open document of the substitute host.
struct Document {
    int16_t number = 0;
    std::string path;  // FX_GetDocumentPath gives at most kDocumentPathSize bytes of it
    // Instrument lists: list number to the instrument (staff) numbers of slots 1, 2, ...
    // List 0 is the document's global list.
    std::map<uint16_t, std::vector<int16_t>> instrumentLists;
    RecordStore records;
    // The document's font table: font number to name. A new document has none.
    std::map<int16_t, std::string> fonts;

    // The music: measures 1, 2, ... in order, and the cells that hold entries.
    std::vector<MeasureSpec> measures;
    std::map<CellKey, Cell> cells;
    std::set<int16_t> hiddenLayers;
    EREGION selection{};
    uint32_t nextEntryNumber = 1;
    // Parts by ID; part 0, the score, is always there. The current part is the one shown.
    std::map<int16_t, std::string> parts{{0, "Score"}};
    int16_t currentPart = 0;
    // The last slot found for an instrument: a command asks for one staff many times in a row.
    // It is only a hint, checked against the list before it is believed.
    mutable struct {
        uint16_t list = 0;
        int16_t instrument = 0;
        size_t index = 0;
    } slotHint;

    int16_t SlotToInstrument(int16_t slot, uint16_t list) const;
    int16_t InstrumentToSlot(int16_t instrument, uint16_t list) const;
    // The number of the font of that name (exact match), added to the table under the lowest
    // free number from 1 when the table does not have it.
    int16_t FontNumber(const std::string& name);

    // The staves of the global list, in slot order.
    const std::vector<int16_t>& Staves() const;
    bool HasStaff(int16_t instrument) const;
    int16_t MeasureCount() const { return static_cast<int16_t>(measures.size()); }
    // Null for a measure the document does not have.
    const MeasureSpec* FindMeasure(int16_t measure) const;
    // Null when the cell holds nothing yet; CellAt makes it.
    const Cell* FindCell(int16_t staff, int16_t measure, int16_t layer) const;
    Cell& CellAt(int16_t staff, int16_t measure, int16_t layer);
    // Every staff of the global list over every measure, whole measures.
    EREGION WholeRegion() const;
    // Numbers are never given twice, not even after the entry that had one is gone.
    uint32_t TakeEntryNumber() { return nextEntryNumber++; }
    // Whether a stored entry has this number (0 is no entry's).
    bool HasEntry(uint32_t entryNumber) const;

    // The tuplet items of these entries, made from their tuplet records (incidences from 0 up
    // to the first missing one).
    std::vector<TGFTUPLETITEM> TupletItemsOf(const std::vector<EXENTRY>& entries) const;
    // Stores tuplet items as tuplet records of the numbered entries they refer to.
    void PutTupletRecords(const std::vector<EXENTRY>& entries,
                          const std::vector<TGFTUPLETITEM>& items);
    void EraseTupletRecords(uint32_t entryNumber);
};

// Positions follow from durations: each entry starts where the one before it ends.
void LayOutPositions(std::vector<EXENTRY>& entries);

}  // namespace plovikhost
