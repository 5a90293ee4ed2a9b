// SPDX-License-Identifier: GPL-2.0-or-later
#include <string>
#include <utility>

#include "platform/input_method_library.h"
#include "platform/native_path.h"
#include <windows.h>

namespace kpx {
namespace {

constexpr char kLibraryName[] = "hvmrk.dll";
constexpr WORD kNotifyOrdinal = 2;
// Where the library and the libraries it needs may come from: the program's directory, the
// system directory and directories added with AddDllDirectory; for a library named by its full
// path, its own directory too.
constexpr DWORD kSafeSearch = LOAD_LIBRARY_SEARCH_DEFAULT_DIRS;
constexpr DWORD kSafeSearchBeside = LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS;

// hvmrk.dll is a 32-bit Windows library of the input method, and the exports of such
// libraries are almost always __stdcall; WINAPI says so on 32-bit builds and means nothing on
// 64-bit ones. A wrong convention here would corrupt the stack on every call.
using NotifyFunction = void(WINAPI *)(std::int32_t);

HMODULE moduleOf(void *handle)
{
    return static_cast<HMODULE>(handle);
}

} // namespace

bool InputMethodLibrary::load()
{
    release();
    HMODULE module = nullptr;
    // First the copy in the system directory, then the bare name in the places a program's own
    // libraries may come from: its directory, the system directory and directories added with
    // AddDllDirectory. Never the current directory or PATH, where anyone could plant a library
    // of that name for the program to run.
    if (const std::string directory = os::systemDirectory(); !directory.empty())
        module = ::LoadLibraryExA((directory + "\\" + kLibraryName).c_str(), nullptr, kSafeSearchBeside);
    if (!module)
        module = ::LoadLibraryExA(kLibraryName, nullptr, kSafeSearch);
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
