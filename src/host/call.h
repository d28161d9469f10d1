#pragma once

#include <cstdint>
#include <cstring>

#include "platform/address.h"
#include "platform/callconv.h"

// How the plug-in reaches the host: functions are called at their fixed address with the
// host's calling convention; data and record fields are read and written byte-wise at
// their address (host data is often unaligned, so no typed pointer is formed).

namespace host {

template <uint32_t Address, class Signature>
struct Cdecl;

template <uint32_t Address, class R, class... A>
struct Cdecl<Address, R(A...)> {
    static_assert(host_returnable<R>, "host functions return values or pointers, never structures");
    static constexpr uint32_t address = Address;
    using Pointer = R(KH_CDECL*)(A...);
    R operator()(A... a) const { return pointerTo<Pointer>(address)(a...); }
};

// The first parameter travels in ECX as the object pointer; the callee removes the rest.
template <uint32_t Address, class Signature>
struct Thiscall;

template <uint32_t Address, class R, class Self, class... A>
struct Thiscall<Address, R(Self, A...)> {
    static_assert(host_returnable<R>, "host functions return values or pointers, never structures");
    static constexpr uint32_t address = Address;
    using Pointer = R(KH_THISCALL*)(Self, A...);
    R operator()(Self self, A... a) const
    {
        return pointerTo<Pointer>(address)(self, a...);
    }
};

template <class T>
T load(uint32_t address)
{
    T value;
    std::memcpy(&value, pointerTo<const void*>(address), sizeof value);
    return value;
}

template <class T>
void store(uint32_t address, T value)
{
    std::memcpy(pointerTo<void*>(address), &value, sizeof value);
}

template <uint32_t Address, class T>
struct Datum {
    static constexpr uint32_t address = Address;
    T get() const { return load<T>(address); }
    void set(T value) const { store<T>(address, value); }
    void* pointer() const { return pointerTo<void*>(address); }
};

// A field at a fixed offset of a host record.
template <uint32_t Offset, class T>
struct Field {
    static constexpr uint32_t offset = Offset;
    T of(const void* record) const { return load<T>(addressOf(record) + offset); }
    void set(void* record, T value) const { store<T>(addressOf(record) + offset, value); }
};

} // namespace host
