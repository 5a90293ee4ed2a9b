// SPDX-License-Identifier: GPL-2.0-or-later
// The i386 thunk behind callAnyConvention, in assembly so that the compiler can make no
// assumption about the stack across the foreign call. Used by the 32-bit Windows program and
// by the i386 test, which runs it as a Linux program under user-mode emulation.
#include "platform/call_any_convention.h"

#if defined(__i386__)

#define KPX_STRINGIFY2(x) #x
#define KPX_STRINGIFY(x) KPX_STRINGIFY2(x)
// MinGW's i386 symbols carry a leading underscore; ELF ones do not.
#define KPX_SYMBOL KPX_STRINGIFY(__USER_LABEL_PREFIX__) "kpx_call_any_convention"

// void kpx_call_any_convention(ForeignFunction function, int32_t value), cdecl.
asm(".text\n"
    ".globl " KPX_SYMBOL "\n"
    ".p2align 4\n" KPX_SYMBOL ":\n"
    "    pushl %ebp\n"
    "    movl %esp, %ebp\n" // EBP keeps the stack pointer; callees preserve it
    "    pushl %ebx\n"
    "    pushl %esi\n"
    "    pushl %edi\n"
    "    movl 8(%ebp), %edi\n" // the function
    "    movl 12(%ebp), %eax\n" // the value
    "    andl $-16, %esp\n" // the stack aligned as either ABI expects at a call
    "    subl $12, %esp\n"
    "    pushl %eax\n" // the value on the stack (cdecl, stdcall) ...
    "    movl %eax, %ecx\n" // ... and in ECX, EDX (fastcall, regparm) and EAX (regparm)
    "    movl %eax, %edx\n"
    "    call *%edi\n"
    "    leal -12(%ebp), %esp\n" // whatever the callee popped or did not
    "    popl %edi\n"
    "    popl %esi\n"
    "    popl %ebx\n"
    "    popl %ebp\n"
    "    ret\n");

#endif
