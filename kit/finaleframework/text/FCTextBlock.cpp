#include "FCTextBlock.h"

#include <cstring>

#include "FCRawText.h"
#include "FCString.h"

void FCTextBlock::_SetDefaultRecord() {
    std::memset(&_record, 0, sizeof _record);
    Set16BitFlag(FX_FIELD(&_record, EDTTextBlock2004, flags), 0x1A08, true);
    _record.value8 = 100;
    _dataBuffer = &_record;
    _dataSize = sizeof _record;
}

FCString* FCTextBlock::CreateRawTextString() {
    FCRawText raw;
    raw.Load(_record.rawText);
    return raw.CreateString();
}
