// The block pool under entries and notes.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

#include "FCBlockPool.h"
#include "FCNote.h"
#include "FCNotePitch.h"

// Slots are distinct and aligned, a block holds its share, a given-back slot is taken again,
// and the last one given back returns every block.
TEST(FCBlockPoolTest, SlotsComeFromBlocksThatGoBackWhenAllAreGiven) {
    __FCBlockPool pool(10);
    EXPECT_EQ(pool.GetSlotSize() % alignof(std::max_align_t), 0u);
    EXPECT_GE(pool.GetSlotSize(), 10u);
    std::vector<void*> slots;
    std::set<void*> distinct;
    for (int i = 0; i < __FCBlockPool::SLOTS_PER_BLOCK + 1; ++i) {
        slots.push_back(pool.Take());
        distinct.insert(slots.back());
        EXPECT_EQ(reinterpret_cast<uintptr_t>(slots.back()) % alignof(std::max_align_t), 0u);
        std::memset(slots.back(), 0xA5, 10);  // the whole slot is the caller's
    }
    EXPECT_EQ(distinct.size(), slots.size());
    EXPECT_EQ(pool.GetBlockCount(), 2);
    EXPECT_EQ(pool.GetInUse(), __FCBlockPool::SLOTS_PER_BLOCK + 1);
    void* given = slots[5];
    pool.Give(given);
    pool.Give(nullptr);
    EXPECT_EQ(pool.Take(), given);
    EXPECT_EQ(pool.GetBlockCount(), 2);
    for (void* slot : slots) pool.Give(slot);
    EXPECT_EQ(pool.GetInUse(), 0);
    EXPECT_EQ(pool.GetBlockCount(), 0);
    void* again = pool.Take();
    EXPECT_EQ(pool.GetBlockCount(), 1);
    pool.Give(again);

    // A class derived from a pooled one, of another size, is made on the heap as before.
    FCNote* note = new FCNotePitch(NOTERECORD{});
    EXPECT_STREQ(note->ClassName(), "FCNotePitch");
    delete note;
}
