#include "FCFontInfo.h"

#include <cstring>

#include "FCString.h"
#include "finalepdk.h"

void FCFontInfo::SetName(const char* name) {
    if (!name) name = "";
    const size_t length = strnlen(name, sizeof _name - 1);
    std::memmove(_name, name, length);  // the name may be our own
    _name[length] = '\0';
}

void FCFontInfo::MakeEnigmaString(FCString* out) const {
    if (!out) return;
    out->SetCString("^font(");
    out->Append(_name);
    out->Append(",4096)^size(");
    out->AppendInteger(_size);
    out->Append(")^nfx(");
    out->AppendInteger(_effects);
    out->Append(")");
}

void FCFontInfo::SetNameByID(int16_t id) {
    char buffer[256] = {};
    if (FX_FontNumToName(id, buffer, FRAMEWORK_ENIGMA_VERSION) != 0) {
        buffer[sizeof buffer - 1] = '\0';  // the host's text is not trusted to end
        SetName(buffer);
    } else {
        SetName("Times New Roman");
    }
}

bool FCFontInfo::IsIdenticalTo(const FCFontInfo* other) const {
    if (!other) return false;
    static const uint16_t kComparedEffects[] = {0x01, 0x02, 0x04, 0x20, 0x40, 0x80};
    for (uint16_t bit : kComparedEffects)
        if ((_effects & bit) != (other->_effects & bit)) return false;
    if (_size != other->_size) return false;
    return std::strcmp(_name, other->_name) == 0;
}
