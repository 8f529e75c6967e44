#include "FCBlockPool.h"

#include <cstring>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define PLOVIK_POOL_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PLOVIK_POOL_ASAN 1
#endif
#endif

#if defined(PLOVIK_POOL_ASAN)
#include <sanitizer/asan_interface.h>
#define POOL_POISON(p, n) ASAN_POISON_MEMORY_REGION((p), (n))
#define POOL_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION((p), (n))
#else
#define POOL_POISON(p, n) ((void)(p), (void)(n))
#define POOL_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

namespace {
// Links are copied in and out byte-wise: the slot holds no object while it is free.
void* LinkIn(const void* slot) {
    void* next;
    std::memcpy(&next, slot, sizeof next);
    return next;
}
void SetLink(void* slot, void* next) {
    std::memcpy(slot, &next, sizeof next);
}
}  // namespace

void* __FCBlockPool::Take() {
    if (!_free) _AddBlock();
    void* slot = _free;
    POOL_UNPOISON(slot, _slotSize);
    _free = LinkIn(slot);
    ++_inUse;
    return slot;
}

void __FCBlockPool::Give(void* slot) {
    if (!slot) return;
    SetLink(slot, _free);
    POOL_POISON(slot, _slotSize);
    _free = slot;
    if (--_inUse == 0) _ReleaseBlocks();
}

void __FCBlockPool::_AddBlock() {
    unsigned char* block = static_cast<unsigned char*>(
        ::operator new(kHeader + _slotSize * static_cast<size_t>(SLOTS_PER_BLOCK)));
    SetLink(block, _blocks);
    _blocks = block;
    ++_blockCount;
    // Pushed from the last slot down, so that the first is taken first.
    for (int32_t i = SLOTS_PER_BLOCK - 1; i >= 0; --i) {
        void* slot = block + kHeader + _slotSize * static_cast<size_t>(i);
        SetLink(slot, _free);
        POOL_POISON(slot, _slotSize);
        _free = slot;
    }
}

void __FCBlockPool::_ReleaseBlocks() {
    while (_blocks) {
        void* block = _blocks;
        POOL_UNPOISON(block, kHeader + _slotSize * static_cast<size_t>(SLOTS_PER_BLOCK));
        _blocks = LinkIn(block);
        ::operator delete(block);
    }
    _free = nullptr;
    _blockCount = 0;
}
