#pragma once

#include <cstdint>

// The host is a 32-bit program: its addresses are uint32_t, and the plug-in's pointers fit
// in them. The two conversions between them, written once.

// The address a pointer to host or plug-in code or data has in the host's address space.
template <class T>
uint32_t addressOf(T* pointer)
{
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer));
}

// The pointer (to data, or a function pointer type) at an address of the host's space.
template <class Pointer = void*>
Pointer pointerTo(uint32_t address)
{
    return reinterpret_cast<Pointer>(uintptr_t{address});
}
