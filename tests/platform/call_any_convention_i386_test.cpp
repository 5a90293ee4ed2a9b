// SPDX-License-Identifier: GPL-2.0-or-later
// The i386 thunk of callAnyConvention against callees of four conventions: each must receive
// the value, and the caller's stack pointer and callee-saved registers must come back unchanged.
// A plain i386 program with no library beyond the C runtime, so that it runs under user-mode
// emulation (qemu-i386-static) on machines that execute no 32-bit code themselves.
#include <cstdint>
#include <cstdio>
#include <initializer_list>

#include "platform/call_any_convention.h"

#if !defined(__i386__)
#error "an i386 test"
#endif

namespace {

volatile std::int32_t received = 0;

extern "C" {
__attribute__((noinline, cdecl)) void cdeclCallee(std::int32_t value)
{
    received = value;
}
__attribute__((noinline, stdcall)) void stdcallCallee(std::int32_t value)
{
    received = value;
}
__attribute__((noinline, fastcall)) void fastcallCallee(std::int32_t value)
{
    received = value;
}
__attribute__((noinline, regparm(1))) void registerCallee(std::int32_t value)
{
    received = value;
}
// What a harmless callee may do to the registers it is free to use.
__attribute__((noinline, stdcall)) void clobberingCallee(std::int32_t value)
{
    received = value;
    asm volatile("movl $0x5a5a5a5a, %%eax\n movl $0x5a5a5a5a, %%ecx\n movl $0x5a5a5a5a, %%edx" ::: "eax", "ecx", "edx");
}
}

// The registers the caller relies on, before and after one call through the thunk.
struct Registers {
    std::uint32_t ebx, esi, edi, ebp, esp;
};
} // namespace
extern "C" {
Registers before;
Registers after;
}
namespace {

// Records the registers, calls the thunk with the function and the value, records them again.
// Distinct values in EBX, ESI and EDI show a thunk that loses them.
extern "C" void probeCall(kpx::ForeignFunction function, std::int32_t value);
asm(".text\n"
    ".globl probeCall\n"
    "probeCall:\n"
    "    pushl %ebp\n"
    "    movl %esp, %ebp\n"
    "    pushl %ebx\n"
    "    pushl %esi\n"
    "    pushl %edi\n"
    "    movl $0x11111111, %ebx\n"
    "    movl $0x22222222, %esi\n"
    "    movl $0x33333333, %edi\n"
    "    pushl 12(%ebp)\n"
    "    pushl 8(%ebp)\n"
    "    movl %ebx, before+0\n"
    "    movl %esi, before+4\n"
    "    movl %edi, before+8\n"
    "    movl %ebp, before+12\n"
    "    movl %esp, before+16\n"
    "    call kpx_call_any_convention\n"
    "    movl %ebx, after+0\n"
    "    movl %esi, after+4\n"
    "    movl %edi, after+8\n"
    "    movl %ebp, after+12\n"
    "    movl %esp, after+16\n"
    "    addl $8, %esp\n"
    "    popl %edi\n"
    "    popl %esi\n"
    "    popl %ebx\n"
    "    popl %ebp\n"
    "    ret\n");

int failures = 0;

void check(const char *name, kpx::ForeignFunction function, std::int32_t value)
{
    received = 0;
    probeCall(function, value);
    const bool ok = received == value && before.ebx == after.ebx && before.esi == after.esi && before.edi == after.edi
        && before.ebp == after.ebp && before.esp == after.esp;
    std::printf("%s %s: got %ld; esp %+ld, ebx %s, esi %s, edi %s, ebp %s\n", ok ? "ok  " : "FAIL", name,
        static_cast<long>(received), static_cast<long>(after.esp) - static_cast<long>(before.esp),
        before.ebx == after.ebx ? "kept" : "LOST", before.esi == after.esi ? "kept" : "LOST",
        before.edi == after.edi ? "kept" : "LOST", before.ebp == after.ebp ? "kept" : "LOST");
    if (!ok)
        ++failures;
}

template <typename Function> kpx::ForeignFunction foreign(Function *function)
{
    return reinterpret_cast<kpx::ForeignFunction>(function);
}

} // namespace

int main()
{
    for (const std::int32_t value : { 1, -7 }) {
        check("cdecl", foreign(cdeclCallee), value);
        check("stdcall", foreign(stdcallCallee), value);
        check("fastcall", foreign(fastcallCallee), value);
        check("regparm(1)", foreign(registerCallee), value);
        check("stdcall, scratch registers changed", foreign(clobberingCallee), value);
    }
    std::printf("%s\n", failures == 0 ? "all calls kept the stack and the registers" : "FAILED");
    return failures == 0 ? 0 : 1;
}
