// Windows DLL only: from its first load on, the module stays in the host's process until the
// process ends, however often the host unloads and loads it again.
//
// The C and C++ runtimes are linked into the DLL, and they are written to live as long as the
// process. Loading the DLL makes winpthreads (mingw's POSIX threads, under libgcc and libstdc++)
// keep a record of the loading thread (a duplicated thread handle and an event) in a TLS index of
// its own; libgcc's unwinder and libstdc++ allocate mutexes on first use and libstdc++ its pool
// for exceptions thrown when memory runs out. None of it is given back when the DLL is unloaded,
// and Windows tells no thread that it was: unloaded as the host pleased, every cycle left two
// handles, five heap blocks (19 KB) and a TLS index, until winpthreads found none left and aborted
// the host. It is the runtime's own code that does so, not the system's, so it happens on
// Windows exactly as under Wine.
//
// So the module pins itself (GetModuleHandleEx with GET_MODULE_HANDLE_EX_FLAG_PIN, the loader's
// own mechanism): a later LoadLibrary finds it loaded and FreeLibrary leaves it, so a load and
// unload after the first takes nothing from the process; and the runtime's thread-detach
// callbacks stay in place, freeing the record of every thread, not only the loading one, when
// that thread ends. Given up: freeing the runtime's records on unload (that needs winpthreads'
// private layout, reaches only the unloading thread, and leaves the mutexes and the pool), and
// a runtime without winpthreads (GCC's win32 threads still make a semaphore for the unwinder's
// mutex on every load, and the pool is the same). The module's static state outlives an unload
// too; FinaleExtensionTerminate forgets the host so that the next load starts afresh.
#if defined(_WIN32) && defined(PLOVIK_BUILDING_PLUGIN)

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    // A module that could not pin itself refuses to load: unloaded, it would cost the host a TLS
    // index each time, and winpthreads aborts the process once they run out.
    HMODULE self = nullptr;
    return GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
        reinterpret_cast<LPCWSTR>(&DllMain), &self);
}

#endif
