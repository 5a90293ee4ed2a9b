// SPDX-License-Identifier: GPL-2.0-or-later
#include <string>
#include <utility>

#include "platform/call_any_convention.h"
#include "platform/input_method_library.h"
#include <windows.h>

namespace kpx {
namespace {

constexpr wchar_t kLibraryName[] = L"hvmrk.dll";
constexpr WORD kNotifyOrdinal = 2;

HMODULE moduleOf(void *handle)
{
    return static_cast<HMODULE>(handle);
}

std::wstring systemDirectory()
{
    wchar_t buffer[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(buffer, MAX_PATH);
    return length == 0 || length >= MAX_PATH ? std::wstring() : std::wstring(buffer, length);
}

// The folder of the running program, from its full path; empty when Windows cannot say.
std::wstring programDirectory()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        if (path.size() >= 32768)
            return {};
        path.resize(path.size() * 2);
    }
    const auto separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

HMODULE loadFrom(const std::wstring &directory)
{
    if (directory.empty())
        return nullptr;
    const std::wstring path = directory + L"\\" + kLibraryName;
    // A full path: the current directory and PATH play no part. The libraries it needs in turn
    // come from its own folder first (this flag exists on every Windows, unlike the
    // LOAD_LIBRARY_SEARCH_* ones).
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

} // namespace

bool InputMethodLibrary::load()
{
    release();
    // The input method installs its library in the system directory; a copy beside the program
    // is the other place it may be. Never the current directory or PATH, where anyone could
    // plant a library of that name for the program to run.
    HMODULE module = loadFrom(systemDirectory());
    if (!module)
        module = loadFrom(programDirectory());
    if (!module)
        return false;
    handle_ = module;
    // The export is known by its ordinal only.
    notify_ = reinterpret_cast<EntryPoint>(::GetProcAddress(module, MAKEINTRESOURCEA(kNotifyOrdinal)));
    return true;
}

void InputMethodLibrary::notify(std::int32_t value) const
{
    // Its calling convention is not known: on 32-bit Windows the call goes through a thunk that
    // any of them leaves with the stack as it was.
    if (notify_)
        callAnyConvention(notify_, value);
}

void InputMethodLibrary::release()
{
    notify_ = nullptr;
    if (handle_)
        ::FreeLibrary(moduleOf(std::exchange(handle_, nullptr)));
}

} // namespace kpx
