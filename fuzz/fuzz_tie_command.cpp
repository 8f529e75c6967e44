// The Tie and Untie commands, through FinaleExtensionInvoke, on a document, a region and a
// command index decoded from the input, held against an oracle: a plain loop over the host's own
// model that walks the region as the command does, applies the tie rules, reads pitches across a
// key change with a key table of its own, cleans every frame it stores as the host's contract
// says and stores it as the host does. After every run: no frame outstanding, no host problem,
// and the whole document as the oracle predicts it; Tie then runs again on what it left, against
// the oracle's prediction for that document. A disagreement aborts with the first difference.
//
// Input: a header of kHeaderSize bytes (see Decode), then entry chunks of kChunkSize bytes, each
// appended to a cell of the document.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "DocumentDiff.h"
#include "PlovikTie.h"
#include "RecordBuilders.h"
#include "ScoreBuilder.h"
#include "SubstituteHost.h"

namespace {

using plovikhost::Cell;
using plovikhost::CellDifference;
using plovikhost::CellKey;
using plovikhost::Document;
using plovikhost::Host;
using plovikhost::Where;

constexpr size_t kHeaderSize = 11;
constexpr size_t kChunkSize = 8;
constexpr size_t kMaxChunks = 48;
constexpr size_t kMaxEntriesPerCell = 6;
constexpr int kMaxSpan = 40;

constexpr uint32_t kIndices[8] = {0, 1, 0x10000, 0xFFFF, 2, 5, 0x7FFFFFFF, 0xFFFF0000};
constexpr int16_t kMaxLayers[8] = {4, 4, 4, 3, 2, 1, 0, 5};
constexpr int16_t kStaffNumbers[4] = {5, 2, 7, 3};
constexpr uint16_t kRegionLists[4] = {0, 0, 1, 9};
constexpr int16_t kSlots[16] = {1, 1, 2, 3, 4, 5, 0, -1, 2, 3, 1, 4, 32767, -32768, 6, 2};
constexpr int16_t kMeasures[16] = {1, 2, 3, 4, 1, 2, 3, 4, 0, -1, 5, 32767, -32768, 1, 2, 3};
constexpr int32_t kStartPositions[16] = {0, 0,    0,    0,    512, 1024, 2048,      3072,
                                         1, 1023, 1025, 4096, -1,  0,    INT32_MIN, INT32_MAX};
constexpr int32_t kEndPositions[16] = {INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, 0,    1024,
                                       2048,      3072,      1023,      1025,      4095, 512,
                                       -1,        INT32_MIN, 4096,      INT32_MAX};
// A measure's key byte: the alteration (bits 0-4) and its form (5-7): major, minor, a mode the
// framework does not interpret, or no measure record at all.
constexpr int8_t kAlterations[32] = {0,   1,  2,  3,   4,   5,   6,   7,   -1,   -2,  -3,
                                     -4,  -5, -6, -7,  8,   9,   13,  14,  15,   21,  64,
                                     127, -8, -9, -13, -14, -15, -21, -64, -127, -128};
constexpr int kNoRecord = -1;
constexpr int kKeyModes[8] = {0x00, 0x00, 0x01, 0x01, 0x02, 0x40, 0xFF, kNoRecord};
constexpr int16_t kDurations[8] = {1024, 512, 2048, 256, 0, -1, 3072, 32767};
constexpr int16_t kOddNoteCounts[3] = {13, 40, -3};
constexpr int32_t kOddPositions[8] = {-1, 0, 512, 1024, 2048, 4096, INT32_MAX, INT32_MIN};

// A host that damages the frames of one measure before handing them out.
enum class Damage { NONE, NULL_ARRAY, NEGATIVE_COUNT, ONE_FEWER, LOWEST_COUNT };

struct Case {
    uint32_t index = 0;
    bool tie = false;
    bool nullRegion = false;
    EREGION region{};  // what the command sees: zero for a null region
    int16_t maxLayers = 4;
    Damage damage = Damage::NONE;
    int16_t damagedMeasure = 0;
    bool shortReloads = false;  // a frame loaded again after storing shows one entry fewer
    bool scribble = false;      // a record that does not load leaves junk in the buffer
};

[[noreturn]] void Fail(const std::string& what, const std::string& detail) {
    std::fprintf(stderr, "fuzz_tie_command: %s: %s\n", what.c_str(), detail.c_str());
    std::abort();
}

int NoteCount(const EXENTRY& entry) {
    return std::clamp<int>(entry.noteCount, 0, EXENTRY_MAX_NOTES);
}

bool IsNoteEntry(const EXENTRY& entry) {
    return (entry.flags & ENTRY_FLAG_NOTE) != 0;
}

// How many entries of a frame the damaged header still shows.
int Visible(const Case& c, int16_t measure, int count) {
    if (c.damage == Damage::NONE || measure != c.damagedMeasure) return count;
    return c.damage == Damage::ONE_FEWER ? std::max(count - 1, 0) : 0;
}

void DamageFrame(const Case& c, EXTGF2005a* frame) {
    if (!frame) return;
    const plovikhost::FrameRecord* record = Host::Get().Frames().Find(frame);
    if (c.shortReloads && record && record->loadMode == 0 && frame->entryCount > 0)
        --frame->entryCount;
    if (frame->measure != c.damagedMeasure) return;
    switch (c.damage) {
        case Damage::NULL_ARRAY:
            frame->entries = nullptr;
            break;
        case Damage::NEGATIVE_COUNT:
            frame->entryCount = -3;
            break;
        case Damage::ONE_FEWER:
            if (frame->entryCount > 0) --frame->entryCount;
            break;
        case Damage::LOWEST_COUNT:
            frame->entryCount = INT16_MIN;
            break;
        case Damage::NONE:
            break;
    }
}

// ---- Decoding ----

void SetKey(Document& doc, int16_t measure, uint8_t code) {
    const plovikhost::RecordId id{plovikhost::TAG_MEASURE, measure, 0, 0};
    const int mode = kKeyModes[code >> 5];
    if (mode == kNoRecord) {
        doc.records.Erase(id);
        return;
    }
    const uint16_t key =
        static_cast<uint16_t>(mode << 8 | static_cast<uint8_t>(kAlterations[code & 31]));
    doc.measures[static_cast<size_t>(measure - 1)].key = static_cast<int16_t>(key);
    plovikhost::PutMeasureKey(doc, measure, key);
}

int16_t NoteID(int mode, int k, int nibble) {
    switch (mode) {
        case 0:
            return static_cast<int16_t>(k + 1);
        case 1:
            return 0;
        case 2:
            return static_cast<int16_t>(k / 2 + 1);
        case 3:
            return static_cast<int16_t>(nibble);
        case 4:
            return k == 0 ? INT16_MAX : k == 1 ? INT16_MIN : 0;
        case 5:
            return static_cast<int16_t>(-(k + 1));
        case 6:
            return static_cast<int16_t>(EXENTRY_MAX_NOTES - k);
        default:
            return 3;
    }
}

bool TieBit(int mode, int k) {
    switch (mode) {
        case 1:
            return true;
        case 2:
            return k % 2 == 0;
        case 3:
            return k % 2 == 1;
        case 4:
            return k == 0;
        default:
            return false;
    }
}

// Header: h0 command index (bits 0-2), layers the host reports (3-5), a damaged measure (6), a
// staff twice in the global list (7); h1 staves - 1 (0-1), measures - 1 (2-3), hidden layers
// (4-7); h2 the region's instrument list (0-1), a list 1 in reverse order (2), the damage (3-4)
// and its measure (5-6), other staff numbers (7); h3 start and end slot; h4 start and end
// measure; h5 start and end position (nibbles indexing the tables); h6 a null region (0), frames
// loaded again with an entry fewer (1), junk left in a record's buffer when it does not load (2);
// h7 to h10 the key bytes of measures 1 to 4.
Case Decode(const uint8_t* data, size_t size, Document& doc) {
    const uint8_t* h = data;
    Case c;
    c.index = kIndices[h[0] & 7];
    c.tie = static_cast<int16_t>(c.index & 0xFFFF) == 0;
    c.maxLayers = kMaxLayers[(h[0] >> 3) & 7];
    const int staffCount = (h[1] & 3) + 1;
    const int measureCount = ((h[1] >> 2) & 3) + 1;
    if (h[0] & 0x40) {
        c.damage = static_cast<Damage>(((h[2] >> 3) & 3) + 1);
        c.damagedMeasure = static_cast<int16_t>(((h[2] >> 5) & 3) + 1);
    }

    plovikhost::ScoreBuilder builder(doc);
    std::vector<int16_t> staves;
    for (int i = 0; i < staffCount; ++i) {
        staves.push_back(h[2] & 0x80 ? kStaffNumbers[i] : static_cast<int16_t>(i + 1));
        builder.Staves({staves.back()});
    }
    if (h[0] & 0x80) doc.instrumentLists[0].push_back(staves.front());
    if (h[2] & 4) doc.instrumentLists[1].assign(staves.rbegin(), staves.rend());
    builder.Measures(measureCount);
    for (int m = 1; m <= measureCount; ++m) SetKey(doc, static_cast<int16_t>(m), h[6 + m]);
    for (int16_t layer = 0; layer < plovikhost::kDocumentLayers; ++layer)
        if (h[1] & (0x10 << layer)) doc.hiddenLayers.insert(layer);

    EREGION& r = c.region;
    c.nullRegion = h[6] & 1;
    c.shortReloads = h[6] & 2;
    c.scribble = h[6] & 4;
    if (!c.nullRegion) {
        r.startInstrumentList = r.endInstrumentList = kRegionLists[h[2] & 3];
        r.startSlot = kSlots[h[3] & 15];
        r.endSlot = kSlots[h[3] >> 4];
        r.startMeasure = kMeasures[h[4] & 15];
        r.endMeasure = kMeasures[h[4] >> 4];
        // Far-apart ends only cost time: every slot and measure between them is asked for.
        if (r.endSlot - r.startSlot > kMaxSpan)
            r.startSlot = static_cast<int16_t>(r.endSlot - kMaxSpan);
        if (r.endMeasure - r.startMeasure > kMaxSpan)
            r.startMeasure = static_cast<int16_t>(r.endMeasure - kMaxSpan);
        r.startPosition = kStartPositions[h[5] & 15];
        r.endPosition = kEndPositions[h[5] >> 4];
    }

    struct Override {
        CellKey cell;
        size_t index;
        int32_t position;
    };
    std::vector<Override> positions;
    const size_t chunks = std::min((size - kHeaderSize) / kChunkSize, kMaxChunks);
    for (size_t i = 0; i < chunks; ++i) {
        const uint8_t* b = data + kHeaderSize + i * kChunkSize;
        const CellKey key{staves[static_cast<size_t>((b[0] & 3) % staffCount)],
                          static_cast<int16_t>(((b[0] >> 2) & 3) % measureCount + 1),
                          static_cast<int16_t>((b[0] >> 4) & 3)};
        Cell& cell = doc.CellAt(key.staff, key.measure, key.layer);
        if (cell.entries.size() >= kMaxEntriesPerCell) continue;

        EXENTRY e{};
        e.entryNumber = b[0] & 0x40 ? 0 : doc.TakeEntryNumber();
        const int countCode = b[1] & 15;
        e.noteCount = countCode <= EXENTRY_MAX_NOTES ? static_cast<int16_t>(countCode)
                                                     : kOddNoteCounts[countCode - 13];
        if (b[1] & 0x10) e.flags |= ENTRY_FLAG_NOTE;
        e.duration = kDurations[b[2] & 7];
        const bool junk = b[0] & 0x80;
        const uint8_t j = b[7];
        if (junk) {
            e.flags |= (j * 0x01010101u) & ~ENTRY_FLAG_NOTE;
            e.flags2 = static_cast<uint16_t>(j * 0x0101u);
            e.reserved6 = j;
            e.reserved140 = j * 0x00010001u;
            e.clef = static_cast<int16_t>(j & 3);
        }
        // Every record is filled, those beyond the count too: the cleaning must clear them.
        for (int k = 0; k < EXENTRY_MAX_NOTES; ++k) {
            const int nibble = ((b[3 + (k % 8) / 2] >> (4 * (k % 2))) & 15) ^ (k >= 8 ? 5 : 0);
            NOTERECORD& note = e.notes[k];
            note.displacement = static_cast<int16_t>((nibble & 7) - 3);
            note.raiseLower = static_cast<int16_t>(nibble & 8 ? (k % 2 ? -1 : 1) : 0);
            note.noteID = NoteID(b[1] >> 5, k, nibble);
            note.flags = NOTE_FLAG_CREATED;
            if (TieBit(b[2] >> 5, k)) note.flags |= NOTE_FLAG_TIE;
            if (junk) note.flags |= (j * 0x00010101u) & ~NOTE_FLAG_TIE;
        }
        const int positionMode = (b[2] >> 3) & 3;
        if (positionMode >= 2)
            positions.push_back(
                {key, cell.entries.size(), positionMode == 2 ? kOddPositions[j & 7] : j * 32});
        cell.entries.push_back(e);
    }
    for (auto& [key, cell] : doc.cells) plovikhost::LayOutPositions(cell.entries);
    for (const Override& o : positions) doc.cells[o.cell].entries[o.index].position = o.position;
    return c;
}

// ---- The oracle ----

// A key as a musician spells it, for every key value the framework interprets (a high byte,
// the mode, of 0 major or 1 minor): C major has no accidental; each key of one sharp more lies
// a fifth above the last and sharpens its own leading note, each key of one flat more lies a
// fifth below and flattens its own fourth; past seven the same letters come round again. A
// displacement counts steps from the tonic, which lies this many steps above middle C: sharp
// keys from C to B, flat keys from D up to the C above (C flat major is 7), a minor key two
// steps below its relative major, an octave up where that would fall below C.
struct Spelling {
    int tonic = 0;
    int alteration[7] = {};  // by step above C: C D E F G A B
};

class KeyTable {
  public:
    KeyTable() {
        Spelling key;
        Spelling majors[256];
        majors[0] = key;
        for (int sharps = 1; sharps <= 127; ++sharps) {
            key.tonic = (key.tonic + 4) % 7;
            ++key.alteration[(key.tonic + 6) % 7];
            majors[sharps] = key;
        }
        key = Spelling{};
        for (int flats = 1; flats <= 128; ++flats) {
            key.tonic = (key.tonic + 3) % 7;
            --key.alteration[(key.tonic + 3) % 7];
            majors[256 - flats] = key;
            if (key.tonic == 0) majors[256 - flats].tonic = 7;
        }
        for (int low = 0; low < 256; ++low) {
            keys_[low] = keys_[256 + low] = majors[low];
            int& minorTonic = keys_[256 + low].tonic;
            minorTonic -= 2;
            if (minorTonic < 0) minorTonic += 7;
        }
    }

    // The spelling of a key value, or null for one whose mode is neither major nor minor.
    const Spelling* Find(uint16_t value) const { return value >> 8 <= 1 ? &keys_[value] : nullptr; }

  private:
    Spelling keys_[512];
};

const KeyTable& Keys() {
    static const KeyTable table;
    return table;
}

// The key a measure's record gives, if it loads (a missing record is the host's only failure).
std::optional<uint16_t> KeyOf(const Document& doc, int16_t measure) {
    const plovikhost::RecordStore::Bytes* record =
        doc.records.Find({plovikhost::TAG_MEASURE, measure, 0, 0});
    if (!record) return std::nullopt;
    uint16_t value = 0;  // at 2 of a whole record: the decoder makes no short ones
    std::memcpy(&value, record->data() + 2, sizeof value);
    return value;
}

// The written pitch of a note under a key: steps above middle C, and the real alteration.
std::pair<int, int> Written(const NOTERECORD& note, const Spelling& key) {
    const int step = note.displacement + key.tonic;
    return {step, note.raiseLower + key.alteration[(step % 7 + 7) % 7]};
}

// Notes compare as stored, both halves, unless they lie under two different keys that are both
// known and interpreted: then by written pitch.
bool SamePitch(const NOTERECORD& a, std::optional<uint16_t> keyA, const NOTERECORD& b,
               std::optional<uint16_t> keyB) {
    const Spelling* spellA = keyA ? Keys().Find(*keyA) : nullptr;
    const Spelling* spellB = keyB ? Keys().Find(*keyB) : nullptr;
    if (!spellA || !spellB || *keyA == *keyB)
        return a.displacement == b.displacement && a.raiseLower == b.raiseLower;
    return Written(a, *spellA) == Written(b, *spellB);
}

bool Includes(const Document& doc, const EREGION& r, int16_t staff, int16_t measure,
              int32_t position) {
    if (measure < r.startMeasure || measure > r.endMeasure) return false;
    const int16_t slot = doc.InstrumentToSlot(staff, r.startInstrumentList);
    if (slot <= 0 || slot < r.startSlot || slot > r.endSlot) return false;
    if (measure == r.startMeasure && position < r.startPosition) return false;
    if (measure == r.endMeasure && position > r.endPosition) return false;
    return true;
}

struct Frame {
    int16_t measure;
    std::vector<EXENTRY> entries;
    int visible;  // as many as the header shows
};

void PredictLayer(Document& doc, const Case& c, int16_t instrument, int16_t layer) {
    const EREGION& r = c.region;
    const int16_t start = r.startMeasure, end = r.endMeasure;
    // A region without a measure (end below start, or below 1) is left alone.
    if (end < start || end < 1 || doc.hiddenLayers.count(layer)) return;
    // Frames come through the staff's slot in the global list; the first that does not load
    // drops the whole layer.
    const int16_t staff = doc.SlotToInstrument(doc.InstrumentToSlot(instrument, 0), 0);
    if (staff <= 0 || layer >= plovikhost::kDocumentLayers || start < 1 || end > doc.MeasureCount())
        return;

    std::vector<Frame> frames;
    for (int m = start; m <= end; ++m) {
        const Cell* cell = doc.FindCell(staff, static_cast<int16_t>(m), layer);
        Frame frame{static_cast<int16_t>(m), cell ? cell->entries : std::vector<EXENTRY>{}, 0};
        frame.visible = Visible(c, frame.measure, static_cast<int>(frame.entries.size()));
        frames.push_back(std::move(frame));
    }
    std::vector<std::pair<Frame*, EXENTRY*>> chain;
    for (Frame& frame : frames)
        for (int j = 0; j < frame.visible; ++j) chain.emplace_back(&frame, &frame.entries[j]);

    for (size_t i = 0; i < chain.size(); ++i) {
        auto [frame, entry] = chain[i];
        if (!Includes(doc, r, staff, frame->measure, entry->position)) continue;
        if (!c.tie) {
            if (IsNoteEntry(*entry))
                for (int k = 0; k < NoteCount(*entry); ++k) entry->notes[k].flags &= ~NOTE_FLAG_TIE;
            entry->flags2 |= ENTRY_FLAG2_TIE_CHANGED;
            continue;
        }
        if (i + 1 == chain.size() || !IsNoteEntry(*entry)) continue;
        auto [nextFrame, next] = chain[i + 1];
        if (!IsNoteEntry(*next)) continue;
        for (int k = 0; k < NoteCount(*entry); ++k) {
            bool partner = false;
            for (int j = 0; j < NoteCount(*next) && !partner; ++j)
                partner = SamePitch(entry->notes[k], KeyOf(doc, frame->measure), next->notes[j],
                                    KeyOf(doc, nextFrame->measure));
            if (!partner) continue;
            entry->notes[k].flags |= NOTE_FLAG_TIE;
            entry->flags2 |= ENTRY_FLAG2_TIE_CHANGED;
            next->flags2 |= ENTRY_FLAG2_TIE_CHANGED;
        }
    }

    // Every frame is cleaned as far as its header shows, then the host stores all it holds.
    for (Frame& frame : frames) {
        for (int j = 0; j < frame.visible; ++j) plovikhost::CleanEntry(frame.entries[j]);
        for (EXENTRY& entry : frame.entries)
            if (entry.entryNumber == 0) entry.entryNumber = doc.TakeEntryNumber();
        plovikhost::LayOutPositions(frame.entries);
        const CellKey key{staff, frame.measure, layer};
        if (frame.entries.empty())
            doc.cells.erase(key);
        else
            doc.cells[key] = Cell{std::move(frame.entries), {}};
    }
}

Document Predict(const Document& before, const Case& c) {
    Document doc = before;
    const EREGION& r = c.region;
    for (int slot = r.startSlot; slot <= r.endSlot; ++slot) {
        const int16_t instrument =
            doc.SlotToInstrument(static_cast<int16_t>(slot), r.startInstrumentList);
        // A staff the list places in another slot first (one listed twice) is not this slot's.
        if (instrument <= 0 || doc.InstrumentToSlot(instrument, r.startInstrumentList) != slot)
            continue;
        for (int16_t layer = 0; layer < c.maxLayers; ++layer)
            PredictLayer(doc, c, instrument, layer);
    }
    return doc;
}

// ---- The checks ----

Document Run(const Case& c, const Document& before, const std::string& what) {
    Host& host = Host::Get();
    EREGION region = c.region;
    FinaleExtensionInvoke(0, c.index, c.nullRegion ? nullptr : &region, 0);
    if (host.Frames().Outstanding() != 0)
        Fail(what, std::to_string(host.Frames().Outstanding()) + " frames outstanding");
    if (!host.Problems().empty()) Fail(what, "host problem: " + host.Problems().front());
    host.ClearCalls();

    const Document& after = host.CurrentDocument();
    const Document expected = Predict(before, c);
    const std::string difference =
        CellDifference(after, expected, [](const CellKey&) { return true; });
    if (!difference.empty()) Fail(what + ", against the oracle", difference);
    if (after.nextEntryNumber != expected.nextEntryNumber)
        Fail(what + ", against the oracle",
             "next entry number " + std::to_string(after.nextEntryNumber) + ", expected " +
                 std::to_string(expected.nextEntryNumber));
    return after;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool installed = (Host::Get().Install("FINALE.EXE"), true);
    (void)installed;
    if (size < kHeaderSize) return 0;
    Host& host = Host::Get();
    host.Reset();
    const Case c = Decode(data, size, host.CurrentDocument());
    host.maxLayers = c.maxLayers;
    host.scribbleOnFailedLoads = c.scribble;
    if (c.damage != Damage::NONE || c.shortReloads)
        host.alterLoadedTGF = [c](EXTGF2005a* f) { DamageFrame(c, f); };

    const Document before = host.CurrentDocument();
    const Document once = Run(c, before, c.tie ? "Tie" : "Untie");
    // What the command stored (cleaned entries, numbers the host gave) is new input of its own.
    if (c.tie) Run(c, once, "Tie run again");
    return 0;
}
