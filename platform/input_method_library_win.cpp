// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/input_method_library.h"

#include "platform/native_path.h"

#include <string>
#include <utility>
#include <windows.h>

namespace kpx {
namespace {

constexpr char kLibraryName[] = "hvmrk.dll";
constexpr WORD kNotifyOrdinal = 2;

// hvmrk.dll is a 32-bit Windows library of the input method, and the exports of such
// libraries are almost always __stdcall; WINAPI says so on 32-bit builds and means nothing on
// 64-bit ones. A wrong convention here would corrupt the stack on every call.
using NotifyFunction = void(WINAPI *)(std::int32_t);

HMODULE moduleOf(void *handle) { return static_cast<HMODULE>(handle); }

} // namespace

bool InputMethodLibrary::load()
{
    release();
    HMODULE module = nullptr;
    // First the copy in the system directory, then whatever the system's search finds.
    if (const std::string directory = os::systemDirectory(); !directory.empty())
        module = ::LoadLibraryA((directory + "\\" + kLibraryName).c_str());
    if (!module)
        module = ::LoadLibraryA(kLibraryName);
    if (!module)
        return false;
    handle_ = module;
    // The export is known by its ordinal only.
    notify_ = reinterpret_cast<EntryPoint>(::GetProcAddress(module, MAKEINTRESOURCEA(kNotifyOrdinal)));
    return true;
}

void InputMethodLibrary::notify(std::int32_t value) const
{
    if (notify_)
        reinterpret_cast<NotifyFunction>(notify_)(value);
}

void InputMethodLibrary::release()
{
    notify_ = nullptr;
    if (handle_)
        ::FreeLibrary(moduleOf(std::exchange(handle_, nullptr)));
}

} // namespace kpx
