// The binding: lookup by name once, defaults of a host that lacks a service, result shaping,
// edit depth, and the services the binding treats specially.
#include <cstring>
#include <string>
#include <vector>

#include "HostTest.h"
#include "UiCalls.h"
#include "finalepdk.h"

class BindingTest : public HostTest {};

TEST_F(BindingTest, LooksEachServiceUpOnceEvenWhenMissing) {
    host().Hide("FX_GetMaxLayers");
    Relookup();
    EXPECT_EQ(FX_GetMaxLayers(FRAMEWORK_ENIGMA_VERSION), 4);
    EXPECT_EQ(FX_GetMaxLayers(FRAMEWORK_ENIGMA_VERSION), 4);
    EXPECT_EQ(FX_SlotToInst(1, 0, FRAMEWORK_ENIGMA_VERSION), 0);
    FX_SlotToInst(1, 0, FRAMEWORK_ENIGMA_VERSION);
    EXPECT_EQ(Lookups("FX_GetMaxLayers"), 1);
    EXPECT_EQ(Lookups("FX_SlotToInst"), 1);
    EXPECT_EQ(host().Count("FX_SlotToInst"), 2);
    EXPECT_EQ(host().Count("FX_GetMaxLayers"), 0);
}

// What the binding found stays found: a host that hid the service since sees it called.
TEST_F(BindingTest, AServiceHiddenAfterItWasFoundIsCalledAndReported) {
    EXPECT_EQ(FX_GetMaxLayers(FRAMEWORK_ENIGMA_VERSION), 4);
    host().Hide("FX_GetMaxLayers");
    FX_GetMaxLayers(FRAMEWORK_ENIGMA_VERSION);
    FX_GetMaxLayers(FRAMEWORK_ENIGMA_VERSION);
    ASSERT_EQ(host().Problems().size(), 1u);
    EXPECT_EQ(host().Problems()[0], "FX_GetMaxLayers was called, though the host lacks it");
    host().ClearProblems();
}

TEST_F(BindingTest, DefaultsOfAHostThatLacksTheService) {
    host().HideAll();
    Relookup();
    EXPECT_EQ(FX_GetMaxLayers(FRAMEWORK_ENIGMA_VERSION), 4);
    EXPECT_EQ(FX_CountParts(FRAMEWORK_ENIGMA_VERSION), -1);
    EXPECT_EQ(FX_GetCurrentPartID(FRAMEWORK_ENIGMA_VERSION), -1);
    EXPECT_EQ(FX_GetNextPartID(0, FRAMEWORK_ENIGMA_VERSION), -1);
    EXPECT_EQ(FX_GetPlaybackSystem(FRAMEWORK_ENIGMA_VERSION), -1);
    EXPECT_EQ(FX_ProcessMidiData(0, FRAMEWORK_ENIGMA_VERSION), -1);
    EXPECT_EQ(FX_GetTextEncoding(FRAMEWORK_ENIGMA_VERSION), -2);
    EXPECT_STREQ(FX_GetPartName(1, FRAMEWORK_ENIGMA_VERSION), " ");
    EXPECT_EQ(FX_LoadTGF(0, 1, 1, 0, 1, FRAMEWORK_ENIGMA_VERSION), nullptr);
    EXPECT_EQ(FX_GetCurrentEnigmaDocument(FRAMEWORK_ENIGMA_VERSION), 0);
    EXPECT_TRUE(host().Calls().empty());
}

TEST_F(BindingTest, AHostThatCannotTakeFramesBackIsNeverAskedForOne) {
    doc().instrumentLists[0] = {1};
    doc().measures.resize(1);
    host().Hide("FX_FreeTGF");
    Relookup();
    EXPECT_EQ(FX_LoadTGF(0, 1, 1, 0, 1, FRAMEWORK_ENIGMA_VERSION), nullptr);
    EXPECT_EQ(host().Count("FX_LoadTGF"), 0);
    host().ShowAll();
    Relookup();
    EXTGF2005a* frame = FX_LoadTGF(0, 1, 1, 0, 1, FRAMEWORK_ENIGMA_VERSION);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(FX_FreeTGF(frame, FRAMEWORK_ENIGMA_VERSION), 1);
}

TEST_F(BindingTest, NoModuleMeansEveryServiceIsMissingAndLookedUpOnce) {
    host().Install("");
    Relookup();
    EXPECT_EQ(GetFinaleHandle(), nullptr);
    EXPECT_EQ(FX_GetMaxLayers(FRAMEWORK_ENIGMA_VERSION), 4);
    EXPECT_EQ(FX_GetMaxLayers(FRAMEWORK_ENIGMA_VERSION), 4);
    EXPECT_EQ(Lookups("FX_GetMaxLayers"), 1);
    host().Install("FINALE.EXE");
}

// The module names are looked for in order, case-insensitively, and the answer is kept.
TEST_F(BindingTest, FindsTheHostUnderEitherModuleNameAndKeepsTheAnswer) {
    host().Install("findemo.exe");
    Relookup();
    EXPECT_NE(GetFinaleHandle(), nullptr);
#if defined(_WIN32)
    EXPECT_EQ(GetFinaleHandle(), GetModuleHandleA(nullptr));  // this program, as FINDEMO.EXE
#else
    EXPECT_EQ(GetFinaleHandle(), GetModuleHandleA("FINDEMO.EXE"));
#endif
    EXPECT_EQ(FX_GetCurrentEnigmaDocument(FRAMEWORK_ENIGMA_VERSION), 1);

    HINSTANCE first = GetFinaleHandle();
    host().Install("FINALE.EXE");  // too late: the handle was already looked up
    EXPECT_EQ(GetFinaleHandle(), first);
}

TEST_F(BindingTest, EditDepthCountsOnlyEditsTheHostOpened) {
    host().refuseEdits = true;
    EXPECT_EQ(FX_StartFinaleEdit("x", FRAMEWORK_ENIGMA_VERSION), 0);
    EXPECT_EQ(FinaleEditDepth, 0);
    EXPECT_EQ(FX_EndFinaleEdit(FRAMEWORK_ENIGMA_VERSION), 1);
    EXPECT_EQ(FX_CancelFinaleEdit(FRAMEWORK_ENIGMA_VERSION), 0);
    EXPECT_EQ(host().Count("FX_EndFinaleEdit") + host().Count("FX_CancelFinaleEdit"), 0);
}

TEST_F(BindingTest, EndAndCancelWithoutAnOpenEditNeverReachTheHost) {
    EXPECT_EQ(FX_EndFinaleEdit(FRAMEWORK_ENIGMA_VERSION), 1);
    EXPECT_EQ(FX_CancelFinaleEdit(FRAMEWORK_ENIGMA_VERSION), 0);
    EXPECT_EQ(FinaleEditDepth, 0);
    EXPECT_EQ(host().Count("FX_EndFinaleEdit"), 0);
    EXPECT_EQ(host().Count("FX_CancelFinaleEdit"), 0);

    EXPECT_EQ(FX_StartFinaleEdit("a", FRAMEWORK_ENIGMA_VERSION), 1);
    EXPECT_EQ(FX_StartFinaleEdit("b", FRAMEWORK_ENIGMA_VERSION), 1);
    EXPECT_EQ(FX_CancelFinaleEdit(FRAMEWORK_ENIGMA_VERSION), 1);
    EXPECT_EQ(FX_EndFinaleEdit(FRAMEWORK_ENIGMA_VERSION), 1);
    EXPECT_EQ(FinaleEditDepth, 0);
    ASSERT_EQ(host().Edits().size(), 2u);
    EXPECT_EQ(host().Edits()[0].state, plovikhost::EditRecord::ENDED);
    EXPECT_EQ(host().Edits()[1].state, plovikhost::EditRecord::CANCELLED);
}

TEST_F(BindingTest, EditsOfAHostWithoutEditServices) {
    host().Hide({"FX_StartFinaleEdit", "FX_EndFinaleEdit", "FX_CancelFinaleEdit"});
    Relookup();
    EXPECT_EQ(FX_StartFinaleEdit("x", FRAMEWORK_ENIGMA_VERSION), 0);
    EXPECT_EQ(FX_StartFinaleEdit("x", FRAMEWORK_ENIGMA_VERSION), 0);
    EXPECT_EQ(FinaleEditDepth, 0) << "no edit was opened";
    EXPECT_EQ(FX_EndFinaleEdit(FRAMEWORK_ENIGMA_VERSION), 1);
    EXPECT_EQ(FX_CancelFinaleEdit(FRAMEWORK_ENIGMA_VERSION), 0);
    EXPECT_EQ(Lookups("FX_StartFinaleEdit"), 1);
}

TEST_F(BindingTest, CancelledEditRestoresTheDocument) {
    const plovikhost::RecordId id{0x534F4D53, 1, 0, 0};
    doc().records.Put(id, {1, 2, 3});
    FX_StartFinaleEdit("change", FRAMEWORK_ENIGMA_VERSION);
    doc().records.Put(id, {9, 9, 9});
    FX_CancelFinaleEdit(FRAMEWORK_ENIGMA_VERSION);
    ASSERT_NE(doc().records.Find(id), nullptr);
    EXPECT_EQ(*doc().records.Find(id), (std::vector<uint8_t>{1, 2, 3}));
}

TEST_F(BindingTest, AnalyzeChordRaisesOldVersions) {
    FX_AnalyzeChord(1, 2, 3, 0x0A000000);
    EXPECT_EQ(host().LastCall("FX_AnalyzeChord")->args.back(), 0x0B000000);
    FX_AnalyzeChord(1, 2, 3, 0x0AFFFFFF);
    EXPECT_EQ(host().LastCall("FX_AnalyzeChord")->args.back(), 0x0B000000);
    FX_AnalyzeChord(1, 2, 3, FRAMEWORK_ENIGMA_VERSION);
    EXPECT_EQ(host().LastCall("FX_AnalyzeChord")->args.back(), FRAMEWORK_ENIGMA_VERSION);
}

TEST_F(BindingTest, DialogServicesUseWindowsForOldVersions) {
    HWND dialog = reinterpret_cast<HWND>(static_cast<intptr_t>(0x40));
    platform::ClearDialogCalls();
    EXPECT_EQ(FX_GetDlgCntl(dialog, 7, 0x0B01FFFF), platform::AnswerGetDlgItem(dialog, 7));
    FX_ShowHideDlgItem(dialog, 7, 1, 0x0B01FFFF);
    EXPECT_EQ(host().Count("FX_GetDlgCntl"), 0);
    EXPECT_EQ(host().Count("FX_ShowHideDlgItem"), 0);
    EXPECT_EQ(platform::DialogCalls().size(), 4u) << "GetDlgItem, ours, GetDlgItem, ShowWindow";

    EXPECT_EQ(FX_GetDlgCntl(dialog, 7, 0x0B020000), dialog);  // the host's answer
    FX_ShowHideDlgItem(dialog, 7, 0, 0x0B020000);
    EXPECT_EQ(host().Count("FX_GetDlgCntl"), 1);
    EXPECT_EQ(host().Count("FX_ShowHideDlgItem"), 1);
    EXPECT_EQ(platform::DialogCalls().size(), 4u);
}

TEST_F(BindingTest, DialogFallbackShowsOrHidesTheItem) {
    platform::ClearDialogCalls();
    HWND dialog = reinterpret_cast<HWND>(static_cast<intptr_t>(0x40));
    // ShowWindow's answer, whether the item was visible before, is passed on.
    EXPECT_EQ(FX_ShowHideDlgItem(dialog, 9, 2, 0x0B000000), 0);
    EXPECT_NE(FX_ShowHideDlgItem(dialog, 9, 1, 0x0B000000), 0);
    EXPECT_NE(FX_ShowHideDlgItem(dialog, 9, 0, 0x0B000000), 0);
    EXPECT_EQ(FX_ShowHideDlgItem(dialog, 9, 0, 0x0B000000), 0);
    host().Hide("FX_GetDlgCntl");
    Relookup();
    FX_GetDlgCntl(dialog, 5, FRAMEWORK_ENIGMA_VERSION);  // the host lacks it
    const std::vector<platform::DialogCall> calls = platform::DialogCalls();
    HWND item = platform::AnswerGetDlgItem(dialog, 9);
    ASSERT_EQ(calls.size(), 9u);
    EXPECT_EQ(calls[0].kind, platform::DialogCall::GET_DLG_ITEM);
    EXPECT_EQ(calls[0].value, 9);
    EXPECT_EQ(calls[1].kind, platform::DialogCall::SHOW_WINDOW);
    EXPECT_EQ(calls[1].window, item);
    EXPECT_EQ(calls[1].value, 1);
    EXPECT_EQ(calls[5].value, 0);
    EXPECT_EQ(calls[8].kind, platform::DialogCall::GET_DLG_ITEM);
    EXPECT_EQ(calls[8].value, 5);
}

// Result shaping, against host functions that answer full 32-bit values.
namespace {
int32_t FX_STDCALL Answer0x12345(FXARG, uint32_t) {
    return 0x00012345;
}
int32_t FX_STDCALL AnswerMinus1(FXARG, uint32_t) {
    return -1;
}
int32_t FX_STDCALL Answer0x1FF01(FXARG, FXARG, FXARG, uint32_t) {
    return 0x0001FF01;
}
int32_t FX_STDCALL Answer0x12300(uint32_t, uint32_t) {
    return 0x00012300;
}
int32_t FX_STDCALL AnswerMeasure(int32_t, int32_t, uint32_t) {
    return 0x00123456;
}
}  // namespace

TEST_F(BindingTest, ResultsAreShapedByKind) {
    ExportOnly({{"FX_StringToMidiNote", reinterpret_cast<void*>(&Answer0x12345)},
                {"FX_EnableBusyDetection", reinterpret_cast<void*>(&AnswerMinus1)},
                {"FX_CreatePercMapRefData", reinterpret_cast<void*>(&Answer0x1FF01)},
                {"FX_DisposeFinClipFileToken", reinterpret_cast<void*>(&Answer0x12300)},
                {"FX_GetMeasureDuration", reinterpret_cast<void*>(&AnswerMeasure)}});
    EXPECT_EQ(FX_StringToMidiNote(0, FRAMEWORK_ENIGMA_VERSION), 0x2345);  // signed 16
    EXPECT_EQ(FX_EnableBusyDetection(0, FRAMEWORK_ENIGMA_VERSION), -1);
    EXPECT_EQ(FX_CreatePercMapRefData(0, 0, FRAMEWORK_ENIGMA_VERSION), 0xFF01);  // unsigned 16
    EXPECT_EQ(FX_DisposeFinClipFileToken(1, FRAMEWORK_ENIGMA_VERSION), 0);  // low 8 bits: false
    EXPECT_EQ(FX_GetMeasureDuration(1, 1, FRAMEWORK_ENIGMA_VERSION), 0x123456);  // untouched
}

namespace {
int32_t lastSlot, lastList;
int32_t FX_STDCALL RecordSlotToInst(int32_t slot, uint32_t list, uint32_t) {
    lastSlot = slot;
    lastList = static_cast<int32_t>(list);
    return 0;
}
}  // namespace

TEST_F(BindingTest, ShortArgumentsArriveSignOrZeroExtended) {
    ExportOnly({{"FX_SlotToInst", reinterpret_cast<void*>(&RecordSlotToInst)}});
    FX_SlotToInst(-2, 0xFFFF, FRAMEWORK_ENIGMA_VERSION);
    EXPECT_EQ(lastSlot, -2);
    EXPECT_EQ(lastList, 0xFFFF);
}

// With every service missing, each binding function answers without calling anything.
namespace {
template <class F, class R, class... A>
R CallWithZeros(const F& function, R (*)(A...)) {
    return function(A{}...);
}

template <class R>
void ExpectDefault(const char* name, R got, R expected) {
    EXPECT_EQ(got, expected) << name;
}

void ExpectDefault(const char* name, const char* got, const char* expected) {
    EXPECT_STREQ(got, expected) << name;
}
}  // namespace

TEST_F(BindingTest, EveryServiceMissingCrashesNothing) {
    host().HideAll();
    Relookup();
    for (int pass = 0; pass < 2; ++pass) {
#define FX_CALL_ONE(kind, name, argc, shape, missing, Ret, Args)                        \
    {                                                                                   \
        using Row = fxrows::name##_row;                                                 \
        FinaleEditDepth = 1; /* so that ending or cancelling goes as far as the host */ \
        ExpectDefault(#name, CallWithZeros(name, static_cast<Row::Sig*>(nullptr)),      \
                      missing::Value<Ret>());                                           \
    }
        FX_CATALOGUE(FX_CALL_ONE)
#undef FX_CALL_ONE
    }
    EXPECT_TRUE(host().Calls().empty());
    EXPECT_EQ(Lookups("FX_LoadTGF"), 1);
    EXPECT_EQ(Lookups("FX_QueryAriaSlot"), 1);
}
