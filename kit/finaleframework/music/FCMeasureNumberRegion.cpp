#include "FCMeasureNumberRegion.h"

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "FCString.h"

struct FCMeasureNumberRegion::Layout {
    uint32_t version;
    int32_t size;
    size_t startMeasure, endMeasurePlusOne, startChar, base, startNumberMinusOne;
    size_t prefix, prefixSize, suffix, suffixSize, flags;
};

namespace {

#define MNR_LAYOUT(Record, version)                                                     \
    {                                                                                   \
        version, sizeof(Record), offsetof(Record, startMeasure),                        \
            offsetof(Record, endMeasurePlusOne), offsetof(Record, startChar),           \
            offsetof(Record, base), offsetof(Record, startNumberMinusOne),              \
            offsetof(Record, prefix), sizeof(Record::prefix), offsetof(Record, suffix), \
            sizeof(Record::suffix), offsetof(Record, flags)                             \
    }

// Reads a text field that the host need not have terminated.
std::string FieldText(const uint8_t* field, size_t size) {
    const char* text = reinterpret_cast<const char*>(field);
    return std::string(text, strnlen(text, size));
}

}  // namespace

const FCMeasureNumberRegion::Layout& FCMeasureNumberRegion::_Layout() {
    static const Layout k2014 = MNR_LAYOUT(EDTMeasNumberRegion2014, FRAMEWORK_ENIGMA_VERSION);
    static const Layout kEarlier = MNR_LAYOUT(EDTMeasNumberRegion, 0x0A000000);
    return RunningFinaleVersion >= LAYOUT_2014_VERSION ? k2014 : kEarlier;
}

uint8_t* FCMeasureNumberRegion::_Area() {
    return RunningFinaleVersion >= LAYOUT_2014_VERSION
               ? reinterpret_cast<uint8_t*>(&_record2014)
               : reinterpret_cast<uint8_t*>(&_recordEarlier);
}

const uint8_t* FCMeasureNumberRegion::_Area() const {
    return const_cast<FCMeasureNumberRegion*>(this)->_Area();
}

uint32_t FCMeasureNumberRegion::EnigmaVersion() {
    return _Layout().version;
}

int32_t FCMeasureNumberRegion::DataSizeLoad() {
    return _Layout().size;
}

void* FCMeasureNumberRegion::Allocate() {
    return _Area();
}

int16_t FCMeasureNumberRegion::GetStartMeasure() const {
    return FXRead<int16_t>(_Area(), _Layout().startMeasure);
}

void FCMeasureNumberRegion::SetStartMeasure(int16_t measure) {
    FXWrite<int16_t>(_Area(), _Layout().startMeasure, measure);
}

int16_t FCMeasureNumberRegion::GetEndMeasure() const {
    return static_cast<int16_t>(FXRead<uint16_t>(_Area(), _Layout().endMeasurePlusOne) - 1);
}

void FCMeasureNumberRegion::SetEndMeasure(int16_t measure) {
    FXWrite<uint16_t>(_Area(), _Layout().endMeasurePlusOne, static_cast<uint16_t>(measure + 1));
}

int16_t FCMeasureNumberRegion::GetStartNumber() const {
    return static_cast<int16_t>(FXRead<uint16_t>(_Area(), _Layout().startNumberMinusOne) + 1);
}

void FCMeasureNumberRegion::SetStartNumber(int16_t number) {
    FXWrite<uint16_t>(_Area(), _Layout().startNumberMinusOne, static_cast<uint16_t>(number - 1));
}

int16_t FCMeasureNumberRegion::GetStartChar() const {
    return FXRead<int16_t>(_Area(), _Layout().startChar);
}

int16_t FCMeasureNumberRegion::GetBase() const {
    return FXRead<int16_t>(_Area(), _Layout().base);
}

bool FCMeasureNumberRegion::GetDoubleUp() const {
    return (_Area()[_Layout().flags] & MNR_FLAG_DOUBLE_UP) != 0;
}

bool FCMeasureNumberRegion::GetCountFromOne() const {
    return (_Area()[_Layout().flags] & MNR_FLAG_COUNT_FROM_ONE) != 0;
}

void FCMeasureNumberRegion::GetPrefix(FCString* out) const {
    if (out) out->SetCString(FieldText(_Area() + _Layout().prefix, _Layout().prefixSize).c_str());
}

void FCMeasureNumberRegion::GetSuffix(FCString* out) const {
    if (out) out->SetCString(FieldText(_Area() + _Layout().suffix, _Layout().suffixSize).c_str());
}

bool FCMeasureNumberRegion::ContainsMeasure(int16_t measure) const {
    return GetStartMeasure() <= measure && measure <= GetEndMeasure();
}

bool FCMeasureNumberRegion::_CalcValue(int16_t measure, int* value) const {
    if (!ContainsMeasure(measure)) return false;
    // A base below 1 has no digits, and a value below 0 no digit string.
    if (GetBase() <= 0) return false;
    int v = (measure - GetStartMeasure()) + GetStartNumber() - 1;
    if (GetCountFromOne()) ++v;
    if (v < 0) return false;
    *value = v;
    return true;
}

bool FCMeasureNumberRegion::GetDisplayedNumber(int16_t measure, FCString* out) const {
    int v = 0;
    if (!out || !_CalcValue(measure, &v)) return false;
    const int b = GetBase();
    const int c = GetStartChar();
    out->SetCString("");
    if (GetDoubleUp()) {
        // The digit of v mod b, written once more for every full round of b.
        const auto digit = static_cast<int16_t>(c + v % b);
        for (int i = v / b; i >= 0; --i) out->Append(digit);
        return true;
    }
    std::vector<int16_t> digits;  // least significant first
    do {
        digits.push_back(static_cast<int16_t>(c + v % b));
        v /= b;
    } while (v > 0);
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) out->Append(*it);
    return true;
}

FCString* FCMeasureNumberRegion::CreateDisplayedString(int16_t measure) const {
    FCString number;
    if (!GetDisplayedNumber(measure, &number)) return nullptr;
    FCString* label = new FCString;
    GetPrefix(label);
    label->Append(&number);
    FCString suffix;
    GetSuffix(&suffix);
    label->Append(&suffix);
    return label;
}

int FCMeasureNumberRegions::CalcMeasureNumber(int measure, FCString* out) {
    if (!out) return -1;
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        auto* region = dynamic_cast<FCMeasureNumberRegion*>(GetItemAt(i));
        if (!region || !region->ContainsMeasure(static_cast<int16_t>(measure))) continue;
        if (region->GetDisplayedNumber(static_cast<int16_t>(measure), out)) return i;
        break;  // the region in force has no number for it: the plain number stands
    }
    out->SetInteger(measure);
    return -1;
}
