#pragma once

#include <cstdint>

#include "FCBaseData.h"

class FCString;

// One raw text record: 8-bit characters and a terminating zero.
// The characters include Enigma tags; the record is addressed by the 16-bit number at the
// start of the key. Its size is the text's, asked of the host.
class FCRawText : public __FCBaseData {
  public:
    static constexpr uint32_t TAG = 0x7478626C;             // t x b l
    static constexpr uint32_t TAG_EXPRESSION = 0x74787870;  // t x x p: text of expressions

    FCRawText() = default;
    ~FCRawText() override;

    const char* ClassName() override { return "FCRawText"; }
    // The custom tag chooses the kind of raw text.
    uint32_t Tag() override { return _customTag ? _customTag : TAG; }
    int32_t DataSizeLoad() override;
    void* Allocate() override;
    void Deallocate() override;
    bool IsDynamicSize() override { return true; }
    // Not made through the generic creation, so never cloned.
    __FCBaseData* CreateObject() override { return nullptr; }
    // Number 0, then the host's step to the next raw text of this tag.
    bool LoadFirst() override;

    bool Load(int16_t number);
    bool SaveAs(int16_t number);
    // Creates a new raw text with the current text; the host chooses its number.
    bool SaveNew();
    // The number in the key (after SaveNew, the host's).
    int16_t GetItemNo() const;

    // Replaces the record by the string's C-string form and its zero; null gives the empty text.
    void SetText(FCString* text);
    // A new string (the caller's) with the text up to its zero or the end of the data.
    FCString* CreateString();

  private:
    void _SetNumber(int16_t number);
};
