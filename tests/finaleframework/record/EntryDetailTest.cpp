// Entry detail families: records of one note entry stepped by incidence, records of one note
// found by the note ID inside them, and the collection of an entry's records.
#include "FCCollectionEntryDetail.h"
#include "FCEntryDetail.h"
#include "FCEntryDetailNoteID.h"
#include "FCNote.h"
#include "FCNoteEntry.h"
#include "FamilyRecords.h"
#include "HostTest.h"
#include "finalepdk.h"

using plovikhost::RecordId;

namespace {

constexpr uint32_t kTagEntryDetail = 0x6564494D;  // the host keeps it as an entry detail

struct DetailRecord : FourByteRecord<__FCEntryDetail> {
    DetailRecord() { tag = kTagEntryDetail; }
    __FCBaseData* CreateObject() override { return new DetailRecord; }
};

// A record kind of one note: the note ID in its first word, a value in its second.
struct NoteRecord : FourByteRecord<__FCEntryDetailNoteID> {
    NoteRecord() { tag = kTagEntryDetail; }
    __FCBaseData* CreateObject() override { return new NoteRecord; }
    void _SetNoteID(int16_t id) override { FXWrite<int16_t>(record, 0, id); }
    bool _MatchesNoteID(void* bytes, int16_t id) override {
        return FXRead<int16_t>(bytes, 0) == id;
    }
    void _SetNoteFlag(FCNote* note, bool state) override { note->_SetNoteDetailEntryFlag(state); }
};

struct Details : __FCCollectionEntryDetail {
    __FCBaseData* CreateElement() override { return new DetailRecord; }
    int16_t IncidenceAt(int i) { return static_cast<DetailRecord*>(GetItemAt(i))->GetIncidence(); }
};

class EntryDetailTest : public HostTest {
  protected:
    EntryDetailTest() {
        record.entryNumber = 70;
        record.flags = ENTRY_FLAG_NOTE;
        record.noteCount = 2;
        record.notes[0].noteID = 1;
        record.notes[1].noteID = 2;
        frame.entries = &record;
        frame.entryCount = 1;
        frame.slot = 1;
    }
    void SetUp() override {
        HostTest::SetUp();
        doc().CellAt(1, 1, 0).entries.push_back(record);  // the host has records of it only
        entry = new FCNoteEntry(&record, &frame);
    }
    void TearDown() override {
        delete entry;
        HostTest::TearDown();
    }
    void Put(int32_t entryNumber, int16_t incidence, int16_t noteID, uint8_t value) {
        std::vector<uint8_t> bytes(4, 0);
        FXWrite<int16_t>(bytes.data(), 0, noteID);
        bytes[2] = value;
        doc().records.Put(RecordId{kTagEntryDetail, entryNumber, incidence, 0}, bytes);
    }
    std::vector<int> StoredValues(int32_t entryNumber) {
        std::vector<int> values;
        for (const RecordId& id : doc().records.All(kTagEntryDetail))
            if (id.a == entryNumber) values.push_back((*doc().records.Find(id))[2]);
        return values;
    }
    uint32_t EntryFlags() { return FXRead<uint32_t>(&record, offsetof(EXENTRY, flags)); }

    EXENTRY record{};
    EXTGF2005a frame{};
    FCNoteEntry* entry = nullptr;
};

}  // namespace

TEST_F(EntryDetailTest, FirstRecordNeedsAnOwningEntry) {
    Put(70, 0, 1, 5);
    DetailRecord r;
    EXPECT_FALSE(r.LoadFirst());
    EXPECT_EQ(host().Count("FX_LoadEData"), 0);
    r.SetOwningEntry(entry);
    ASSERT_TRUE(r.LoadFirst());
    EXPECT_EQ(r.GetEntryNumber(), 70);
    EXPECT_EQ(r.record[2], 5);
    EXPECT_STREQ(r.ClassName(), "__FCBaseData");
}

TEST_F(EntryDetailTest, WalkOverThreeRecordsEndsOnTheLast) {
    for (int i = 0; i < 3; ++i) Put(70, static_cast<int16_t>(i), 1, static_cast<uint8_t>(i));
    DetailRecord r;
    r.SetOwningEntry(entry);
    int found = 0;
    if (r.LoadFirst()) {
        do ++found;
        while (r.LoadNext());
    }
    EXPECT_EQ(found, 3);
    EXPECT_EQ(host().Count("FX_LoadEData"), 4);
    EXPECT_EQ(r.GetIncidence(), 2);
    EXPECT_EQ(r.record[2], 2);
}

TEST_F(EntryDetailTest, SaveNewAppendsAndFlagsTheEntry) {
    Put(70, 0, 1, 5);
    DetailRecord r;
    EXPECT_FALSE(r.SaveNew());  // no owning entry
    r.SetOwningEntry(entry);
    ASSERT_TRUE(r.LoadFirst());
    r.record[2] = 6;
    ASSERT_TRUE(r.SaveNew());
    EXPECT_EQ(r.GetIncidence(), 1);
    EXPECT_EQ(StoredValues(70), (std::vector<int>{5, 6}));
    EXPECT_EQ(EntryFlags() & 0x00400000, 0x00400000u);
    EXPECT_EQ(host().LastCall("FX_CreateEData")->args[4], FRAMEWORK_ENIGMA_VERSION);
}

TEST_F(EntryDetailTest, SaveNewOfARecordSetUpWithoutALoadSavesItWhole) {
    DetailRecord r;
    r.SetOwningEntry(entry);  // the key names no entry: the owning entry's number is taken
    r.record[2] = 9;
    ASSERT_TRUE(r.SaveNew());
    EXPECT_EQ(r.GetEntryNumber(), 70);
    ASSERT_NE(doc().records.Find(RecordId{kTagEntryDetail, 70, 0, 0}), nullptr);
    EXPECT_EQ(doc().records.Find(RecordId{kTagEntryDetail, 70, 0, 0})->size(), 4u);
    EXPECT_EQ(StoredValues(70), (std::vector<int>{9}));
    EXPECT_EQ(EntryFlags() & 0x00400000, 0x00400000u);

    record.entryNumber = 0;  // an entry the host has not numbered yet
    record.flags = ENTRY_FLAG_NOTE;
    DetailRecord unnumbered;
    unnumbered.SetOwningEntry(entry);
    host().ClearCalls();
    EXPECT_FALSE(unnumbered.SaveNew());
    EXPECT_EQ(host().Count("FX_CreateEData"), 0);
    EXPECT_EQ(EntryFlags() & 0x00400000, 0u);
}

TEST_F(EntryDetailTest, AFailedSaveLeavesNothingToSave) {
    DetailRecord r;
    r.SetOwningEntry(entry);
    FXWrite<int32_t>(r.GetRecordKey(), 0, 71);  // an entry the document does not have
    EXPECT_FALSE(r.SaveNew());
    EXPECT_EQ(r.GetDataSize(), 0);
    EXPECT_FALSE(r.Save());
    EXPECT_EQ(host().Count("FX_SaveEData"), 0) << "a record never loaded nor stored";

    record.entryNumber = 71;
    entry->_UpdateNoteCollection();
    NoteRecord n;
    EXPECT_FALSE(n.SaveAt(entry->GetItemAt(0)));
    EXPECT_EQ(n.GetDataSize(), 0);
    EXPECT_FALSE(n.Save());
    EXPECT_EQ(host().Count("FX_SaveEData"), 0);
    EXPECT_EQ(EntryFlags() & 0x00400000, 0u);
}

TEST_F(EntryDetailTest, HasAnyModAsksWithoutChangingTheObject) {
    DetailRecord r;
    FCNote* note = entry->GetItemAt(0);
    EXPECT_FALSE(r._HasAnyMod(note));
    Put(70, 0, 1, 5);
    EXPECT_TRUE(r._HasAnyMod(note));
    EXPECT_EQ(r.GetDataSize(), 0);
    EXPECT_FALSE(r._HasAnyMod(nullptr));
}

TEST_F(EntryDetailTest, SaveAtFindsTheNotesRecordOrMakesOne) {
    Put(70, 0, 1, 10);
    Put(70, 1, 2, 20);
    NoteRecord r;
    r.record[2] = 21;
    ASSERT_TRUE(r.SaveAt(entry->GetItemAt(1)));  // note ID 2: the record at incidence 1
    EXPECT_EQ(StoredValues(70), (std::vector<int>{10, 21}));
    EXPECT_EQ(r.GetIncidence(), 1);

    record.notes[1].noteID = 3;  // a note without a record of its own
    entry->_UpdateNoteCollection();
    r.record[2] = 30;
    ASSERT_TRUE(r.SaveAt(entry->GetItemAt(1)));
    EXPECT_EQ(StoredValues(70), (std::vector<int>{10, 21, 30}));
    EXPECT_EQ(r.GetIncidence(), 2);
    EXPECT_EQ(FXRead<int16_t>(doc().records.Find(RecordId{kTagEntryDetail, 70, 2, 0})->data(), 0),
              3);
    EXPECT_EQ(EntryFlags() & 0x00400000, 0x00400000u);
}

TEST_F(EntryDetailTest, EraseAtClearsTheFlagWithTheLastRecord) {
    Put(70, 0, 1, 10);
    Put(70, 1, 2, 20);
    record.flags |= 0x00400000;
    NoteRecord r;
    EXPECT_TRUE(r.EraseAt(entry->GetItemAt(0)));
    EXPECT_EQ(StoredValues(70), (std::vector<int>{20}));
    EXPECT_EQ(EntryFlags() & 0x00400000, 0x00400000u);  // another record is left
    EXPECT_EQ(r.GetIncidence(), -1);
    EXPECT_FALSE(r.EraseAt(entry->GetItemAt(0)));  // no record any more
    EXPECT_TRUE(r.EraseAt(entry->GetItemAt(1)));
    EXPECT_EQ(EntryFlags() & 0x00400000, 0u);
}

TEST_F(EntryDetailTest, CollectionLoadsAnEntrysRecords) {
    for (int i = 0; i < 3; ++i) Put(70, static_cast<int16_t>(i), 1, static_cast<uint8_t>(i));
    Put(71, 0, 1, 99);
    Details details;
    details.LoadAll();  // no owning entry: nothing happens
    EXPECT_EQ(details.GetCount(), 0);
    details.SetOwningEntry(entry);
    details.LoadAll();
    ASSERT_EQ(details.GetCount(), 3);
    EXPECT_EQ(static_cast<DetailRecord*>(details.GetItemAt(0))->GetOwningEntry(), nullptr);

    record.entryNumber = 0;  // an unnumbered entry leaves the old contents
    details.LoadAll();
    EXPECT_EQ(details.GetCount(), 3);
}

TEST_F(EntryDetailTest, DestroyItemAtKeepsTheOtherKeysRight) {
    for (int i = 0; i < 3; ++i) Put(70, static_cast<int16_t>(i), 1, static_cast<uint8_t>(i));
    Details details;
    details.SetOwningEntry(entry);
    details.LoadAll();
    __FCBase* removed = details.GetItemAt(1);
    EXPECT_TRUE(details.DestroyItemAt(1));
    delete removed;  // the caller owns it
    ASSERT_EQ(details.GetCount(), 2);
    EXPECT_EQ(details.IncidenceAt(0), 0);
    EXPECT_EQ(details.IncidenceAt(1), 1);
    EXPECT_EQ(StoredValues(70), (std::vector<int>{0, 2}));
    auto* last = static_cast<DetailRecord*>(details.GetItemAt(1));
    last->record[2] = 7;
    EXPECT_TRUE(last->Save());  // its key still names its record
    EXPECT_EQ(StoredValues(70), (std::vector<int>{0, 7}));
    EXPECT_FALSE(details.DestroyItemAt(5));
}
