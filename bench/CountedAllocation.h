// The global allocation functions of a benchmark, replaced so that it can count what it
// allocates. Every form of new and delete lands in these two, which each benchmark defines.
#pragma once

#include <cstddef>

void* BenchAllocate(std::size_t size);  // null when out of memory
void BenchFree(void* p);                // p may be null
