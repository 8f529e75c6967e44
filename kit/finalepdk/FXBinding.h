// The host binding: one function per host service, named as the host names it. On first use each
// looks its host function up by name in the host module and caches it (a missing one too), then
// forwards its arguments, shaping the result; a service the host lacks answers its default
// without any call. The services themselves are listed in FXCatalogue.h.
#pragma once

#include <cstdint>
#include <type_traits>

#include "FXCatalogue.h"
#include "FXRecords.h"
#include "FXTypes.h"
#include "Platform.h"

// The running host's version; FRAMEWORK_ENIGMA_VERSION until the host tells its own.
extern uint32_t RunningFinaleVersion;
void SetFinaleFrameworkVersion(uint32_t version);

// Host edits begun and not yet ended or cancelled.
extern int32_t FinaleEditDepth;

// The host module ("FINALE.EXE", else "FINDEMO.EXE"), looked up once; null when neither exists.
HINSTANCE GetFinaleHandle();

// Forgets the host module, every cached host function, the edit depth and the running version,
// as if the module had just been loaded: when the host terminates the plug-in, and in tests.
void _ResetFinaleBinding();

// Test-only: a filter every look-up of the binding passes through.
// It comes after the system has answered, so that a test can play a host that goes by another
// module name or lacks services where the system's look-up cannot be changed (on Windows).
// Each function gets the system's answer and returns the one the binding keeps. No filter (the
// default): the system's answers stand.
struct FXLookupFilter {
    HINSTANCE (*module)(const char* moduleName, HINSTANCE found);
    FARPROC (*service)(HINSTANCE module, const char* serviceName, FARPROC found);
};
void _SetFinaleLookupFilter(const FXLookupFilter* filter);

enum class FXShape { S16, U16, Bool8, Raw };

// What a binding function answers when the host lacks its service, one type per policy.
// FXRequired: the host is expected to have it; answer 0 (null) rather than crash.
struct FXRequired {
    template <typename R>
    static R Value() {
        return R{};
    }
};
// The host lacks the service: answer 0.
struct FXZero {
    template <typename R>
    static R Value() {
        return R{};
    }
};
// The host lacks the service: answer V.
template <int32_t V>
struct FXIfMissing {
    template <typename R>
    static R Value() {
        return static_cast<R>(V);
    }
};
// The host lacks the service: answer a text of one blank.
struct FXBlankIfMissing {
    template <typename R>
    static R Value() {
        return " ";
    }
};
// The host lacks the service: the binding function in FXBinding.cpp asks Windows instead.
struct FXWindowsFallback {
    template <typename R>
    static R Value() {
        return R{};
    }
};

namespace fxdetail {

// The host's function of that name in the host module, through the test filter if one is set.
FARPROC LookUpService(const char* name);

// Arguments the host declares as 16-bit travel as 32-bit values, sign- or zero-extended.
template <typename T>
struct Widened {
    using type = T;
};
template <>
struct Widened<int16_t> {
    using type = int32_t;
};
template <>
struct Widened<uint16_t> {
    using type = uint32_t;
};

template <class Row, typename Sig>
class Service;

template <class Row, typename R, typename... A>
class Service<Row, R(A...)> {
  public:
    using HostFn = R(FX_STDCALL*)(typename Widened<A>::type...);
    static_assert(sizeof...(A) == Row::kArgc, "the catalogue's argument count");

    R operator()(A... args) const {
        HostFn fn = Proc();
        if (!fn) return Row::Missing::template Value<R>();
        return Shape(fn(static_cast<typename Widened<A>::type>(args)...));
    }

    // Whether the host has the service (looked up once, like every call).
    static bool Available() { return Proc() != nullptr; }

    static HostFn Proc() {
        if (!looked) {
            FARPROC found = LookUpService(Row::kName);
            // Through void(*)(): the one function pointer type every other converts from cleanly.
            fpProc = reinterpret_cast<HostFn>(reinterpret_cast<void (*)()>(found));
            looked = true;
        }
        return fpProc;
    }

    static void Reset() {
        fpProc = nullptr;
        looked = false;
    }

  private:
    static R Shape(R result) {
        if constexpr (Row::kShape == FXShape::S16) {
            return static_cast<R>(static_cast<int16_t>(result));
        } else if constexpr (Row::kShape == FXShape::U16) {
            return static_cast<R>(static_cast<uint16_t>(result));
        } else if constexpr (Row::kShape == FXShape::Bool8) {
            return static_cast<R>(static_cast<uint8_t>(result));
        } else {
            return result;
        }
    }

    static inline HostFn fpProc = nullptr;
    static inline bool looked = false;
};

}  // namespace fxdetail

// One row type per service; HostFn is the exact type of the host's export.
#define FX_DEFINE_ROW(kind, name, argc, shape, missing, Ret, Args) \
    struct name##_row {                                            \
        static constexpr const char* kName = #name;                \
        static constexpr int kArgc = argc;                         \
        static constexpr FXShape kShape = FXShape::shape;          \
        using Missing = missing;                                   \
        using Sig = Ret Args;                                      \
    };
namespace fxrows {
FX_CATALOGUE(FX_DEFINE_ROW)
}
#undef FX_DEFINE_ROW

template <class Row>
using FXService = fxdetail::Service<Row, typename Row::Sig>;

// The exact type of the host function behind a service, for hosts that export it.
#define FX_HOST_FN(name) FXService<fxrows::name##_row>::HostFn

// Binding functions of kind P, and the plain forwarders of kind W.
#define FX_DEFINE_P(name) inline constexpr FXService<fxrows::name##_row> name{};
#define FX_DEFINE_W(name)                                  \
    namespace fxraw {                                      \
    inline constexpr FXService<fxrows::name##_row> name{}; \
    }
#define FX_DEFINE_SERVICE(kind, name, argc, shape, missing, Ret, Args) FX_DEFINE_##kind(name)
FX_CATALOGUE(FX_DEFINE_SERVICE)
#undef FX_DEFINE_SERVICE
#undef FX_DEFINE_P
#undef FX_DEFINE_W

// Binding functions that do some work before (or instead of) calling the host.
// FX_LoadTGF: a frame the host could never take back (it lacks FX_FreeTGF) is not asked for:
// null, as for a frame the host cannot give.
EXTGF2005a* FX_LoadTGF(uint16_t list, int16_t slot, int16_t measure, int16_t layer,
                       int16_t loadMode, uint32_t version);
int32_t FX_InsertEXENTRY(EXTGF2005a* frame, int16_t index, int16_t count, uint32_t version);
int32_t FX_DeleteEXENTRY(EXTGF2005a* frame, int16_t index, int16_t count, uint32_t version);
int32_t FX_SaveTGF(EXTGF2005a* frame, uint32_t version);
int32_t FX_ReduceEntries(EXTGF2005a* frame, uint32_t version);
int32_t FX_LoadEData(uint32_t tag, void* key, void* buffer, int32_t* size, uint32_t version);
int32_t FX_SaveEData(uint32_t tag, void* key, void* buffer, int32_t size, uint32_t version);
int32_t FX_CreateEData(uint32_t tag, void* key, void* buffer, int32_t size, uint32_t version);
int32_t FX_PreviousEData(uint32_t tag, void* key, void* buffer, int32_t size, uint32_t version);
int32_t FX_NextEData(uint32_t tag, void* key, void* buffer, int32_t size, uint32_t version);
int32_t FX_ShowHideDlgItem(HWND dialog, int32_t item, int16_t show, uint32_t version);
HWND FX_GetDlgCntl(HWND dialog, int32_t item, uint32_t version);
int32_t FX_StartFinaleEdit(const char* name, uint32_t version);
int32_t FX_EndFinaleEdit(uint32_t version);
int32_t FX_CancelFinaleEdit(uint32_t version);
int32_t FX_AnalyzeChord(FXARG a, FXARG b, FXARG c, uint32_t version);

// Corrects the version of a data-record call from the record's tag and size (and warns the
// plug-in developer about a 2004 layout sent with a version that is too old).
void HandleEnigmaVersion(uint32_t tag, int32_t size, uint32_t& version);

// Cleans an entry frame before the host stores or reshapes it: note IDs made unique and copied
// into the note flags, unused note records cleared, rests given a note record.
void CleanTGF(const EXTGF2005a* frame, bool);
extern bool CanAddNoteRecordToRests;
