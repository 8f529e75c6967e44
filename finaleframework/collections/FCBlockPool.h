#pragma once

#include <cstddef>
#include <cstdint>

// Slots of one size for objects made and destroyed by the thousand, carved from blocks.
// The entries and notes of a layer are made together and go together: taking their slots from
// blocks of a hundred and more saves an allocation each, and keeps them out of the way of the
// host's own allocations. A free slot holds the link to the next one; in AddressSanitizer builds
// it is poisoned, so that a use after free is still caught. When the last slot in use is given
// back, every block goes back to the heap. Used on the host's thread only; it needs no
// destructor, so that it may outlive every object it holds.
class __FCBlockPool {
  public:
    static constexpr int32_t SLOTS_PER_BLOCK = 128;

    explicit constexpr __FCBlockPool(size_t slotSize)
        : _slotSize((slotSize + kAlign - 1) / kAlign * kAlign) {}
    __FCBlockPool(const __FCBlockPool&) = delete;
    __FCBlockPool& operator=(const __FCBlockPool&) = delete;

    // Storage for one object of the pool's size; throws std::bad_alloc as operator new does.
    void* Take();
    // Gives back a slot from Take; null is ignored.
    void Give(void* slot);

    size_t GetSlotSize() const { return _slotSize; }
    int32_t GetInUse() const { return _inUse; }
    int32_t GetBlockCount() const { return _blockCount; }

  private:
    static constexpr size_t kAlign = alignof(std::max_align_t);
    // Each block begins with the link to the block before it, in a header of kAlign bytes.
    static constexpr size_t kHeader = (sizeof(void*) + kAlign - 1) / kAlign * kAlign;

    void _AddBlock();
    void _ReleaseBlocks();

    size_t _slotSize;
    void* _free = nullptr;    // the first free slot
    void* _blocks = nullptr;  // the newest block
    int32_t _inUse = 0;
    int32_t _blockCount = 0;
};
