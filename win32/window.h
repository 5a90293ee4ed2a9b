// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <windows.h>

namespace kpx::win32 {

// A window of the program: one window class per C++ class, whose window procedure
// forwards every message to the object that created the window.
class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window &) = delete;
    Window &operator=(const Window &) = delete;

    HWND handle() const { return window_; }

protected:
    // Registers className once and creates the window, hidden; a child of parent when given.
    void create(const wchar_t *className, const wchar_t *caption, DWORD style, DWORD extendedStyle, RECT frame,
        HMENU menu, HICON icon, HWND parent = nullptr);
    virtual LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT byDefault(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND window_ = nullptr;
};

} // namespace kpx::win32
