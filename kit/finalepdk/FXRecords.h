// Host records that the framework and the host share byte for byte: the entry frame, the entry
// record, the note record, the frame's tuplet item, the region record and the window info.
// Little-endian, packed, no gaps. The frame carries the host's pointers: 32-bit on the host's
// platform (and so laid out exactly there), native pointers elsewhere.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)

// One note of an entry (10 bytes): its pitch as displacement and raise/lower, its ID, flags.
struct NOTERECORD {
    int16_t displacement;  // first half of the pitch
    int16_t raiseLower;    // second half of the pitch
    int16_t noteID;        // unique within the entry, 1 or more
    uint32_t flags;
};

// One entry of a frame (146 bytes): a note, chord or rest with its duration, flags and notes.
struct EXENTRY {
    uint32_t entryNumber;  // 0 until the host numbers the entry when its frame is stored
    int16_t duration;      // 0 marks a null entry
    uint16_t reserved6;
    uint32_t flags;
    uint16_t flags2;
    int16_t noteCount;  // host data: trust only after clamping to 0..EXENTRY_MAX_NOTES
    NOTERECORD notes[12];
    int32_t position;  // in the measure, in duration units
    uint32_t reserved140;
    int16_t clef;
};

// A tuplet of a frame's entry, as the frame carries it beside its entry records.
struct TGFTUPLETITEM {
    int16_t entryIndex;  // index of the entry record in the frame's entry array
    int16_t reserved2;
    int16_t incidence;  // the tuplet's number within that entry
    uint8_t reserved6[4];
    uint8_t definition[30];  // EDTTuplet2005
};

// An entry frame: one staff's entries in one measure and layer, handed out by the host.
struct EXTGF2005a {
    uint16_t instrumentList;
    int16_t slot;
    uint16_t reserved4;
    int16_t measure;
    int16_t layer;
    uint32_t reserved10;
    EXENTRY* entries;
    int16_t entryCount;  // host data: never trusted blindly
    TGFTUPLETITEM* tuplets;
    int16_t tupletCount;
};

// The host's region record (20 bytes): first and last slot, measure and position.
struct EREGION {
    uint16_t startInstrumentList;
    int16_t startSlot;
    int16_t startMeasure;
    int32_t startPosition;
    uint16_t endInstrumentList;
    int16_t endSlot;
    int16_t endMeasure;
    int32_t endPosition;  // EREGION_END_OF_MEASURE: to the end of the measure
};

// The 30-byte tuplet definition, as a frame's tuplet item carries it.
// The tuplet record class reads its fields.
struct EDTTuplet2005 {
    uint8_t bytes[30];
};

// What the music transfer services are given: the region, then two words that are always 1.
struct EREGIONTRANSFER {
    EREGION region;
    int32_t one1;
    int32_t one2;
};

// The current document window as FX_GetCurrentWindowInfo describes it.
// A host may write a longer record than this; whoever asks passes room for it
// (EWINDOWINFO_BLOCK_SIZE).
struct EWINDOWINFO {
    uint8_t reserved0[260];
    uint32_t window;  // the window's handle: a 32-bit value on the host's platform
    uint32_t reserved264;
    int16_t pageView;  // nonzero in page view
    int16_t zoom;      // percent
    int16_t page;      // the page shown, in page view
};

#pragma pack(pop)

inline constexpr size_t EWINDOWINFO_BLOCK_SIZE = 1024;

inline constexpr int EXENTRY_MAX_NOTES = 12;
inline constexpr int32_t EREGION_END_OF_MEASURE = 0x7FFFFFFF;

// Counts in host records are host data, bounded before use: a frame without an entry array or
// with a negative count has no entries; an entry has 0 to 12 notes whatever its count says.
inline int FrameEntryCount(const EXTGF2005a* frame) {
    return frame && frame->entries ? std::max<int>(frame->entryCount, 0) : 0;
}
inline int EntryNoteCount(const EXENTRY* entry) {
    return entry ? std::clamp<int>(entry->noteCount, 0, EXENTRY_MAX_NOTES) : 0;
}

// Entry flags (EXENTRY::flags).
inline constexpr uint32_t ENTRY_FLAG_NOTE = 0x40000000;         // holds notes; clear: a rest
inline constexpr uint32_t ENTRY_FLAG_REST_RECORD = 0x01000000;  // the cleaning gave a rest a note
inline constexpr uint32_t ENTRY_FLAG_NOTE_DETAILS = 0x00400000;
inline constexpr uint32_t ENTRY_FLAG_ARTICULATIONS = 0x00200000;
inline constexpr uint32_t ENTRY_FLAG_TUPLETS = 0x00080000;
inline constexpr uint32_t ENTRY_FLAG_SPECIAL_ALTS = 0x00001000;
inline constexpr uint32_t ENTRY_FLAG_FLIP_FORCED = 0x00000800;
inline constexpr uint32_t ENTRY_FLAG_STEM_UP = 0x00000001;
// Second flag word (EXENTRY::flags2).
inline constexpr uint16_t ENTRY_FLAG2_TIE_CHANGED = 0x0004;
inline constexpr uint16_t ENTRY_FLAG2_COPY_CLEARED = 0x0020;
// Note flags (NOTERECORD::flags).
inline constexpr uint32_t NOTE_FLAG_CREATED = 0x80000000;
inline constexpr uint32_t NOTE_FLAG_TIE = 0x40000000;
inline constexpr uint32_t NOTE_FLAG_ACCIDENTAL = 0x01000000;
inline constexpr uint32_t NOTE_FLAG_ID_BITS = 0x001F0000;

static_assert(sizeof(NOTERECORD) == 10, "note record");
static_assert(offsetof(NOTERECORD, raiseLower) == 2 && offsetof(NOTERECORD, noteID) == 4 &&
                  offsetof(NOTERECORD, flags) == 6,
              "note record offsets");

static_assert(sizeof(EXENTRY) == 146, "EXENTRY");
static_assert(offsetof(EXENTRY, duration) == 4 && offsetof(EXENTRY, flags) == 8 &&
                  offsetof(EXENTRY, flags2) == 12 && offsetof(EXENTRY, noteCount) == 14 &&
                  offsetof(EXENTRY, notes) == 16 && offsetof(EXENTRY, position) == 136 &&
                  offsetof(EXENTRY, clef) == 144,
              "EXENTRY offsets");

static_assert(sizeof(TGFTUPLETITEM) == 40, "tuplet item");
static_assert(offsetof(TGFTUPLETITEM, incidence) == 4 && offsetof(TGFTUPLETITEM, definition) == 10,
              "tuplet item offsets");

static_assert(sizeof(EREGION) == 20, "EREGION");
static_assert(offsetof(EREGION, startSlot) == 2 && offsetof(EREGION, startMeasure) == 4 &&
                  offsetof(EREGION, startPosition) == 6 &&
                  offsetof(EREGION, endInstrumentList) == 10 && offsetof(EREGION, endSlot) == 12 &&
                  offsetof(EREGION, endMeasure) == 14 && offsetof(EREGION, endPosition) == 16,
              "EREGION offsets");

static_assert(sizeof(EWINDOWINFO) == 274, "window info");
static_assert(offsetof(EWINDOWINFO, window) == 260 && offsetof(EWINDOWINFO, pageView) == 268 &&
                  offsetof(EWINDOWINFO, zoom) == 270 && offsetof(EWINDOWINFO, page) == 272,
              "window info offsets");

static_assert(sizeof(EDTTuplet2005) == 30, "EDTTuplet2005");
static_assert(sizeof(EREGIONTRANSFER) == 28 && offsetof(EREGIONTRANSFER, one1) == 20 &&
                  offsetof(EREGIONTRANSFER, one2) == 24,
              "music transfer record");

static_assert(offsetof(EXTGF2005a, slot) == 2 && offsetof(EXTGF2005a, measure) == 6 &&
                  offsetof(EXTGF2005a, layer) == 8 && offsetof(EXTGF2005a, entries) == 14,
              "EXTGF2005a header offsets");
static_assert(offsetof(EXTGF2005a, entryCount) == 14 + sizeof(void*) &&
                  offsetof(EXTGF2005a, tuplets) == 16 + sizeof(void*) &&
                  offsetof(EXTGF2005a, tupletCount) == 16 + 2 * sizeof(void*),
              "EXTGF2005a pointer-bearing offsets");
#if UINTPTR_MAX == 0xFFFFFFFFu
// On the host's platform the frame is exactly the host's 26-byte layout.
static_assert(sizeof(EXTGF2005a) == 26 && offsetof(EXTGF2005a, entryCount) == 18 &&
                  offsetof(EXTGF2005a, tuplets) == 20 && offsetof(EXTGF2005a, tupletCount) == 24,
              "EXTGF2005a on 32-bit targets");
#endif
