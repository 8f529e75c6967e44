#include "FCTuplet.h"

namespace {
constexpr uint16_t kPlacementBits = 0x0070;
constexpr uint16_t kNumberBits = 0x000F;
constexpr uint16_t kShapeBits = 0x3000;
constexpr uint16_t kShapeBracket = 0x2000;
constexpr uint16_t kShapeSlur = 0x1000;
constexpr uint16_t kFirstAppearance = 0x8000;   // option word
constexpr uint16_t kSecondAppearance = 0x0010;  // second flag word
}  // namespace

void FCTuplet::_SetCode(uint16_t mask, uint16_t code) {
    uint16_t* word = FXAt<uint16_t>(_record.bytes, TUPLET_OPTION_FLAGS);
    Set16BitFlag(word, mask, false);
    Set16BitFlag(word, static_cast<uint16_t>(code & mask), true);
}

void FCTuplet::SetPlacementMode(PLACEMENTMODE mode) {
    const bool known = mode >= PLACEMENT_MANUAL && mode <= PLACEMENT_BELOW;
    _SetCode(kPlacementBits, known ? static_cast<uint16_t>(mode << 4) : 0);
}

FCTuplet::PLACEMENTMODE FCTuplet::GetPlacementMode() const {
    const int code = (_Word(TUPLET_OPTION_FLAGS) & kPlacementBits) >> 4;
    return code <= PLACEMENT_BELOW ? static_cast<PLACEMENTMODE>(code) : PLACEMENT_MANUAL;
}

void FCTuplet::SetNumberStyle(NUMBERSTYLE style) {
    const bool known = style >= NUMBER_NONE && style <= NUMBER_RATIO_AND_NOTES;
    _SetCode(kNumberBits, known ? static_cast<uint16_t>(style) : 0);
}

FCTuplet::NUMBERSTYLE FCTuplet::GetNumberStyle() const {
    const int code = _Word(TUPLET_OPTION_FLAGS) & kNumberBits;
    return code <= NUMBER_RATIO_AND_NOTES ? static_cast<NUMBERSTYLE>(code) : NUMBER_NONE;
}

void FCTuplet::SetShapeStyle(SHAPESTYLE style) {
    uint16_t code = 0;
    if (style == SHAPE_BRACKET) code = kShapeBracket;
    if (style == SHAPE_SLUR) code = kShapeSlur;
    _SetCode(kShapeBits, code);
}

FCTuplet::SHAPESTYLE FCTuplet::GetShapeStyle() const {
    switch (_Word(TUPLET_OPTION_FLAGS) & kShapeBits) {
        case kShapeBracket:
            return SHAPE_BRACKET;
        case kShapeSlur:
            return SHAPE_SLUR;
        default:
            return SHAPE_NONE;
    }
}

void FCTuplet::SetAppearanceMode(APPEARANCEMODE mode) {
    const bool first = mode == APPEARANCE_ON || mode == APPEARANCE_ON_SECOND_FORM;
    Set16BitFlag(FXAt<uint16_t>(_record.bytes, TUPLET_OPTION_FLAGS), kFirstAppearance, first);
    Set16BitFlag(FXAt<uint16_t>(_record.bytes, TUPLET_SECOND_FLAGS), kSecondAppearance,
                 mode == APPEARANCE_ON_SECOND_FORM);
}

FCTuplet::APPEARANCEMODE FCTuplet::GetAppearanceMode() const {
    if (!(_Word(TUPLET_OPTION_FLAGS) & kFirstAppearance)) return APPEARANCE_OFF;
    return (_Word(TUPLET_SECOND_FLAGS) & kSecondAppearance) ? APPEARANCE_ON_SECOND_FORM
                                                            : APPEARANCE_ON;
}
