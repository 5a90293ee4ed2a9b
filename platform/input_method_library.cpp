// SPDX-License-Identifier: GPL-2.0-or-later
// The parts of the library owner that are the same on every system; loading, calling and
// releasing are in input_method_library_posix.cpp and input_method_library_win.cpp.
#include "platform/input_method_library.h"

#include <utility>

namespace kpx {

InputMethodLibrary::~InputMethodLibrary()
{
    release();
}

InputMethodLibrary::InputMethodLibrary(InputMethodLibrary &&other) noexcept
    : handle_(std::exchange(other.handle_, nullptr))
    , notify_(std::exchange(other.notify_, nullptr))
{
}

InputMethodLibrary &InputMethodLibrary::operator=(InputMethodLibrary &&other) noexcept
{
    if (this != &other) {
        release();
        handle_ = std::exchange(other.handle_, nullptr);
        notify_ = std::exchange(other.notify_, nullptr);
    }
    return *this;
}

} // namespace kpx
