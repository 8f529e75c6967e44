#include "CountedAllocation.h"

#include <new>

void* operator new(std::size_t size) {
    if (void* p = BenchAllocate(size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return BenchAllocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return BenchAllocate(size);
}
void operator delete(void* p) noexcept {
    BenchFree(p);
}
void operator delete[](void* p) noexcept {
    BenchFree(p);
}
void operator delete(void* p, std::size_t) noexcept {
    BenchFree(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    BenchFree(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    BenchFree(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    BenchFree(p);
}
