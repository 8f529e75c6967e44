#pragma once

#include <cstdint>

// Root of every framework class.
class __FCBase {
  public:
    __FCBase() = default;
    __FCBase(const __FCBase&) = delete;
    __FCBase& operator=(const __FCBase&) = delete;

    virtual const char* ClassName() { return "__FCBase"; }
    virtual bool IsIdentical(__FCBase* other);
    virtual ~__FCBase() = default;

    // Set (state true) or clear the mask's bits in a word; the word may lie unaligned inside a
    // host record, so it is read and written byte-wise.
    void Set16BitFlag(uint16_t* word, uint16_t mask, bool state);
    void Set32BitFlag(uint32_t* word, uint32_t mask, bool state);

    void* GetUserData() const { return _userData; }
    void SetUserData(void* data) { _userData = data; }

  private:
    void* _userData = nullptr;
};
