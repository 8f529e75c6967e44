#pragma once

#include <cstdint>

#include "FCIteratorBase.h"

// The owning array of object pointers under every in-memory collection.
// Elements added belong to the collection and are destroyed with it; a slot may hold null, and
// every walk skips it. A derived class may lend the collection slots of its own object for its
// first ten elements (see _UseInlineSlots); the capacity reads the same either way.
class __FCCollection : public __FCIteratorBase {
  public:
    __FCCollection() = default;

    const char* ClassName() override { return "__FCCollection"; }
    int ForEach(FCIteratorHandler* handler) override;
    __FCBase* FindFirst(FCIteratorHandler* handler) override;
    ~__FCCollection() override;
    virtual int ForEachIndex(FCIteratorHandler* handler);

    // Makes room for that many more elements, growing in steps of ten: the capacity becomes the
    // next multiple of ten above the count needed. Whoever knows how many elements are coming
    // makes room once, so that the slots are not copied again and again.
    void _RequireElement(int extra);
    int Add(__FCBase* element);
    // An index at or beyond the count appends; a negative index inserts at the front.
    int InsertItemAt(__FCBase* element, int index);
    __FCBase* GetItemAt(int index) const;
    // Removes the pointer only: the caller now owns the element.
    bool DeleteItemAt(int index);
    int GetIndexOf(__FCBase* element) const;
    bool ElementExists(__FCBase* element) const;
    __FCBase* FindUserData(void* data) const;
    // Destroys every element and nulls its slot; the count stays.
    void _FreeElements();
    int ToEndFrom(int start, FCIteratorHandler* handler);
    // Exchange sort by the handler's Compare; not stable, null slots stay where they are.
    void Sort(FCIteratorHandler* handler);

    int GetCount() const { return _count; }
    int GetCapacity() const { return _capacity; }

  protected:
    static constexpr int32_t INLINE_SLOTS = 10;  // the first step of growth

    // Slots inside the derived object for the first step of growth, used instead of the heap
    // while the capacity is ten; never freed by the collection. Called by the derived class's
    // constructor, before anything is added; its destructor must destroy the elements
    // (_FreeElements, count 0) while the slots still stand.
    void _UseInlineSlots(__FCBase* (&slots)[INLINE_SLOTS]) { _inlineSlots = slots; }

    int32_t _count = 0;
    int32_t _capacity = 0;
    __FCBase** _items = nullptr;

  private:
    void _ReleaseSlots();

    __FCBase** _inlineSlots = nullptr;  // the derived object's, when it lent them
};
