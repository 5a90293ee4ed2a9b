// SPDX-License-Identifier: GPL-2.0-or-later
#include "win32/single_instance.h"

#include <cwctype>

#include "win32/ui_support.h"

namespace kpx::win32 {
namespace {

// Names of kernel objects must be free of backslashes; the key is a path.
std::wstring hashOf(std::wstring_view key)
{
    std::uint64_t hash = 14695981039346656037ull; // FNV-1a
    for (const wchar_t c : key) {
        hash ^= static_cast<std::uint64_t>(std::towupper(static_cast<wint_t>(c)));
        hash *= 1099511628211ull;
    }
    wchar_t digits[17] = {};
    for (int i = 15; i >= 0; --i, hash >>= 4)
        digits[i] = L"0123456789abcdef"[hash & 0xF];
    return digits;
}

struct Search {
    const wchar_t *property;
    HWND found;
};

BOOL CALLBACK findMarked(HWND window, LPARAM state)
{
    auto *search = reinterpret_cast<Search *>(state);
    if (GetPropW(window, search->property)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

SingleInstance::SingleInstance(std::wstring_view key)
    : name_(L"kpxv410-" + hashOf(key))
{
}

bool SingleInstance::claim()
{
    // Local\: one copy per user session, as each user has a data directory of their own on
    // the system drive only through their own session.
    mutex_.reset(CreateMutexW(nullptr, FALSE, (L"Local\\" + name_).c_str()));
    if (!mutex_.isValid())
        return true; // no way to tell; better a second copy than none
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        mutex_.reset();
        return false;
    }
    return true;
}

void SingleInstance::mark(HWND window) const
{
    SetPropW(window, name_.c_str(), reinterpret_cast<HANDLE>(1));
}

bool SingleInstance::callRunningCopy() const
{
    // The first copy may still be creating its window: look for a few seconds.
    for (int attempt = 0; attempt < 50; ++attempt) {
        Search search { name_.c_str(), nullptr };
        EnumWindows(findMarked, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            bringToFront(search.found);
            return true;
        }
        Sleep(100);
    }
    return false;
}

} // namespace kpx::win32
