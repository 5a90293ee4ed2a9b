// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>

// Calls a foreign library's function of one 32-bit integer without knowing its calling
// convention. On x86 a __stdcall function called as __cdecl, or the reverse, leaves the stack
// pointer 4 bytes off, and a register convention reads whatever the registers hold. The i386
// version keeps the stack pointer in a callee-saved register across the call, passes the value
// on the stack and in EAX, ECX and EDX, and puts the stack pointer back afterwards, so that any
// of these conventions gets the value and leaves the caller's stack as it was.
namespace kpx {

using ForeignFunction = void (*)();

#if defined(__i386__)
extern "C" void kpx_call_any_convention(ForeignFunction function, std::int32_t value);
#endif

inline void callAnyConvention(ForeignFunction function, std::int32_t value)
{
#if defined(__i386__)
    kpx_call_any_convention(function, value);
#else
    // x86-64 and other targets have a single C calling convention.
    reinterpret_cast<void (*)(std::int32_t)>(function)(value);
#endif
}

} // namespace kpx
