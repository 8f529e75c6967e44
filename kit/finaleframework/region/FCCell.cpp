#include "FCCell.h"

#include "FCKeySignature.h"
#include "FXBinding.h"

namespace {
constexpr uint32_t V = FRAMEWORK_ENIGMA_VERSION;

bool IsLayerSelected(int layers, int layer) {
    if (layers == -1) return true;
    if (layers == 0) return FX_GetShowLayer(static_cast<int16_t>(layer), V) != 0;
    return layer + 1 == layers;
}
}  // namespace

FCCell::~FCCell() {
    delete _keySignature;
}

void FCCell::_SetKeySignature(FCKeySignature* key) {
    if (key == _keySignature) return;
    delete _keySignature;
    _keySignature = key;
}

int32_t FCCell::CalcEntryDuration(int layers) {
    int32_t result = 0;
    for (int layer = 0; layer < FX_GetMaxLayers(V); ++layer) {
        if (!IsLayerSelected(layers, layer)) continue;
        const int16_t slot =
            static_cast<int16_t>(FX_InstToSlot(static_cast<int16_t>(_staff), 0, V));
        EXTGF2005a* frame =
            FX_LoadTGF(0, slot, static_cast<int16_t>(_measure), static_cast<int16_t>(layer), 1, V);
        if (!frame) continue;
        const int32_t duration = FX_GetTGFDuration(frame, V);
        FX_FreeTGF(frame, V);
        if (duration > result) result = duration;
    }
    return result;
}
