#include "plugin_heap.h"

#include <cstdlib>
#include <new>

namespace sim {

uint32_t allocations = 0;
uint32_t newCalls = 0;
uint32_t newFailsAt = 0;

// Counts an allocation by new, and throws where the scenario runs the game out of memory.
void countNew()
{
    ++allocations;
    if (++newCalls == newFailsAt)
        throw std::bad_alloc();
}

uint32_t pluginHeapAllocations() { return allocations; }

void resetPluginHeapAllocations() { allocations = 0; }

bool pluginHeapCounted() { return true; }

void failPluginNewAt(uint32_t n)
{
    newFailsAt = n;
    newCalls = 0;
}

uint32_t pluginNewCalls() { return newCalls; }

} // namespace sim

// The library's references to these names are bound to the wrappers at its link; each
// wrapper counts and calls the real function of this process.
extern "C" {

void* __wrap_malloc(size_t size)
{
    ++sim::allocations;
    return std::malloc(size);
}

void* __wrap_calloc(size_t count, size_t size)
{
    ++sim::allocations;
    return std::calloc(count, size);
}

void* __wrap_realloc(void* pointer, size_t size)
{
    ++sim::allocations;
    return std::realloc(pointer, size);
}

void* __wrap__Znwj(size_t size)
{
    sim::countNew();
    return ::operator new(size);
}

void* __wrap__Znaj(size_t size)
{
    sim::countNew();
    return ::operator new[](size);
}

void* __wrap__ZnwjRKSt9nothrow_t(size_t size, const std::nothrow_t& tag) noexcept
{
    ++sim::allocations;
    return ::operator new(size, tag);
}

void* __wrap__ZnajRKSt9nothrow_t(size_t size, const std::nothrow_t& tag) noexcept
{
    ++sim::allocations;
    return ::operator new[](size, tag);
}

void* __wrap__ZnwjSt11align_val_t(size_t size, std::align_val_t alignment)
{
    sim::countNew();
    return ::operator new(size, alignment);
}

void* __wrap__ZnajSt11align_val_t(size_t size, std::align_val_t alignment)
{
    sim::countNew();
    return ::operator new[](size, alignment);
}

} // extern "C"
