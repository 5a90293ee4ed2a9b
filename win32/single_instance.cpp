// SPDX-License-Identifier: GPL-2.0-or-later
#include "win32/single_instance.h"

#include <cwctype>
#include <iterator>

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

std::u16string systemMessage(DWORD error)
{
    wchar_t buffer[512] = {};
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, buffer,
        static_cast<DWORD>(std::size(buffer)), nullptr);
    while (length > 0 && (buffer[length - 1] == L'\n' || buffer[length - 1] == L'\r' || buffer[length - 1] == L' '))
        --length;
    if (length == 0) {
        const std::wstring number = std::to_wstring(error);
        return u"Windows error " + std::u16string(number.begin(), number.end());
    }
    return std::u16string(buffer, buffer + length);
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

SingleInstance::Claim SingleInstance::claim()
{
    programMutex_.reset(CreateMutexW(nullptr, FALSE, kProgramMutex));
    mutex_.reset(CreateMutexW(nullptr, FALSE, (L"Global\\" + name_).c_str()));
    const DWORD error = GetLastError();
    if (mutex_.isValid())
        return error == ERROR_ALREADY_EXISTS ? (mutex_.reset(), Claim::Taken) : Claim::Claimed;
    // A mutex whose security leaves this user out: another user's copy, or an elevated one.
    if (error == ERROR_ACCESS_DENIED)
        return Claim::TakenByOther;
    systemWords_ = systemMessage(error);
    return Claim::Unknown;
}

void SingleInstance::mark(HWND window) const
{
    SetPropW(window, name_.c_str(), reinterpret_cast<HANDLE>(1));
}

bool SingleInstance::callRunningCopy() const
{
    // The first copy may still be creating its window: look for a few seconds. EnumWindows and
    // GetPropW send that copy no message, and ShowWindowAsync does not wait for it.
    for (int attempt = 0; attempt < 50; ++attempt) {
        Search search { name_.c_str(), nullptr };
        EnumWindows(findMarked, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            if (IsIconic(search.found))
                ShowWindowAsync(search.found, SW_RESTORE);
            // The question or notice it shows, when there is one, is what the user must answer.
            const HWND popup = GetLastActivePopup(search.found);
            SetForegroundWindow(popup && IsWindowVisible(popup) ? popup : search.found);
            return true;
        }
        Sleep(100);
    }
    return false;
}

} // namespace kpx::win32
