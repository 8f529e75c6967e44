#pragma once

#include <cstdint>

#include "FCCollectionData.h"
#include "FCNoInciOther.h"
#include "finalepdk.h"

class FCString;

// One measure number region: a range of measures and how their numbers are shown.
// The record has two layouts; the running host's version chooses one on every access, and the
// object keeps room for both.
class FCMeasureNumberRegion : public __FCNoInciOther {
  public:
    static constexpr uint32_t TAG = 0x534F4D4E;  // S O M N
    // Hosts from this version on use the 196-byte layout, earlier ones the 88-byte one.
    static constexpr uint32_t LAYOUT_2014_VERSION = 0x0F000000;

    const char* ClassName() override { return "FCMeasureNumberRegion"; }
    uint32_t Tag() override { return TAG; }
    uint32_t EnigmaVersion() override;
    int32_t DataSizeLoad() override;
    void* Allocate() override;
    __FCBaseData* CreateObject() override { return new FCMeasureNumberRegion; }

    int16_t GetStartMeasure() const;
    void SetStartMeasure(int16_t measure);
    // The last measure (the record keeps the one after it).
    int16_t GetEndMeasure() const;
    void SetEndMeasure(int16_t measure);
    // The number shown for the start measure (the record keeps it less one).
    int16_t GetStartNumber() const;
    void SetStartNumber(int16_t number);
    // Character code of the digit whose value is 0.
    int16_t GetStartChar() const;
    // Number of digit characters.
    int16_t GetBase() const;
    bool GetDoubleUp() const;
    bool GetCountFromOne() const;
    void GetPrefix(FCString* out) const;
    void GetSuffix(FCString* out) const;

    bool ContainsMeasure(int16_t measure) const;
    // The number part of the measure's label. False, with out untouched, when the measure is
    // outside the region or the region has no number for it (a base below 1, a value below 0).
    bool GetDisplayedNumber(int16_t measure, FCString* out) const;
    // A new string (the caller's): prefix, number and suffix; null when GetDisplayedNumber fails.
    FCString* CreateDisplayedString(int16_t measure) const;

  private:
    struct Layout;
    static const Layout& _Layout();
    // The storage area of the running host's layout.
    uint8_t* _Area();
    const uint8_t* _Area() const;
    // The number the measure shows, before it is written in digits; false when there is none.
    bool _CalcValue(int16_t measure, int* value) const;

    EDTMeasNumberRegion2014 _record2014{};
    EDTMeasNumberRegion _recordEarlier{};
};

// Every measure number region of the document, in the host's order.
class FCMeasureNumberRegions : public __FCCollectionData {
  public:
    const char* ClassName() override { return "FCMeasureNumberRegions"; }
    __FCBaseData* CreateElement() override { return new FCMeasureNumberRegion; }

    // Writes the displayed number of the measure by the first region that numbers it and
    // returns that region's index; else writes the measure in decimal and returns -1.
    int CalcMeasureNumber(int measure, FCString* out);
};
