#pragma once

#include <cstddef>
#include <cstdint>

#include "FCNoInciOther.h"

class FCKeySignature;

// The host's record of one measure (item number = measure number, from 1).
// Typed access to the options the framework needs; setters change the record in memory only.
class FCMeasure : public __FCNoInciOther {
  public:
    enum DISPLAY_STATES : int { DISPLAY_AUTO = 0, DISPLAY_SHOW = 1, DISPLAY_FORCED = 2 };
    enum BARLINE_STYLES : int {
        BARLINE_NONE = 0,
        BARLINE_NORMAL,
        BARLINE_DOUBLE,
        BARLINE_FINAL,
        BARLINE_SOLID,
        BARLINE_DASHED,
        BARLINE_PARTIAL
    };
    enum POSITIONING_MODES : int {
        POSITIONING_TIMESIG = 0,
        POSITIONING_MANUAL = 1,
        POSITIONING_BEATCHART = 2
    };

    FCMeasure() = default;
    ~FCMeasure() override;

    const char* ClassName() override { return "FCMeasure"; }
    uint32_t Tag() override { return 0x534F4D53; }
    int32_t DataSizeLoad() override { return sizeof _record; }
    void* Allocate() override { return _record; }
    __FCBaseData* CreateObject() override { return new FCMeasure; }

    // The measure's key, as a key signature object owned by the measure, made on first use.
    FCKeySignature* GetKeySignature();
    uint16_t GetKeyValue() const;

    void SetKeySignatureDisplay(DISPLAY_STATES state);
    DISPLAY_STATES GetKeySignatureDisplay() const;
    void SetTimeSignatureDisplay(DISPLAY_STATES state);
    DISPLAY_STATES GetTimeSignatureDisplay() const;

    // Codes 0..6; false (code 0) for any other style.
    bool _GetBarlineMask(BARLINE_STYLES style, uint16_t* code) const;
    void SetBarline(BARLINE_STYLES style);
    BARLINE_STYLES GetBarline() const;
    void SetLeftBarline(BARLINE_STYLES style);
    BARLINE_STYLES GetLeftBarline() const;

    // Only hosts from version 0x10000000 on know this option.
    void SetShowFullNames(bool state);
    bool GetShowFullNames() const;

    void SetPositioningNotesMode(POSITIONING_MODES mode);
    POSITIONING_MODES GetPositioningNotesMode() const;

    // This system makes no beat charts.
    __FCBaseData* CreateBeatChart(bool) { return nullptr; }

    void _SetAuxFlag(uint16_t mask, bool state);
    void _SetMeFlag(uint16_t mask, bool state);
    void _SetNewFlag(uint16_t mask, bool state);

  private:
    static constexpr size_t kAuxFlags = 8, kMeFlags = 10, kNewFlags = 16;
    void _SetDisplay(DISPLAY_STATES state, uint16_t forcedBit, uint16_t shownBit);
    DISPLAY_STATES _GetDisplay(uint16_t forcedBit, uint16_t shownBit) const;
    uint16_t _Word(size_t offset) const;

    FCKeySignature* _keySignature = nullptr;  // owned
    __FCBaseData* _secondRecord = nullptr;    // owned; nothing in this system sets it
    uint8_t _record[26] = {};
};
