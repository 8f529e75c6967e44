#include "FCCollection.h"

#include <cstddef>
#include <limits>
#include <new>
#include <utility>

#include "FCIteratorHandler.h"

void __FCCollection::_RequireElement(int extra) {
    if (extra <= 0) return;
    // A count that cannot be represented is an allocation that cannot succeed.
    if (extra > std::numeric_limits<int32_t>::max() - 10 - _count) throw std::bad_alloc();
    const int32_t needed = _count + extra;
    if (_capacity >= needed) return;
    const int32_t capacity = (needed + 10) / 10 * 10;
    __FCBase** items = nullptr;
    if (capacity <= INLINE_SLOTS && _inlineSlots && !_items) {
        items = _inlineSlots;
        for (int32_t i = 0; i < capacity; ++i) items[i] = nullptr;
    } else {
        items = new __FCBase*[static_cast<size_t>(capacity)]();
    }
    for (int32_t i = 0; i < _count; ++i) items[i] = _items[i];
    _ReleaseSlots();
    _items = items;
    _capacity = capacity;
}

void __FCCollection::_ReleaseSlots() {
    if (_items != _inlineSlots) delete[] _items;
    _items = nullptr;
}

int __FCCollection::Add(__FCBase* element) {
    _RequireElement(1);
    _items[_count] = element;
    return ++_count;
}

int __FCCollection::InsertItemAt(__FCBase* element, int index) {
    if (index >= _count) return Add(element);
    if (index < 0) index = 0;
    _RequireElement(1);
    for (int32_t i = _count; i > index; --i) _items[i] = _items[i - 1];
    _items[index] = element;
    return ++_count;
}

__FCBase* __FCCollection::GetItemAt(int index) const {
    if (index < 0 || index >= _count) return nullptr;
    return _items[index];
}

bool __FCCollection::DeleteItemAt(int index) {
    if (index < 0 || index >= _count) return false;
    for (int32_t i = index; i < _count - 1; ++i) _items[i] = _items[i + 1];
    _items[--_count] = nullptr;
    return true;
}

int __FCCollection::GetIndexOf(__FCBase* element) const {
    for (int32_t i = 0; i < _count; ++i)
        if (_items[i] == element) return i;
    return -1;
}

bool __FCCollection::ElementExists(__FCBase* element) const {
    return GetIndexOf(element) >= 0;
}

__FCBase* __FCCollection::FindUserData(void* data) const {
    const int32_t count = _count;
    for (int32_t i = 0; i < count; ++i)
        if (_items[i] && _items[i]->GetUserData() == data) return _items[i];
    return nullptr;
}

void __FCCollection::_FreeElements() {
    for (int32_t i = 0; i < _count; ++i) {
        delete _items[i];
        _items[i] = nullptr;
    }
}

int __FCCollection::ToEndFrom(int start, FCIteratorHandler* handler) {
    int n = 0;
    for (int i = start < 0 ? 0 : start; i < _count; ++i) {
        __FCBase* element = GetItemAt(i);
        if (!element) continue;
        if (!handler->Iterate(element)) break;
        ++n;
    }
    return n;
}

int __FCCollection::ForEach(FCIteratorHandler* handler) {
    return ToEndFrom(0, handler);
}

int __FCCollection::ForEachIndex(FCIteratorHandler* handler) {
    int n = 0;
    for (int i = 0; i < _count; ++i) {
        __FCBase* element = GetItemAt(i);
        if (!element) continue;
        if (!handler->IterateIndex(element, i)) break;
        ++n;
    }
    return n;
}

__FCBase* __FCCollection::FindFirst(FCIteratorHandler* handler) {
    for (int i = 0; i < _count; ++i) {
        __FCBase* element = GetItemAt(i);
        if (element && handler->Match(element)) return element;
    }
    return nullptr;
}

void __FCCollection::Sort(FCIteratorHandler* handler) {
    for (int i = 0; i < _count - 1; ++i) {
        for (int j = i + 1; j < _count; ++j) {
            __FCBase* a = GetItemAt(i);
            __FCBase* b = GetItemAt(j);
            if (a && b && handler->Compare(a, b) > 0) std::swap(_items[i], _items[j]);
        }
    }
}

__FCCollection::~__FCCollection() {
    _FreeElements();
    _ReleaseSlots();
    _count = 0;
}
