// The owning collection and the iterator handler's walks.
#include <gtest/gtest.h>

#include <cstdint>
#include <new>
#include <vector>

#include "FCCollection.h"
#include "FCIteratorHandler.h"

namespace {

int alive = 0;

struct Item : __FCBase {
    explicit Item(int v) : value(v) { ++alive; }
    ~Item() override { --alive; }
    int value;
};

int ValueAt(__FCCollection& c, int i) {
    return static_cast<Item*>(c.GetItemAt(i))->value;
}

std::vector<int> Values(__FCCollection& c) {
    std::vector<int> v;
    for (int i = 0; i < c.GetCount(); ++i) v.push_back(c.GetItemAt(i) ? ValueAt(c, i) : -1);
    return v;
}

struct StopAtThird : FCIteratorHandler {
    int calls = 0;
    bool Iterate(__FCBase*) override { return ++calls < 3; }
};

struct ByValue : FCIteratorHandler {
    int Compare(__FCBase* a, __FCBase* b) override {
        return static_cast<Item*>(a)->value - static_cast<Item*>(b)->value;
    }
};

class FCCollectionTest : public ::testing::Test {
  protected:
    void TearDown() override { EXPECT_EQ(alive, 0); }
};

}  // namespace

TEST_F(FCCollectionTest, GrowsInStepsOfTen) {
    __FCCollection c;
    EXPECT_EQ(c.GetCapacity(), 0);
    c.Add(new Item(0));
    EXPECT_EQ(c.GetCapacity(), 10);
    for (int i = 1; i < 10; ++i) c.Add(new Item(i));
    EXPECT_EQ(c.GetCapacity(), 10);
    c.Add(new Item(10));
    EXPECT_EQ(c.GetCapacity(), 20);
    for (int i = 11; i < 21; ++i) c.Add(new Item(i));
    EXPECT_EQ(c.GetCapacity(), 30);
    EXPECT_EQ(c.GetCount(), 21);
    c._RequireElement(0);
    c._RequireElement(-4);
    EXPECT_EQ(c.GetCapacity(), 30);
    for (int i = 0; i < 21; ++i) ASSERT_EQ(ValueAt(c, i), i);

    // Room made at once for what is coming: the same rule, and no step on the way.
    __FCCollection once;
    once._RequireElement(25);
    EXPECT_EQ(once.GetCapacity(), 30);
    EXPECT_EQ(once.GetCount(), 0);
    for (int i = 0; i < 29; ++i) once.Add(new Item(i));
    once._RequireElement(1);
    EXPECT_EQ(once.GetCapacity(), 30);
    once._RequireElement(2);
    EXPECT_EQ(once.GetCapacity(), 40);
    for (int i = 0; i < 29; ++i) ASSERT_EQ(ValueAt(once, i), i);
    EXPECT_THROW(once._RequireElement(INT32_MAX), std::bad_alloc);
    EXPECT_EQ(once.GetCapacity(), 40);
}

TEST_F(FCCollectionTest, InsertDeleteAndFind) {
    __FCCollection c;
    Item* a = new Item(1);
    c.Add(a);
    c.InsertItemAt(new Item(2), c.GetCount());
    c.InsertItemAt(new Item(3), c.GetCount() + 5);
    c.InsertItemAt(new Item(0), 0);
    c.InsertItemAt(new Item(9), -3);
    EXPECT_EQ(Values(c), (std::vector<int>{9, 0, 1, 2, 3}));
    EXPECT_EQ(c.GetIndexOf(a), 2);
    EXPECT_TRUE(c.ElementExists(a));
    EXPECT_EQ(c.GetItemAt(-1), nullptr);
    EXPECT_EQ(c.GetItemAt(5), nullptr);

    EXPECT_FALSE(c.DeleteItemAt(5));
    EXPECT_FALSE(c.DeleteItemAt(-1));
    ASSERT_TRUE(c.DeleteItemAt(2));
    EXPECT_EQ(alive, 5);  // removed, not destroyed: the caller owns it now
    EXPECT_EQ(c.GetIndexOf(a), -1);
    EXPECT_FALSE(c.ElementExists(a));
    delete a;
    EXPECT_EQ(Values(c), (std::vector<int>{9, 0, 2, 3}));
}

TEST_F(FCCollectionTest, DeletingTheOnlyElementLeavesItAlive) {
    __FCCollection c;
    Item* a = new Item(1);
    c.Add(a);
    EXPECT_TRUE(c.DeleteItemAt(0));
    EXPECT_EQ(c.GetCount(), 0);
    EXPECT_EQ(a->value, 1);
    delete a;
}

TEST_F(FCCollectionTest, WalksSkipNullSlotsAndStopOnFalse) {
    __FCCollection c;
    for (int i = 0; i < 5; ++i) c.Add(new Item(i));
    StopAtThird stop;
    EXPECT_EQ(c.ForEach(&stop), 2);
    EXPECT_EQ(stop.calls, 3);

    __FCCollection holes;
    holes.Add(new Item(1));
    holes.Add(nullptr);
    holes.Add(new Item(2));
    FCIteratorHandler always;
    EXPECT_EQ(holes.ForEach(&always), 2);
    EXPECT_EQ(holes.ForEachIndex(&always), 2);
    EXPECT_EQ(holes.ToEndFrom(1, &always), 1);
    EXPECT_EQ(holes.FindFirst(&always), nullptr);  // the default Match is false
}

TEST_F(FCCollectionTest, ForEachVisitsElementsAddedDuringTheWalk) {
    __FCCollection c;
    c.Add(new Item(1));
    struct Grow : FCIteratorHandler {
        __FCCollection* c;
        std::vector<int> seen;
        bool Iterate(__FCBase* item) override {
            int v = static_cast<Item*>(item)->value;
            seen.push_back(v);
            if (v < 3) c->Add(new Item(v + 1));
            return true;
        }
    } grow;
    grow.c = &c;
    EXPECT_EQ(c.ForEach(&grow), 3);
    EXPECT_EQ(grow.seen, (std::vector<int>{1, 2, 3}));
}

TEST_F(FCCollectionTest, ForEachIndexPassesTheSlot) {
    __FCCollection c;
    c.Add(nullptr);
    c.Add(new Item(5));
    struct Indices : FCIteratorHandler {
        std::vector<int> seen;
        bool IterateIndex(__FCBase*, int index) override {
            seen.push_back(index);
            return true;
        }
    } indices;
    c.ForEachIndex(&indices);
    EXPECT_EQ(indices.seen, (std::vector<int>{1}));
}

TEST_F(FCCollectionTest, SortOrdersByCompareAndLeavesNullsInPlace) {
    __FCCollection c;
    for (int v : {3, 1, 2}) c.Add(new Item(v));
    ByValue byValue;
    c.Sort(&byValue);
    EXPECT_EQ(Values(c), (std::vector<int>{1, 2, 3}));

    __FCCollection same;
    for (int v : {3, 1, 2}) same.Add(new Item(v));
    FCIteratorHandler none;
    same.Sort(&none);
    EXPECT_EQ(Values(same), (std::vector<int>{3, 1, 2}));

    __FCCollection holes;
    for (int v : {5, 4}) holes.Add(new Item(v));
    holes.InsertItemAt(nullptr, 1);
    holes.Add(new Item(1));
    holes.Sort(&byValue);
    EXPECT_EQ(Values(holes), (std::vector<int>{1, -1, 4, 5}));
}

TEST_F(FCCollectionTest, FindFirstAndFindUserData) {
    __FCCollection c;
    for (int v : {4, 7, 9}) c.Add(new Item(v));
    struct Odd : FCIteratorHandler {
        bool Match(__FCBase* item) override { return static_cast<Item*>(item)->value % 2; }
    } odd;
    EXPECT_EQ(static_cast<Item*>(c.FindFirst(&odd))->value, 7);
    int tag = 0;
    c.GetItemAt(2)->SetUserData(&tag);
    EXPECT_EQ(c.FindUserData(&tag), c.GetItemAt(2));
    EXPECT_EQ(c.FindUserData(&c), nullptr);
}

TEST_F(FCCollectionTest, FreeElementsKeepsTheCountAndTheArray) {
    __FCCollection c;
    for (int v : {1, 2}) c.Add(new Item(v));
    c._FreeElements();
    EXPECT_EQ(alive, 0);
    EXPECT_EQ(c.GetCount(), 2);
    EXPECT_EQ(c.GetItemAt(0), nullptr);
    EXPECT_EQ(c.GetCapacity(), 10);
}
