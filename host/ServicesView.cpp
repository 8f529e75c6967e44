// The document window: what it shows, scrolling, menu items and redrawing.
#include <algorithm>
#include <cstring>

#include "Services.h"
#include "SubstituteHost.h"

namespace plovikhost::svc {

// Writes view.infoSize bytes: the record, then (for a host with a longer record) bytes the
// caller must not need.
int32_t FX_STDCALL GetCurrentWindowInfo(void* block, uint32_t version) {
    H().Log("FX_GetCurrentWindowInfo", {P(block), version});
    const WindowView& view = H().view;
    if (view.refuseInfo || !block) return 0;
    EWINDOWINFO info{};
    info.window = view.window;
    info.pageView = view.pageView ? 1 : 0;
    info.zoom = view.zoom;
    info.page = view.page;
    const size_t size = static_cast<size_t>(std::max<int32_t>(view.infoSize, 0));
    auto* bytes = static_cast<uint8_t*>(block);
    std::memcpy(bytes, &info, std::min(size, sizeof info));
    if (size > sizeof info) std::memset(bytes + sizeof info, 0xEE, size - sizeof info);
    return 1;
}

int32_t FX_STDCALL ScrollTo(int32_t measure, int32_t staff, uint32_t version) {
    H().Log("FX_ScrollTo", {measure, staff, version});
    H().view.scrolledMeasure = static_cast<int16_t>(measure);
    H().view.scrolledStaff = static_cast<int16_t>(staff);
    return 1;
}

int32_t FX_STDCALL ExecuteMenuItem(int32_t item, uint32_t version) {
    H().Log("FX_ExecuteMenuItem", {item, version});
    H().menuItems.push_back(item);
    return H().menuItemResult;
}

int32_t FX_STDCALL RedrawMusic(EREGION* region, uint32_t version) {
    H().Log("FX_RedrawMusic", {P(region), version});
    if (!region) return 0;
    H().redraws.push_back(*region);
    return 1;
}

}  // namespace plovikhost::svc
