// The Enigma tag functions of FCString on arbitrary text. The first byte chooses how the rest
// becomes units: bytes sign-extended one by one (as text from the host arrives), or pairs of
// bytes as whole 16-bit units. Every function runs; a disagreement between them aborts.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "SubstituteHost.h"
#include "finaleframework.h"

namespace {

void Setup() {
    plovikhost::Host& host = plovikhost::Host::Get();
    host.Reset();
    host.Install("FINALE.EXE");
    host.CurrentDocument().fonts[7] = "Seven";
}

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = (Setup(), true);
    (void)ready;
    if (size == 0) return 0;
    FCString text;
    if (data[0] & 1) {
        for (size_t i = 1; i + 1 < size; i += 2)
            text.Append(static_cast<int16_t>(data[i] | data[i + 1] << 8));
    } else {
        for (size_t i = 1; i < size; ++i)
            text.Append(static_cast<int16_t>(static_cast<int8_t>(data[i])));
    }
    const int length = text.GetLength();

    std::unique_ptr<FCStrings> tags(text.CreateEnigmaStrings());
    Require(tags != nullptr);
    for (int i = 0; i < tags->GetCount(); ++i) {
        auto* tag = static_cast<FCString*>(tags->GetItemAt(i));
        Require(tag && tag->IsCharacter(0, "^"));
        std::unique_ptr<FCStrings> parts(tag->CreateEnigmaComponents());
        Require(parts != nullptr || tag->GetLength() <= 1);
    }
    std::unique_ptr<FCFontInfo> font(text.CreateLastFontInfo());
    Require(font && std::strlen(font->GetName()) < 256);

    FCString fontTrimmed;
    fontTrimmed.SetString(&text);
    fontTrimmed.TrimEnigmaFontTags();
    Require(fontTrimmed.GetLength() <= length);
    const bool anyTag = text.TrimEnigmaTags();
    Require(anyTag == (tags->GetCount() > 0));
    Require(text.GetLength() <= length);

    plovikhost::Host::Get().ClearCalls();  // the call log would grow without bound
    return 0;
}
