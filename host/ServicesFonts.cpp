// The font table of the current document: number <-> name.
#include <algorithm>
#include <cstring>

#include "Services.h"
#include "SubstituteHost.h"

namespace plovikhost::svc {

namespace {
// What the host writes into a caller's name buffer: a Pascal-sized name, 255 bytes and a 0.
constexpr size_t kNameRoom = 255;
}  // namespace

int32_t FX_STDCALL FontNumToName(int32_t number, char* name, uint32_t version) {
    H().Log("FX_FontNumToName", {number, P(name), version});
    if (!name) return 0;
    const auto& fonts = H().CurrentDocument().fonts;
    auto it = fonts.find(static_cast<int16_t>(number));
    if (it == fonts.end()) {
        name[0] = '\0';
        return 0;
    }
    const size_t n = std::min(it->second.size(), kNameRoom);
    std::memcpy(name, it->second.data(), n);
    name[n] = '\0';
    return 1;
}

int32_t FX_STDCALL FontNameToNum(const char* name, uint32_t version) {
    H().Log("FX_FontNameToNum", {P(name), version}, name ? name : "");
    if (!name || !*name) return 0;
    const std::string wanted(name, strnlen(name, kNameRoom));
    Document& doc = H().CurrentDocument();
    if (H().refuseUnknownFonts &&
        std::none_of(doc.fonts.begin(), doc.fonts.end(),
                     [&](const auto& font) { return font.second == wanted; }))
        return 0;
    return doc.FontNumber(wanted);
}

}  // namespace plovikhost::svc
