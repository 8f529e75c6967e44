// The substitute host's record store: keys by family, host-chosen numbers, gap closing, steps.
#include <gtest/gtest.h>

#include "RecordStore.h"

using plovikhost::DecodeKey;
using plovikhost::EncodeKey;
using plovikhost::RecordId;
using plovikhost::RecordStore;

namespace {
constexpr uint32_t kOther = 0x534F4459;        // (item, incidence)
constexpr uint32_t kGlobal = 0x67626366;       // item from 0
constexpr uint32_t kCellDetail = 0x64744D45;   // (staff, measure, incidence)
constexpr uint32_t kEntryDetail = 0x6564494D;  // (entry, incidence)
}  // namespace

TEST(RecordStore, KeysAreReadByFamily) {
    const uint8_t key[8] = {0xFE, 0xFF, 0x02, 0x00, 0x05, 0x00, 0x99, 0x99};
    RecordId other = DecodeKey(kOther, key);
    EXPECT_EQ(other.a, 0xFFFE);
    EXPECT_EQ(other.b, 2);
    RecordId global = DecodeKey(kGlobal, key);
    EXPECT_EQ(global.a, -2);
    RecordId cell = DecodeKey(kCellDetail, key);
    EXPECT_EQ(cell.a, 0xFFFE);
    EXPECT_EQ(cell.b, 2);
    EXPECT_EQ(cell.c, 5);
    RecordId entry = DecodeKey(kEntryDetail, key);
    EXPECT_EQ(entry.a, 0x0002FFFE);
    EXPECT_EQ(entry.b, 5);

    uint8_t out[8] = {0, 0, 0, 0, 0, 0, 0x77, 0x77};
    EncodeKey(cell, out);
    EXPECT_EQ(out[4], 5);
    EXPECT_EQ(out[6], 0x77);  // bytes the family does not use stay
}

TEST(RecordStore, CreateChoosesNumbersGivenAsMinusOne) {
    RecordStore store;
    RecordId a{kOther, 0xFFFF, -1, 0};
    ASSERT_TRUE(store.Create(a, {1}));
    EXPECT_EQ(a.a, 1);
    EXPECT_EQ(a.b, 0);
    RecordId b{kOther, 0xFFFF, -1, 0};
    store.Create(b, {2});
    EXPECT_EQ(b.a, 2);
    RecordId inci{kOther, 2, -1, 0};
    store.Create(inci, {3});
    EXPECT_EQ(inci.b, 1);

    RecordId g{kGlobal, -1, 0, 0};
    store.Create(g, {});
    EXPECT_EQ(g.a, 0);
    RecordId second{kCellDetail, 4, 0xFFFF, 0};
    store.Create(second, {});
    EXPECT_EQ(second.b, 1);
    RecordId detail{kEntryDetail, 70, -1, 0};
    store.Create(detail, {});
    store.Create(detail = RecordId{kEntryDetail, 70, -1, 0}, {});
    EXPECT_EQ(detail.b, 1);

    RecordId taken{kOther, 2, 0, 0};
    EXPECT_FALSE(store.Create(taken, {9}));
}

TEST(RecordStore, DeletingAnIncidenceClosesTheGap) {
    RecordStore store;
    for (int i = 0; i < 4; ++i) store.Put(RecordId{kEntryDetail, 9, i, 0}, {uint8_t(i)});
    store.Put(RecordId{kEntryDetail, 10, 0, 0}, {50});
    ASSERT_TRUE(store.Erase(RecordId{kEntryDetail, 9, 1, 0}));
    EXPECT_EQ((*store.Find(RecordId{kEntryDetail, 9, 1, 0}))[0], 2);
    EXPECT_EQ((*store.Find(RecordId{kEntryDetail, 9, 2, 0}))[0], 3);
    EXPECT_EQ(store.Find(RecordId{kEntryDetail, 9, 3, 0}), nullptr);
    EXPECT_EQ((*store.Find(RecordId{kEntryDetail, 10, 0, 0}))[0], 50);
    EXPECT_FALSE(store.Erase(RecordId{kEntryDetail, 9, 7, 0}));
}

TEST(RecordStore, StepsFollowKeyOrderWithinATag) {
    RecordStore store;
    store.Put(RecordId{kOther, 3, 0, 0}, {});
    store.Put(RecordId{kOther, 1, 0, 0}, {});
    store.Put(RecordId{kOther, 1, 1, 0}, {});
    store.Put(RecordId{kOther + 1, 0, 0, 0}, {});
    const RecordId* next = store.Next(RecordId{kOther, 0, 0, 0});
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->a, 1);
    next = store.Next(*next);
    EXPECT_EQ(next->b, 1);
    next = store.Next(*next);
    EXPECT_EQ(next->a, 3);
    EXPECT_EQ(store.Next(*next), nullptr);  // never into the next tag
    EXPECT_EQ(store.Previous(RecordId{kOther, 1, 0, 0}), nullptr);
    EXPECT_EQ(store.Previous(RecordId{kOther, 3, 0, 0})->b, 1);
}
