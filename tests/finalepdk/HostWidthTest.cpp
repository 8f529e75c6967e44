// Every value that crosses to the host is 32 bits wide (pointers aside) on every build: nothing
// depends on the width of long or on a 64-bit pointer, so the same tests pass on 64-bit Linux
// and on 32-bit Windows (where the catalogue's argument bytes are also the __stdcall @N).
#include <cstring>
#include <type_traits>

#include "HostTest.h"
#include "PlovikTie.h"
#include "finalepdk.h"

namespace {

template <typename T>
constexpr bool kHostWidth = sizeof(T) == 4 || std::is_pointer<T>::value
                            || std::is_same<T, FXARG>::value;
// long is 64-bit on Linux and 32-bit on Windows (DWORD is unsigned long there): never in the
// host interface, except as the pointer-wide FXARG (intptr_t) where that is long.
template <typename T>
constexpr bool kNoLong = std::is_same<T, FXARG>::value ||
                         (!std::is_same<std::remove_cv_t<T>, long>::value &&
                          !std::is_same<std::remove_cv_t<T>, unsigned long>::value);

template <typename Sig>
struct HostCall;
template <typename R, typename... A>
struct HostCall<R(A...)> {
    template <typename T>
    using W = typename fxdetail::Widened<T>::type;
    static constexpr bool kFits = kHostWidth<R> && (kHostWidth<W<A>> && ...);
    static constexpr bool kNoLongs = kNoLong<R> && (kNoLong<A> && ...);
    static constexpr size_t kStackBytes = (size_t{0} + ... + sizeof(W<A>));
};

#define CHECK_WIDTHS(kind, name, argc, shape, missing, Ret, Args)                                  \
    static_assert(HostCall<fxrows::name##_row::Sig>::kFits, #name ": a value wider than 32 bits"); \
    static_assert(HostCall<fxrows::name##_row::Sig>::kNoLongs, #name ": long has no fixed width"); \
    static_assert(                                                                                 \
        sizeof(void*) != 4 || HostCall<fxrows::name##_row::Sig>::kStackBytes == 4 * argc,          \
        #name ": the host takes 4 bytes per argument");
FX_CATALOGUE(CHECK_WIDTHS)
#undef CHECK_WIDTHS

class HostWidthTest : public HostTest {};

}  // namespace

TEST_F(HostWidthTest, VersionsAndTagsArriveAsUnsigned32BitValues) {
    FX_GetMaxLayers(0xFFFFFFFFu);
    ASSERT_NE(host().LastCall("FX_GetMaxLayers"), nullptr);
    EXPECT_EQ(host().LastCall("FX_GetMaxLayers")->args[0], 0xFFFFFFFFll);

    uint8_t key[8] = {};
    FX_DeleteEData(0x80000001u, key, 0x80000000u);
    const plovikhost::CallRecord* call = host().LastCall("FX_DeleteEData");
    ASSERT_NE(call, nullptr);
    EXPECT_EQ(call->args[0], 0x80000001ll);
    EXPECT_EQ(call->args[2], 0x80000000ll);
}

TEST_F(HostWidthTest, EntryPointsKeepTheTopBit) {
    EXPECT_EQ(FinaleExtensionVersion(0xFFFFFFFFu), 0xFFFFFFFFu);
    EXPECT_EQ(RunningFinaleVersion, 0xFFFFFFFFu);

    // The flag word may lie unaligned in the host's memory; its top bit survives.
    uint8_t words[8] = {};
    const uint32_t before = 0xFFFFFFFEu;
    std::memcpy(words + 1, &before, 4);
    EXPECT_EQ(FinaleExtensionInit(0, reinterpret_cast<uint32_t*>(words + 1)), 1u);
    uint32_t after = 0;
    std::memcpy(&after, words + 1, 4);
    EXPECT_EQ(after, 0xFFFFFFFFu);
}
