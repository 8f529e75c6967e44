#pragma once

#include <cstddef>
#include <cstdint>

#include "FCNoInciOther.h"
#include "finalepdk.h"

class FCCategoryDef;
class FCString;

// A text expression definition.
// The text block of its text, its category, its rehearsal mark style and a free description
// that ends the record, so the record's size is asked of the host. Nothing here saves the
// definition itself: that is the record interface's Save.
class FCTextExpressionDef : public __FCNoInciOther {
  public:
    static constexpr uint32_t TAG = 0x534F4454;  // S O D T
    // Blocks the framework makes itself: the fixed part and room for an empty description.
    static constexpr int32_t MADE_BLOCK_SIZE = 36;

    enum REHEARSAL_MARK_STYLES {
        REHEARSAL_NONE = 0,
        REHEARSAL_CAPITALS_REPEATED = 1,  // A ... Z, AA ... ZZ, AAA ...
        REHEARSAL_CAPITALS_COUNTED = 2,   // A ... Z, A1 ... Z1, A2 ...
        REHEARSAL_SMALL_REPEATED = 3,
        REHEARSAL_SMALL_COUNTED = 4,
        REHEARSAL_NUMBER = 5,
        REHEARSAL_MEASURE_NUMBER = 6,  // the displayed number of that measure
    };

    FCTextExpressionDef() { _AllocateMemory(MADE_BLOCK_SIZE); }
    ~FCTextExpressionDef() override;

    const char* ClassName() override { return "FCTextExpressionDef"; }
    uint32_t Tag() override { return TAG; }
    uint32_t EnigmaVersion() override { return 0x0F000000; }
    int32_t DataSizeLoad() override;
    void* Allocate() override;
    void Deallocate() override;
    bool IsDynamicSize() override { return true; }
    __FCBaseData* CreateObject() override { return new FCTextExpressionDef; }
    // Setters grow a block of their own even after a failed load: Save stays refused then, until
    // a load succeeds or the definition is saved under a key of its own.
    bool Save() override;
    bool SaveAs(uint16_t item) override;
    bool SaveNew() override;

    // A zeroed block of that size as the record (size 0: none).
    void* _AllocateMemory(int32_t size);

    uint16_t GetTextBlockID() const {
        return _Read<uint16_t>(offsetof(EDTTextExpressionDef, textBlock));
    }
    void SetTextBlockID(uint16_t id) { _Write(offsetof(EDTTextExpressionDef, textBlock), id); }
    int16_t GetRehearsalMarkStyle() const {
        return _Read<int16_t>(offsetof(EDTTextExpressionDef, rehearsalMarkStyle));
    }
    void SetRehearsalMarkStyle(int16_t style) {
        _Write(offsetof(EDTTextExpressionDef, rehearsalMarkStyle), style);
    }
    // Bits 0-13 of the category word.
    int GetCategoryID() const;

    // A new string (the caller's) with the expression's raw text.
    FCString* CreateTextString();
    // Stores the text as a new raw text and a new text block, and points the definition at it.
    bool SaveNewTextBlock(FCString* text);
    void SetDescription(FCString* description);
    void GetDescription(FCString* out) const;
    // Copies the category's number and values in; false for a number of 0 or less.
    bool AssignToCategory(FCCategoryDef* category);
    // What these would change in the record is the host's secret: they change nothing.
    void SetCategoryFontUse(bool) {}
    void SetCategoryPosUse(bool) {}
    // The text of rehearsal mark `number` (from 1) in the definition's style; false, with out
    // untouched, for a style outside 1 ... 6 or a number below 1.
    bool MakeRehearsalMark(int number, FCString* out);

  private:
    // Fields beyond the delivered bytes read 0.
    template <typename T>
    T _Read(size_t offset) const {
        if (!_dataBuffer || offset + sizeof(T) > static_cast<size_t>(_dataSize)) return T{};
        return FXRead<T>(_dataBuffer, offset);
    }
    // A record too short for the field is first grown to a made block, keeping its bytes.
    template <typename T>
    void _Write(size_t offset, T value) {
        _RequireFixedPart();
        FXWrite<T>(_dataBuffer, offset, value);
    }
    void _RequireFixedPart();
    // A new zeroed block of `size` bytes holding the first `keep` bytes of the old one.
    void _Reallocate(int32_t size, int32_t keep);
};
