// SPDX-License-Identifier: GPL-2.0-or-later
#include "win32/ui_support.h"

#include <algorithm>
#include <array>
#include <exception>
#include <new>

#include "workbench/program_texts.h"

namespace kpx::win32 {

std::u16string fromUtf8(std::string_view text)
{
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    std::wstring wideText(
        static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wideText.data(), static_cast<int>(wideText.size()));
    return utf16(wideText);
}

std::wstring windowText(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)), L'\0');
    if (!text.empty())
        text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size() + 1))));
    return text;
}

Scale Scale::of(HWND window)
{
    // GetDpiForWindow knows the window's monitor; it exists from Windows 10 on.
    using DpiForWindow = UINT(WINAPI *)(HWND);
    static const auto dpiForWindow = reinterpret_cast<DpiForWindow>(
        reinterpret_cast<void *>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (dpiForWindow && window) {
        if (const UINT dpi = dpiForWindow(window))
            return Scale(dpi);
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return Scale(dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI);
}

namespace {

int CALLBACK noteFamily(const LOGFONTW *, const TEXTMETRICW *, DWORD, LPARAM found)
{
    *reinterpret_cast<bool *>(found) = true;
    return 0;
}

bool hasFamily(const wchar_t *family, BYTE charset)
{
    LOGFONTW wanted {};
    wanted.lfCharSet = charset;
    lstrcpynW(wanted.lfFaceName, family, LF_FACESIZE);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &wanted, noteFamily, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

const wchar_t *mingFamily()
{
    // The first face the system has that carries Big5 characters; MingLiU by name otherwise, and
    // the font mapper picks what it has for the Big5 character set.
    static const wchar_t *const family = [] {
        static constexpr std::array<const wchar_t *, 6> preferred { L"細明體", L"MingLiU", L"PMingLiU",
            L"Microsoft JhengHei", L"AR PL UMing TW", L"Noto Serif CJK TC" };
        for (const wchar_t *name : preferred) {
            if (hasFamily(name, CHINESEBIG5_CHARSET) || hasFamily(name, DEFAULT_CHARSET))
                return name;
        }
        return preferred[1];
    }();
    return family;
}

} // namespace

FontHandle makeMingFont(int pixelHeight)
{
    return FontHandle(CreateFontW(-pixelHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, CHINESEBIG5_CHARSET,
        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, FIXED_PITCH | FF_MODERN, mingFamily()));
}

FontHandle makeSansFont(int pixelHeight)
{
    return FontHandle(CreateFontW(-pixelHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, VARIABLE_PITCH | FF_SWISS, L"MS Sans Serif"));
}

HWND createControl(HWND parent, const wchar_t *className, std::wstring_view text, DWORD style, RECT bounds, int id,
    DWORD extendedStyle)
{
    const std::wstring caption(text);
    return CreateWindowExW(extendedStyle, className, caption.c_str(), WS_CHILD | WS_VISIBLE | style, bounds.left,
        bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance(), nullptr);
}

RECT scaledRect(const Scale &scale, int left, int top, int width, int height)
{
    return RECT { scale(left), scale(top), scale(left + width), scale(top + height) };
}

void setFont(HWND control, HFONT font)
{
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void setClientSize(HWND window, int width, int height)
{
    RECT frame { 0, 0, width, height };
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), GetMenu(window) != nullptr,
        static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)));
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void centreOnMonitor(HWND window)
{
    HWND reference = GetWindow(window, GW_OWNER);
    MONITORINFO monitor {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(reference ? reference : window, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT frame {};
    GetWindowRect(window, &frame);
    const RECT &work = monitor.rcWork;
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(window, nullptr, work.left + (work.right - work.left - width) / 2,
        work.top + (work.bottom - work.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void bringToFront(HWND window)
{
    if (IsIconic(window))
        ShowWindow(window, SW_RESTORE);
    else
        ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
}

HINSTANCE instance()
{
    return GetModuleHandleW(nullptr);
}

void reportException() noexcept
{
    // An error box whose own messages fail the same way would follow itself for ever.
    static bool reporting = false;
    if (reporting)
        return;
    reporting = true;
    try {
        std::u16string text;
        try {
            throw;
        } catch (const std::bad_alloc &) {
            text = texts::kOutOfMemory;
        } catch (const std::exception &error) {
            text = texts::systemText(error.what());
        } catch (...) {
            text = texts::kTableUnknown;
        }
        MessageBoxW(GetActiveWindow(), wide(text).c_str(), wide(texts::kProgramTitle).c_str(),
            MB_OK | MB_ICONERROR | MB_TASKMODAL);
    } catch (...) {
        // No memory even for the box: the system's own words, which need none.
        MessageBoxW(GetActiveWindow(), L"Out of memory", nullptr, MB_OK | MB_ICONERROR | MB_TASKMODAL);
    }
    reporting = false;
}

std::wstring withCrLfBreaks(std::wstring_view text)
{
    std::wstring lines;
    lines.reserve(text.size() + text.size() / 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\r') {
            lines += L"\r\n";
            if (i + 1 < text.size() && text[i + 1] == L'\n')
                ++i;
        } else if (c == L'\n') {
            lines += L"\r\n";
        } else {
            lines += c;
        }
    }
    return lines;
}

std::wstring withCrLf(std::u16string_view text)
{
    const auto breaks = static_cast<std::size_t>(std::count(text.begin(), text.end(), u'\n'));
    std::wstring lines;
    lines.reserve(text.size() + breaks);
    for (const char16_t c : text) {
        if (c == u'\n')
            lines += L'\r';
        lines += static_cast<wchar_t>(c);
    }
    return lines;
}

} // namespace kpx::win32
