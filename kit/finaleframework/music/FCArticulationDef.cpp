#include "FCArticulationDef.h"

#include <cstring>

#include "FCFontInfo.h"

namespace {

bool Differ(uint16_t a, uint16_t b, uint16_t mask) {
    return (a & mask) != (b & mask);
}

// Side by placement code 0 ... 7.
constexpr int kSides[8] = {2, 3, 5, 4, 1, 0, 0, 0};

}  // namespace

void FCArticulationDef::GetMainSymbolFont(char (*name)[256]) {
    if (!name) return;
    (*name)[0] = '\0';
    if (_record.symbolFlags & MAIN_IS_SHAPE) return;
    FX_FontNumToName(_record.mainFont, *name, FRAMEWORK_ENIGMA_VERSION);
    (*name)[255] = '\0';  // the host's text is not trusted to end
}

bool FCArticulationDef::IsMainSymbolFont(const char (*name)[256]) {
    if (!name) return false;
    char own[256];
    GetMainSymbolFont(&own);
    return std::strncmp(own, *name, sizeof own) == 0;
}

bool FCArticulationDef::_FontByte(const char (*name)[256], uint8_t* number) {
    if (!name) return false;
    char terminated[256];
    std::memcpy(terminated, *name, sizeof terminated);
    terminated[255] = '\0';
    const int32_t font = FX_FontNameToNum(terminated, FRAMEWORK_ENIGMA_VERSION);
    if (font < 0 || font > 0xFF) return false;
    *number = static_cast<uint8_t>(font);
    return true;
}

void FCArticulationDef::SetMainSymbolFont(const char (*name)[256]) {
    uint8_t font = 0;
    if (_FontByte(name, &font)) _record.mainFont = font;
}

void FCArticulationDef::SetFlippedSymbolFont(const char (*name)[256]) {
    uint8_t font = 0;
    if (_FontByte(name, &font)) _record.flippedFont = font;
}

void FCArticulationDef::SetMainSymbolSize(int16_t size) {
    _record.mainSize = static_cast<uint8_t>(size & 0xFF);
}

void FCArticulationDef::SetFlippedSymbolSize(int16_t size) {
    _record.flippedSize = static_cast<uint8_t>(size & 0xFF);
}

void FCArticulationDef::SetMainSymbolFontInfo(FCFontInfo* info) {
    if (!info) return;
    char name[256] = {};
    std::strncpy(name, info->GetName(), sizeof name - 1);
    SetMainSymbolFont(&name);
    _record.mainEffects = static_cast<uint8_t>(info->GetEffects() & 0xFF);
    SetMainSymbolSize(info->GetSize());
}

void FCArticulationDef::SetFlippedSymbolFontInfo(FCFontInfo* info) {
    if (!info) return;
    char name[256] = {};
    std::strncpy(name, info->GetName(), sizeof name - 1);
    SetFlippedSymbolFont(&name);
    _record.flippedEffects = static_cast<uint8_t>(info->GetEffects() & 0xFF);
    SetFlippedSymbolSize(info->GetSize());
}

FCFontInfo* FCArticulationDef::CreateMainSymbolFontInfo() {
    FCFontInfo* info = new FCFontInfo;
    char name[256];
    GetMainSymbolFont(&name);
    info->SetName(name);
    info->SetEffects(_record.mainEffects);
    info->SetSize(_record.mainSize);
    return info;
}

int FCArticulationDef::GetAutoPosSide() const {
    const uint16_t placement = _record.placement;
    if (!(placement & AUTO_POSITION)) return 0;
    return kSides[placement & 0x7];
}

bool FCArticulationDef::IsIdenticalTo(FCArticulationDef* other) {
    if (!other) return false;
    if (other == this) return true;
    const EDTArticulationDef& a = _record;
    const EDTArticulationDef& b = other->_record;
    const uint16_t placeA = a.placement, placeB = b.placement;
    const uint16_t flagsA = a.symbolFlags, flagsB = b.symbolFlags;

    if (Differ(placeA, placeB, 0x0100)) return false;
    if (Differ(flagsA, flagsB, MAIN_IS_SHAPE)) return false;
    if (!(flagsA & MAIN_IS_SHAPE) && a.mainChar != b.mainChar) return false;
    if (Differ(flagsA, flagsB, FLIPPED_IS_SHAPE)) return false;
    if (!(flagsA & FLIPPED_IS_SHAPE) && a.flippedChar != b.flippedChar) return false;

    FCFontInfo* fontA = CreateMainSymbolFontInfo();
    FCFontInfo* fontB = other->CreateMainSymbolFontInfo();
    const bool sameFont = fontA->IsIdenticalTo(fontB);
    delete fontA;
    delete fontB;
    if (!sameFont) return false;

    for (uint16_t bit : {0x2000, 0x4000, 0x0040, 0x0020})
        if (Differ(placeA, placeB, bit)) return false;
    for (uint16_t bit : {0x0040, 0x0010})
        if (Differ(flagsA, flagsB, bit)) return false;
    if (a.value24 != b.value24 || a.value26 != b.value26) return false;
    if (Differ(flagsA, flagsB, 0x0020)) return false;
    if (a.value28 != b.value28 || a.value2A != b.value2A) return false;
    if (Differ(flagsA, flagsB, 0x0008)) return false;
    if (a.value2C != b.value2C || a.value2E != b.value2E) return false;
    if (Differ(flagsA, flagsB, 0x0001)) return false;
    for (uint16_t bit : {0x1000, 0x0080, 0x0010, 0x0200})
        if (Differ(placeA, placeB, bit)) return false;
    if (GetAutoPosSide() != other->GetAutoPosSide()) return false;
    return a.value14 == b.value14 && a.value10 == b.value10 && a.value12 == b.value12 &&
           a.value1C == b.value1C && a.value1E == b.value1E;
}
