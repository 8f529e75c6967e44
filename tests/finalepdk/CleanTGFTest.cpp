// The cleaning every frame goes through before the host stores or reshapes it.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "finalepdk.h"

namespace {

struct Frame {
    std::vector<EXENTRY> entries;
    EXTGF2005a header{};
    explicit Frame(size_t count) : entries(count) {
        header.entries = entries.data();
        header.entryCount = static_cast<int16_t>(count);
    }
    EXENTRY& operator[](size_t i) { return entries[i]; }
};

void SetNotes(EXENTRY& entry, std::vector<int16_t> ids) {
    entry.flags = ENTRY_FLAG_NOTE;
    entry.noteCount = static_cast<int16_t>(ids.size());
    for (size_t k = 0; k < ids.size(); ++k) entry.notes[k].noteID = ids[k];
}

// Packed fields are copied out: a reference to one may be unaligned.
template <typename T>
T Value(T field) {
    return field;
}

std::vector<int16_t> Ids(const EXENTRY& entry) {
    std::vector<int16_t> ids;
    for (int k = 0; k < entry.noteCount; ++k) ids.push_back(entry.notes[k].noteID);
    return ids;
}

}  // namespace

TEST(CleanTGF, MakesNoteIDsUniqueFirstComerRenumbered) {
    Frame frame(4);
    SetNotes(frame[0], {0, 0});
    SetNotes(frame[1], {3, 3});
    SetNotes(frame[2], {2, 5, 2});
    // Past the largest ID the lowest free one is taken, never a wrapped, negative one.
    SetNotes(frame[3], {32767, -32768, 0, 1, 0});
    CleanTGF(&frame.header, true);
    EXPECT_EQ(Ids(frame[0]), (std::vector<int16_t>{1, 2}));
    EXPECT_EQ(Ids(frame[1]), (std::vector<int16_t>{4, 3}));
    EXPECT_EQ(Ids(frame[2]), (std::vector<int16_t>{6, 5, 2}));
    EXPECT_EQ(Ids(frame[3]), (std::vector<int16_t>{32767, -32768, 2, 1, 3}));
}

TEST(CleanTGF, CopiesTheIDModulo32IntoTheNoteFlags) {
    Frame frame(1);
    SetNotes(frame[0], {33, 2});
    frame[0].notes[0].flags = 0xC01F0001;  // old ID bits are replaced, the rest kept
    CleanTGF(&frame.header, true);
    EXPECT_EQ(Value(frame[0].notes[0].flags), 0xC0010001u);
    EXPECT_EQ(Value(frame[0].notes[1].flags), 0x00020000u);
}

TEST(CleanTGF, ClearsUnusedNoteRecords) {
    Frame frame(1);
    SetNotes(frame[0], {1});
    frame[0].notes[1] = NOTERECORD{5, 1, 7, 0xFFFFFFFF};
    frame[0].notes[11] = NOTERECORD{5, 1, 7, 0xFFFFFFFF};
    CleanTGF(&frame.header, true);
    EXPECT_EQ(Value(frame[0].notes[1].noteID), 0);
    EXPECT_EQ(Value(frame[0].notes[1].flags), 0u);
    EXPECT_EQ(Value(frame[0].notes[11].displacement), 0);
}

TEST(CleanTGF, GivesARestItsNoteRecord) {
    Frame frame(1);
    frame[0].flags = 0x00000800;
    frame[0].notes[0] = NOTERECORD{3, 3, 3, 3};
    CleanTGF(&frame.header, true);
    EXPECT_EQ(Value(frame[0].noteCount), 1);
    EXPECT_EQ(Value(frame[0].flags), 0x01000800u);
    EXPECT_EQ(Value(frame[0].notes[0].displacement), 0);
    EXPECT_EQ(Value(frame[0].notes[0].raiseLower), 0);
    EXPECT_EQ(Value(frame[0].notes[0].noteID), 1);
    EXPECT_EQ(Value(frame[0].notes[0].flags), NOTE_FLAG_CREATED | 0x00010000u);
    const EXENTRY cleaned = frame[0];
    CleanTGF(&frame.header, true);
    EXPECT_EQ(std::memcmp(&frame[0], &cleaned, sizeof cleaned), 0) << "cleaned again, unchanged";
}

TEST(CleanTGF, TwelveNotesLeaveNothingToClear) {
    Frame frame(1);
    SetNotes(frame[0], {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    frame[0].notes[11].displacement = 9;
    CleanTGF(&frame.header, true);
    EXPECT_EQ(Value(frame[0].notes[11].displacement), 9);
    EXPECT_EQ(Value(frame[0].noteCount), 12);
}

TEST(CleanTGF, HostCountsOutOfRangeStayInsideTheRecords) {
    // Each frame sits in a block only as large as its records claim; asan catches overruns.
    Frame frame(2);
    SetNotes(frame[0], {1, 1});
    frame[0].noteCount = 40;
    frame[1].noteCount = -3;
    frame[1].notes[0].noteID = 9;
    CleanTGF(&frame.header, true);
    EXPECT_EQ(Value(frame[0].noteCount), 40);  // the cleaning does not rewrite a count it reads
    EXPECT_EQ(Value(frame[1].noteCount), 1);   // a negative count is no notes: a rest record
    EXPECT_EQ(Value(frame[1].notes[0].noteID), 1);

    frame.header.entryCount = -1;
    CleanTGF(&frame.header, true);
    frame.header.entries = nullptr;
    frame.header.entryCount = 5;
    CleanTGF(&frame.header, true);
    CleanTGF(nullptr, true);
}
