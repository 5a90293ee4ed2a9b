// SPDX-License-Identifier: GPL-2.0-or-later
#include <utility>

#include "platform/input_method_library.h"
#include <dlfcn.h>

namespace kpx {
namespace {

constexpr char kLibraryName[] = "libhvmrk.so";
constexpr char kNotifySymbol[] = "hvmrk_notify";

using NotifyFunction = void (*)(std::int32_t);

} // namespace

bool InputMethodLibrary::load()
{
    release();
    // A bare name: the loader looks through LD_LIBRARY_PATH, the cache and its usual
    // directories, as Windows does for the bare "hvmrk.dll".
    handle_ = ::dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
    if (!handle_)
        return false;
    // POSIX guarantees that a function's address returned by dlsym may be converted back to a
    // function pointer.
    notify_ = reinterpret_cast<EntryPoint>(::dlsym(handle_, kNotifySymbol));
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
        ::dlclose(std::exchange(handle_, nullptr));
}

} // namespace kpx
