// SPDX-License-Identifier: GPL-2.0-or-later
#include "win32/window.h"

#include "win32/ui_support.h"

namespace kpx::win32 {

Window::~Window()
{
    if (window_ && IsWindow(window_)) {
        // The object goes first: the messages of the destruction must not reach it.
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

void Window::create(const wchar_t *className, const wchar_t *caption, DWORD style, DWORD extendedStyle, RECT frame,
    HMENU menu, HICON icon, HWND parent)
{
    WNDCLASSEXW windowClass {};
    windowClass.cbSize = sizeof windowClass;
    if (!GetClassInfoExW(instance(), className, &windowClass)) {
        windowClass.style = CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = instance();
        windowClass.hIcon = icon;
        windowClass.hIconSm = icon;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = className;
        RegisterClassExW(&windowClass);
    }
    CreateWindowExW(extendedStyle, className, caption, style, frame.left, frame.top, frame.right - frame.left,
        frame.bottom - frame.top, parent, menu, instance(), this);
}

LRESULT Window::onMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return byDefault(message, wParam, lParam);
}

LRESULT Window::byDefault(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK Window::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        return dispatch(window, message, wParam, lParam);
    } catch (...) {
        reportException();
        // Refuses creation; every other message counts as handled.
        return message == WM_NCCREATE ? FALSE : 0;
    }
}

LRESULT Window::dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto *self = static_cast<Window *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto *self = reinterpret_cast<Window *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        const LRESULT result = self->onMessage(message, wParam, lParam);
        self->window_ = nullptr;
        return result;
    }
    return self->onMessage(message, wParam, lParam);
}

} // namespace kpx::win32
