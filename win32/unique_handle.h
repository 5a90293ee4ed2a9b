// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <utility>

#include <windows.h>

// Owners for the system's handles: each closes its handle once, when it is dropped.
namespace kpx::win32 {

template <typename Handle, auto Release> class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle)
        : handle_(handle)
    {
    }
    ~UniqueHandle() { reset(); }
    UniqueHandle(const UniqueHandle &) = delete;
    UniqueHandle &operator=(const UniqueHandle &) = delete;
    UniqueHandle(UniqueHandle &&other) noexcept
        : handle_(other.release())
    {
    }
    UniqueHandle &operator=(UniqueHandle &&other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    Handle get() const { return handle_; }
    bool isValid() const { return handle_ != nullptr; }
    Handle release() { return std::exchange(handle_, nullptr); }
    void reset(Handle handle = nullptr)
    {
        if (Handle old = std::exchange(handle_, handle))
            Release(old);
    }

private:
    Handle handle_ = nullptr;
};

inline void deleteGdiObject(HGDIOBJ object)
{
    ::DeleteObject(object);
}
inline void destroyIcon(HICON icon)
{
    ::DestroyIcon(icon);
}
inline void destroyMenu(HMENU menu)
{
    ::DestroyMenu(menu);
}
inline void closeHandle(HANDLE handle)
{
    ::CloseHandle(handle);
}
inline void destroyAccelerators(HACCEL table)
{
    ::DestroyAcceleratorTable(table);
}

using FontHandle = UniqueHandle<HFONT, deleteGdiObject>;
using BrushHandle = UniqueHandle<HBRUSH, deleteGdiObject>;
using IconHandle = UniqueHandle<HICON, destroyIcon>;
// A menu that no window owns yet; once given to a window, the window destroys it.
using MenuHandle = UniqueHandle<HMENU, destroyMenu>;
using KernelHandle = UniqueHandle<HANDLE, closeHandle>;
using AcceleratorHandle = UniqueHandle<HACCEL, destroyAccelerators>;

} // namespace kpx::win32
