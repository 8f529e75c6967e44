#include "FCMeasure.h"

#include "FCKeySignature.h"
#include "finalepdk.h"

FCMeasure::~FCMeasure() {
    delete _keySignature;
    delete _secondRecord;
}

uint16_t FCMeasure::GetKeyValue() const {
    return FXRead<uint16_t>(_record, 2);
}

FCKeySignature* FCMeasure::GetKeySignature() {
    if (!_keySignature) {
        _keySignature = new FCKeySignature;
        _keySignature->SetKeyValue(GetKeyValue());
    }
    return _keySignature;
}

uint16_t FCMeasure::_Word(size_t offset) const {
    return FXRead<uint16_t>(_record, offset);
}

// The flag words are changed in the record itself, loaded or not.
void FCMeasure::_SetAuxFlag(uint16_t mask, bool state) {
    Set16BitFlag(FXAt<uint16_t>(_record, kAuxFlags), mask, state);
}

void FCMeasure::_SetMeFlag(uint16_t mask, bool state) {
    Set16BitFlag(FXAt<uint16_t>(_record, kMeFlags), mask, state);
}

void FCMeasure::_SetNewFlag(uint16_t mask, bool state) {
    Set16BitFlag(FXAt<uint16_t>(_record, kNewFlags), mask, state);
}

void FCMeasure::_SetDisplay(DISPLAY_STATES state, uint16_t forcedBit, uint16_t shownBit) {
    if (state != DISPLAY_AUTO && state != DISPLAY_SHOW && state != DISPLAY_FORCED) return;
    _SetAuxFlag(forcedBit, state == DISPLAY_FORCED);
    _SetMeFlag(shownBit, state == DISPLAY_SHOW);
}

FCMeasure::DISPLAY_STATES FCMeasure::_GetDisplay(uint16_t forcedBit, uint16_t shownBit) const {
    if (_Word(kAuxFlags) & forcedBit) return DISPLAY_FORCED;
    return (_Word(kMeFlags) & shownBit) ? DISPLAY_SHOW : DISPLAY_AUTO;
}

void FCMeasure::SetKeySignatureDisplay(DISPLAY_STATES state) {
    _SetDisplay(state, 0x0020, 0x0800);
}

FCMeasure::DISPLAY_STATES FCMeasure::GetKeySignatureDisplay() const {
    return _GetDisplay(0x0020, 0x0800);
}

void FCMeasure::SetTimeSignatureDisplay(DISPLAY_STATES state) {
    _SetDisplay(state, 0x0010, 0x0400);
}

FCMeasure::DISPLAY_STATES FCMeasure::GetTimeSignatureDisplay() const {
    return _GetDisplay(0x0010, 0x0400);
}

bool FCMeasure::_GetBarlineMask(BARLINE_STYLES style, uint16_t* code) const {
    const bool known = style >= BARLINE_NONE && style <= BARLINE_PARTIAL;
    if (code) *code = known ? static_cast<uint16_t>(style) : 0;
    return known;
}

namespace {
constexpr uint16_t kBarlineBits = 0x00F0;

FCMeasure::BARLINE_STYLES BarlineOf(uint16_t word) {
    const int code = (word & kBarlineBits) / 16;
    return code <= FCMeasure::BARLINE_PARTIAL ? static_cast<FCMeasure::BARLINE_STYLES>(code)
                                              : FCMeasure::BARLINE_NONE;
}
}  // namespace

void FCMeasure::SetBarline(BARLINE_STYLES style) {
    uint16_t code;
    if (!_GetBarlineMask(style, &code)) return;
    _SetMeFlag(kBarlineBits, false);
    _SetMeFlag(static_cast<uint16_t>(code * 16), true);
}

FCMeasure::BARLINE_STYLES FCMeasure::GetBarline() const {
    return BarlineOf(_Word(kMeFlags));
}

void FCMeasure::SetLeftBarline(BARLINE_STYLES style) {
    uint16_t code;
    if (!_GetBarlineMask(style, &code)) return;
    _SetNewFlag(kBarlineBits, false);
    _SetNewFlag(static_cast<uint16_t>(code * 16), true);
}

FCMeasure::BARLINE_STYLES FCMeasure::GetLeftBarline() const {
    return BarlineOf(_Word(kNewFlags));
}

namespace {
bool HostKnowsFullNames() {
    return RunningFinaleVersion > 0x0FFFFFFF;
}
}  // namespace

void FCMeasure::SetShowFullNames(bool state) {
    if (HostKnowsFullNames()) _SetAuxFlag(0x0800, state);
}

bool FCMeasure::GetShowFullNames() const {
    return HostKnowsFullNames() && (_Word(kAuxFlags) & 0x0800) != 0;
}

void FCMeasure::SetPositioningNotesMode(POSITIONING_MODES mode) {
    uint16_t code;
    switch (mode) {
        case POSITIONING_TIMESIG:
            code = 4;
            break;
        case POSITIONING_MANUAL:
            code = 0;
            break;
        case POSITIONING_BEATCHART:
            code = 6;
            break;
        default:
            return;
    }
    _SetAuxFlag(0x0007, false);
    _SetAuxFlag(code, true);
}

FCMeasure::POSITIONING_MODES FCMeasure::GetPositioningNotesMode() const {
    switch (_Word(kAuxFlags) & 0x0007) {
        case 4:
            return POSITIONING_TIMESIG;
        case 0:
            return POSITIONING_MANUAL;
        default:
            return POSITIONING_BEATCHART;
    }
}
