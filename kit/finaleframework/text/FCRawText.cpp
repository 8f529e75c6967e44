#include "FCRawText.h"

#include <cstring>
#include <string>

#include "FCString.h"
#include "finalepdk.h"

FCRawText::~FCRawText() {
    _FreeDynamicBlock();
}

int32_t FCRawText::DataSizeLoad() {
    return _StoredRecordSize();
}

void* FCRawText::Allocate() {
    return _NewDynamicBlock(DataSizeLoad());
}

void FCRawText::Deallocate() {
    _FreeDynamicBlock();
}

bool FCRawText::LoadFirst() {
    _SetNumber(0);
    return LoadNext();
}

void FCRawText::_SetNumber(int16_t number) {
    FXWrite<int16_t>(_recordKey, 0, number);
}

int16_t FCRawText::GetItemNo() const {
    return FXRead<int16_t>(_recordKey, 0);
}

bool FCRawText::Load(int16_t number) {
    _SetNumber(number);
    return LoadDataBlock();
}

bool FCRawText::SaveAs(int16_t number) {
    _SetNumber(number);
    return Save();
}

bool FCRawText::SaveNew() {
    if (_dataSize <= 0) return false;
    _SetNumber(-1);
    return FX_CreateEData(Tag(), _recordKey, _dataBuffer, DataSizeSave(), EnigmaVersion()) != 0;
}

void FCRawText::SetText(FCString* text) {
    const char* bytes = text ? text->GetCString() : "";
    const size_t length = std::strlen(bytes);
    std::memcpy(_NewDynamicBlock(static_cast<int32_t>(length + 1)), bytes, length + 1);
}

FCString* FCRawText::CreateString() {
    FCString* string = new FCString;
    if (_dataBuffer && _dataSize > 0) {
        // The host's text need not end in a zero: never read beyond what it delivered.
        const char* bytes = static_cast<const char*>(_dataBuffer);
        string->SetCString(
            std::string(bytes, strnlen(bytes, static_cast<size_t>(_dataSize))).c_str());
    }
    return string;
}
