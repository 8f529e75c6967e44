#include "FCTextExpressionDef.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "FCCategoryDef.h"
#include "FCMeasureNumberRegion.h"
#include "FCRawText.h"
#include "FCString.h"
#include "FCTextBlock.h"

namespace {
constexpr size_t kDescription = sizeof(EDTTextExpressionDef);
constexpr uint16_t kCategoryBits = 0x3FFF;
}  // namespace

FCTextExpressionDef::~FCTextExpressionDef() {
    _FreeDynamicBlock();
}

int32_t FCTextExpressionDef::DataSizeLoad() {
    return _StoredRecordSize();
}

void* FCTextExpressionDef::Allocate() {
    return _AllocateMemory(DataSizeLoad());
}

void FCTextExpressionDef::Deallocate() {
    _FreeDynamicBlock();
}

bool FCTextExpressionDef::Save() {
    return !_loadFailed && __FCNoInciOther::Save();
}

bool FCTextExpressionDef::SaveAs(uint16_t item) {
    _loadFailed = false;  // the caller names the record
    return __FCNoInciOther::SaveAs(item);
}

bool FCTextExpressionDef::SaveNew() {
    if (!__FCNoInciOther::SaveNew()) return false;
    _loadFailed = false;
    return true;
}

void* FCTextExpressionDef::_AllocateMemory(int32_t size) {
    if (size <= 0) {
        _FreeDynamicBlock();
        return nullptr;
    }
    return _NewDynamicBlock(size);
}

void FCTextExpressionDef::_Reallocate(int32_t size, int32_t keep) {
    keep = std::clamp<int32_t>(std::min(keep, _dataSize), 0, size);
    const uint8_t* old = static_cast<const uint8_t*>(_dataBuffer);
    std::vector<uint8_t> kept(old, old ? old + keep : old);
    uint8_t* block = static_cast<uint8_t*>(_NewDynamicBlock(size));
    std::copy(kept.begin(), kept.end(), block);
}

void FCTextExpressionDef::_RequireFixedPart() {
    if (_dataBuffer && _dataSize >= static_cast<int32_t>(kDescription)) return;
    _Reallocate(MADE_BLOCK_SIZE, _dataSize);
}

int FCTextExpressionDef::GetCategoryID() const {
    return _Read<uint16_t>(offsetof(EDTTextExpressionDef, categoryWord)) & kCategoryBits;
}

FCString* FCTextExpressionDef::CreateTextString() {
    FCTextBlock block;
    block.Load(GetTextBlockID());  // a missing block leaves the default: raw text 0
    FCRawText raw;
    raw.SetCustomTag(FCRawText::TAG_EXPRESSION);
    raw.Load(block.GetRawTextNumber());
    return raw.CreateString();
}

bool FCTextExpressionDef::SaveNewTextBlock(FCString* text) {
    FCRawText raw;
    raw.SetCustomTag(FCRawText::TAG_EXPRESSION);
    raw.SetText(text);
    if (!raw.SaveNew()) return false;
    FCTextBlock block;
    block.SetRawTextNumber(raw.GetItemNo());
    block.SetRawTextKind(static_cast<uint16_t>(FCRawText::TAG_EXPRESSION & 0xFFFF));
    if (!block.SaveNew()) return false;
    SetTextBlockID(block.GetItemNo());
    return true;
}

void FCTextExpressionDef::SetDescription(FCString* description) {
    const char* text = description ? description->GetCString() : "";
    const size_t length = std::strlen(text);
    // A loaded record shorter than a made block keeps what it has; the rest is zero.
    _Reallocate(static_cast<int32_t>(length) + MADE_BLOCK_SIZE, MADE_BLOCK_SIZE);
    std::memcpy(static_cast<uint8_t*>(_dataBuffer) + kDescription, text, length + 1);
}

void FCTextExpressionDef::GetDescription(FCString* out) const {
    if (!out) return;
    if (!_dataBuffer || _dataSize <= static_cast<int32_t>(kDescription)) {
        out->SetCString("");
        return;
    }
    // The host's description need not end in a zero.
    const char* text = static_cast<const char*>(_dataBuffer) + kDescription;
    const size_t room = static_cast<size_t>(_dataSize) - kDescription;
    out->SetCString(std::string(text, strnlen(text, room)).c_str());
}

bool FCTextExpressionDef::AssignToCategory(FCCategoryDef* category) {
    if (!category || category->GetID() <= 0) return false;
    const uint16_t word = _Read<uint16_t>(offsetof(EDTTextExpressionDef, categoryWord));
    const auto number = static_cast<uint16_t>(category->GetID() & kCategoryBits);
    _Write<uint16_t>(offsetof(EDTTextExpressionDef, categoryWord),
                     static_cast<uint16_t>((word & ~kCategoryBits) | number));
    _Write(offsetof(EDTTextExpressionDef, category18), category->GetValue(4));
    _Write(offsetof(EDTTextExpressionDef, category1E), category->GetValue(6));
    _Write(offsetof(EDTTextExpressionDef, category20), category->GetValue(5));
    _Write(offsetof(EDTTextExpressionDef, category0E), category->GetValue(1));
    _Write(offsetof(EDTTextExpressionDef, category0C), category->GetValue(2));
    _Write(offsetof(EDTTextExpressionDef, category10), category->GetValue(3));
    return true;
}

bool FCTextExpressionDef::MakeRehearsalMark(int number, FCString* out) {
    // Marks count from 1: below it there is no letter to give.
    if (!out || number < 1) return false;
    const int b = number - 1;
    const int q = b / 26;
    const int r = b % 26;
    switch (GetRehearsalMarkStyle()) {
        case REHEARSAL_CAPITALS_REPEATED:
        case REHEARSAL_SMALL_REPEATED: {
            const char first = GetRehearsalMarkStyle() == REHEARSAL_CAPITALS_REPEATED ? 'A' : 'a';
            out->SetCString("");
            for (int i = 0; i <= q; ++i) out->Append(static_cast<int16_t>(first + r));
            return true;
        }
        case REHEARSAL_CAPITALS_COUNTED:
        case REHEARSAL_SMALL_COUNTED: {
            const char first = GetRehearsalMarkStyle() == REHEARSAL_CAPITALS_COUNTED ? 'A' : 'a';
            out->SetCString("");
            out->Append(static_cast<int16_t>(first + r));
            if (b > 25) out->AppendInteger(q);
            return true;
        }
        case REHEARSAL_NUMBER:
            out->SetInteger(number);
            return true;
        case REHEARSAL_MEASURE_NUMBER: {
            FCMeasureNumberRegions regions;
            regions.LoadAll();
            regions.CalcMeasureNumber(number, out);
            return true;
        }
        default:
            return false;
    }
}
