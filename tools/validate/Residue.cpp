// Residue: what loads and unloads of the module leave in the host's process. After two first
// cycles (the module, the system and the host may set up what they keep for good), a run of
// cycles must leave as many handles of each type (counted by enumeration), the same
// next free TLS index, as many heap bytes and blocks in every heap of the process and as many
// threads as it found. Each cycle loads the module, starts it, lists its commands, ties and
// unties the small score and unloads it. The run is made from the main thread and from a thread
// made with the system's own call, as a plain C host makes one.
//
// This program is built on mingw's C++ runtime and winpthreads, Finale is not; the measure is the
// same: the module's runtime is a copy of its own, linked into it, which shares no TLS index,
// record or lock with this program's and knows neither thread, and between two measures this
// program's own work is the same in every cycle, so all it keeps is kept by the first ones.
// On Linux: open file descriptors, thread-specific keys, threads, and the heap only under the
// sanitizers, which count the bytes in use exactly (glibc's own figures move by the few bytes a
// block may take beyond its size, and by what its per-thread caches hold).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// After <windows.h>, which they need.
#include <tlhelp32.h>
#include <winternl.h>
#else
#include <dirent.h>
#include <pthread.h>

#include <thread>
#endif

#include "SubstituteHost.h"
#include "Validator.h"

#if defined(__SANITIZE_ADDRESS__)
// The sanitizers' count of the bytes in use (GCC ships no header of it).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace plovikvalidate {

namespace {

constexpr int kFirstCycles = 2;  // not measured
constexpr int kCycles = 100;

// Handles of one type; a fixed table, since a measure must allocate nothing that outlives it.
struct TypeCount {
    char name[32];
    int count;
};
constexpr int kTypes = 32;

// What the process holds. A measure allocates nothing that outlives it, so that two measures
// compare only what happened between them.
struct Holdings {
    int handles = 0;  // Linux: open file descriptors
    TypeCount types[kTypes] = {};
    int typeCount = 0;
    uint64_t nextTls = 0;     // Linux: the next thread-specific key
    uint64_t heapBytes = 0;   // Linux: under the sanitizers only
    uint64_t heapBlocks = 0;  // Linux: not counted
    int threads = 0;
};

#if defined(_WIN32)

void CountType(Holdings& h, const char* name) {
    for (int i = 0; i < h.typeCount; ++i)
        if (std::strcmp(h.types[i].name, name) == 0) {
            ++h.types[i].count;
            return;
        }
    if (h.typeCount == kTypes) name = "other";
    TypeCount& type = h.types[h.typeCount < kTypes ? h.typeCount++ : kTypes - 1];
    std::snprintf(type.name, sizeof type.name, "%s", name);
    ++type.count;
}

// The type of a handle of this process, as the system names it ("Event", "Thread", ...).
void TypeName(HANDLE handle, char (&name)[32]) {
    alignas(8) unsigned char buffer[512];
    ULONG length = 0;
    name[0] = 0;
    if (!NT_SUCCESS(NtQueryObject(handle, ObjectTypeInformation, buffer, sizeof buffer, &length)))
        return;
    const auto* type = reinterpret_cast<const PUBLIC_OBJECT_TYPE_INFORMATION*>(buffer);
    const int units = type->TypeName.Length / 2;
    int i = 0;
    for (; i < units && i + 1 < static_cast<int>(sizeof name); ++i) {
        const wchar_t unit = type->TypeName.Buffer[i];
        name[i] = unit < 128 ? static_cast<char>(unit) : '?';
    }
    name[i] = 0;
}

void CountHandle(Holdings& h, HANDLE handle) {
    char name[32];
    TypeName(handle, name);
    ++h.handles;
    CountType(h, name[0] ? name : "unknown");
}

// One handle of the system's list (SystemExtendedHandleInformation), as it comes.
struct SystemHandle {
    void* object;
    ULONG_PTR process;
    ULONG_PTR value;
    ULONG access;
    USHORT creatorBackTrace;
    USHORT typeIndex;
    ULONG attributes;
    ULONG reserved;
};
static_assert(sizeof(SystemHandle) == (sizeof(void*) == 4 ? 28 : 40), "the system's record");
static_assert(offsetof(SystemHandle, value) == 2 * sizeof(void*), "the system's record");
static_assert(offsetof(SystemHandle, typeIndex) == 3 * sizeof(void*) + 6, "the system's record");
constexpr ULONG kSystemExtendedHandleInformation = 64;
constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);

// Every handle of the system, the process's own counted: Wine keeps no handle count of the
// process. The list lies outside the heaps, which a measure must leave alone.
bool CountListedHandles(Holdings& h) {
    SIZE_T size = 1 << 20;
    for (int attempt = 0; attempt < 6; ++attempt, size *= 2) {
        void* list = VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        if (!list) return false;
        ULONG length = 0;
        const NTSTATUS status = NtQuerySystemInformation(
            static_cast<SYSTEM_INFORMATION_CLASS>(kSystemExtendedHandleInformation), list,
            static_cast<ULONG>(size), &length);
        if (NT_SUCCESS(status)) {
            const ULONG_PTR count = *static_cast<const ULONG_PTR*>(list);
            const auto* handles = reinterpret_cast<const SystemHandle*>(
                static_cast<const unsigned char*>(list) + 2 * sizeof(ULONG_PTR));
            const ULONG_PTR self = GetCurrentProcessId();
            const ULONG_PTR room = (size - 2 * sizeof(ULONG_PTR)) / sizeof(SystemHandle);
            for (ULONG_PTR i = 0; i < count && i < room; ++i)
                if (handles[i].process == self)
                    CountHandle(h, reinterpret_cast<HANDLE>(handles[i].value));
        }
        VirtualFree(list, 0, MEM_RELEASE);
        if (status != kInfoLengthMismatch) return NT_SUCCESS(status);
    }
    return false;
}

// Where the system does not list its handles: every value a handle can take in a process that
// never held 16,000 at once (the system hands out the lowest free entry of its table), tried with
// a cheap call that only a handle answers.
void CountHandles(Holdings& h) {
    if (CountListedHandles(h)) return;
    h = Holdings{};
    DWORD flags = 0;
    for (uintptr_t value = 4; value < 0x10000; value += 4)
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags))
            CountHandle(h, reinterpret_cast<HANDLE>(value));
}

// Every heap: the C runtime's blocks may lie in a heap of its own (Wine's msvcrt has one).
void CountHeaps(Holdings& h) {
    HANDLE heaps[64];
    const DWORD count = GetProcessHeaps(64, heaps);
    for (DWORD i = 0; i < count && i < 64; ++i) {
        if (!HeapLock(heaps[i])) continue;
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) {
                h.heapBytes += entry.cbData;
                ++h.heapBlocks;
            }
        HeapUnlock(heaps[i]);
    }
}

Holdings Measure() {
    Holdings h;
    CountHandles(h);
    // The system hands out the lowest free index.
    const DWORD index = TlsAlloc();
    if (index != TLS_OUT_OF_INDEXES) TlsFree(index);
    h.nextTls = index;
    CountHeaps(h);
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot != INVALID_HANDLE_VALUE) {
        THREADENTRY32 thread{};
        thread.dwSize = sizeof thread;
        for (BOOL more = Thread32First(snapshot, &thread); more;
             more = Thread32Next(snapshot, &thread))
            if (thread.th32OwnerProcessID == GetCurrentProcessId()) ++h.threads;
        CloseHandle(snapshot);
    }
    return h;
}

#else

int CountEntries(const char* folder) {
    DIR* dir = opendir(folder);
    if (!dir) return -1;
    int count = 0;
    while (const dirent* entry = readdir(dir))
        if (entry->d_name[0] != '.') ++count;
    closedir(dir);
    return count;
}

Holdings Measure() {
    Holdings h;
    h.handles = CountEntries("/proc/self/fd") - 1;  // less the one reading the folder
    pthread_key_t key;
    if (pthread_key_create(&key, nullptr) == 0) {
        h.nextTls = key;
        pthread_key_delete(key);
    }
#if defined(__SANITIZE_ADDRESS__)
    h.heapBytes = __sanitizer_get_current_allocated_bytes();
#endif
    h.threads = CountEntries("/proc/self/task");
    return h;
}

#endif

int CountOf(const Holdings& h, const char* type) {
    for (int i = 0; i < h.typeCount; ++i)
        if (std::strcmp(h.types[i].name, type) == 0) return h.types[i].count;
    return 0;
}

// "5 before, 7 after".
std::string Figures(int64_t before, int64_t after) {
    return std::to_string(before) + " before, " + std::to_string(after) + " after";
}

// One failure per kind of holding that grew, with the figures.
void ExpectNoGrowth(Context& context, const Holdings& before, const Holdings& after) {
    const std::string run =
        std::to_string(kCycles) + " cycles after the first " + std::to_string(kFirstCycles) + " ";
    if (after.handles > before.handles) {
        std::string types;
        for (int i = 0; i < after.typeCount; ++i) {
            const int grown = after.types[i].count - CountOf(before, after.types[i].name);
            if (grown > 0)
                types += (types.empty() ? " (" : ", ") + std::to_string(grown) + " " +
                         after.types[i].name;
        }
        context.Fail(run + "left " + std::to_string(after.handles - before.handles) +
                     " more handles" + (types.empty() ? "" : types + ")") + ": " +
                     Figures(before.handles, after.handles));
    }
    if (after.nextTls > before.nextTls)
        context.Fail(run + "took TLS indices: the next free one was " +
                     std::to_string(before.nextTls) + ", is " + std::to_string(after.nextTls));
    const int64_t bytes = static_cast<int64_t>(after.heapBytes - before.heapBytes);
    const int64_t blocks = static_cast<int64_t>(after.heapBlocks - before.heapBlocks);
    if (bytes > 0 || blocks > 0)
        context.Fail(
            run + "left " + std::to_string(bytes) + " more heap bytes" +
            (after.heapBlocks ? " in " + std::to_string(blocks) + " more blocks" : "") + ": " +
            Figures(static_cast<int64_t>(before.heapBytes), static_cast<int64_t>(after.heapBytes)));
    if (after.threads > before.threads)
        context.Fail(run + "left " + std::to_string(after.threads - before.threads) +
                     " more threads: " + Figures(before.threads, after.threads));
}

void Cycle(Context& context) {
    context.Case();
    FreshHost();
    plovikhost::Host& host = plovikhost::Host::Get();
    SmallScore(host.CurrentDocument());
    Session session(context);
    if (!session.Loaded()) return;
    session.Start();
    char record[256] = {};
    const std::vector<uint32_t> indices = CommandIndices(context);
    for (uint32_t index = 0; index <= indices.size(); ++index)
        session.Module().enumerate(0, index, record);
    const EREGION region = host.CurrentDocument().WholeRegion();
    for (const uint32_t index : indices) session.Invoke(index, &region);
    session.Unload();
    ExpectHostClean(context, "after the unload");
}

void RunCycles(Context& context) {
    const int failures = context.Failures();
    // A module may stay from its first load on, and a system loader keep something the first
    // time a module comes back (glibc's, 2,304 bytes at the second load under the sanitizers);
    // and whatever a first measure sets up for good is not the module's either.
    for (int cycle = 0; cycle < kFirstCycles; ++cycle) Cycle(context);
    Measure();
    const Holdings before = Measure();
    for (int cycle = 0; cycle < kCycles && context.Failures() == failures; ++cycle) Cycle(context);
    const Holdings after = Measure();
    if (context.Failures() == failures) ExpectNoGrowth(context, before, after);
}

#if defined(_WIN32)
DWORD WINAPI RunOnHostThread(LPVOID context) {
    RunCycles(*static_cast<Context*>(context));
    return 0;
}
#endif

}  // namespace

void UnloadResidue(Context& context) {
    context.Label("from the main thread");
    RunCycles(context);
    context.Label("from a thread of the host");
#if defined(_WIN32)
    HANDLE thread = CreateThread(nullptr, 0, &RunOnHostThread, &context, 0, nullptr);
    if (!thread) {
        context.Fail("cannot start a thread");
    } else {
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
    }
#else
    std::thread([&context] { RunCycles(context); }).join();
#endif
    context.Label("");
}

}  // namespace plovikvalidate
