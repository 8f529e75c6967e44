// Windows DLL only: the thread-local storage indices the DLL's runtime takes go back when the
// host unloads the DLL.
//
// The C and C++ runtimes are linked into the DLL, among them winpthreads (mingw's POSIX threads,
// which libstdc++ and libgcc are built on). As the DLL loads, libgcc registers the DLL's unwind
// tables (__register_frame_info, called by crtbegin's __gcc_register_frame), guarded by a
// pthread_once; winpthreads' pthread_once asks for the calling thread's record, and the first
// such request takes a TLS index (TlsAlloc) to keep it in. Winpthreads is written to live as
// long as the process and never gives the index back, so every LoadLibrary of the DLL, with its
// fresh copy of the runtime, took one more: after about a thousand loads and unloads TlsAlloc
// fails and winpthreads aborts the host.
//
// So every TlsAlloc of this module goes through its import pointer, defined here (the linker
// takes this definition and leaves out kernel32's import of TlsAlloc): each index is noted, and
// DllMain frees them when the DLL is unloaded. By then nothing in the DLL needs them: the TLS
// callbacks have run, and what the runtime does after DllMain (the unwind tables taken back,
// static objects destroyed) passes winpthreads' once-guards without asking for a thread record.
// When the process ends the indices are left as they are.
#if defined(_WIN32) && defined(PLOVIK_BUILDING_PLUGIN)

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace {

// The runtime takes one; a few more leave room for what a later runtime may take.
constexpr LONG kMaxIndices = 16;
DWORD takenIndices[kMaxIndices];
volatile LONG takenCount = 0;

DWORD WINAPI NotedTlsAlloc() {
    using TlsAllocFn = DWORD(WINAPI*)();
    static TlsAllocFn system = nullptr;
    if (!system) {
        // Through void(*)(): the one function pointer type every other converts from cleanly.
        system = reinterpret_cast<TlsAllocFn>(reinterpret_cast<void (*)()>(
            GetProcAddress(GetModuleHandleA("kernel32.dll"), "TlsAlloc")));
        if (!system) return TLS_OUT_OF_INDEXES;
    }
    const DWORD index = system();
    if (index != TLS_OUT_OF_INDEXES) {
        const LONG slot = InterlockedIncrement(&takenCount) - 1;
        if (slot < kMaxIndices) takenIndices[slot] = index;
    }
    return index;
}

}  // namespace

// The import pointer every call of TlsAlloc in the module goes through, under its linker name.
extern "C" DWORD(WINAPI* const plovikTlsAllocImport)() __asm__("__imp__TlsAlloc@0");
extern "C" DWORD(WINAPI* const plovikTlsAllocImport)() = &NotedTlsAlloc;

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    // Unloaded by FreeLibrary (reserved is null), not the process ending.
    if (reason == DLL_PROCESS_DETACH && !reserved) {
        const LONG n = takenCount < kMaxIndices ? takenCount : kMaxIndices;
        for (LONG i = 0; i < n; ++i) TlsFree(takenIndices[i]);
        takenCount = 0;
    }
    return TRUE;
}

#endif
