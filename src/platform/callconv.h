#pragma once

// Calling conventions of the host's x86 code. Both builds are 32-bit x86 with GCC, so
// the same attributes name the same conventions on Windows and on Linux.
#define KH_CDECL __attribute__((cdecl))
#define KH_STDCALL __attribute__((stdcall))
#define KH_THISCALL __attribute__((thiscall))

#include <type_traits>

// What a function may return across the host boundary. The host's compiler returns small
// structures in EAX:EDX, as mingw does, but g++ for Linux returns them through a hidden
// pointer: such a signature would work in the simulated host and break the real one's
// stack. Values and pointers only, then.
template <class R>
inline constexpr bool host_returnable = !std::is_class_v<R> && !std::is_union_v<R>;

template <class F>
struct host_function_result;

template <class R, class... A>
struct host_function_result<R(A...)> {
    using type = R;
};

template <class R, class... A>
struct host_function_result<R KH_THISCALL(A...)> {
    using type = R;
};
