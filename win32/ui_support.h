// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "win32/unique_handle.h"
#include <windows.h>

// Small pieces every window of the program uses: text between the behaviour layer's UTF-16
// and the W API, the screen's scale, the program's fonts and the creation of child controls.
namespace kpx::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the W API takes UTF-16");

inline std::wstring wide(std::u16string_view text)
{
    return std::wstring(text.begin(), text.end());
}
inline std::u16string utf16(std::wstring_view text)
{
    return std::u16string(text.begin(), text.end());
}

// UTF-16 for UTF-8 text (the texts kept in the program's sources).
std::u16string fromUtf8(std::string_view text);
// Text with "\n" line breaks as an edit control keeps it, with CR LF.
std::wstring withCrLf(std::u16string_view text);

// The whole text of a window or control.
std::wstring windowText(HWND window);

// Pixels on the screen for pixels of the layout, which is drawn at 96 dots per inch.
class Scale {
public:
    explicit Scale(UINT dpi = USER_DEFAULT_SCREEN_DPI)
        : dpi_(dpi)
    {
    }
    static Scale of(HWND window);
    int operator()(int designPixels) const
    {
        return MulDiv(designPixels, static_cast<int>(dpi_), USER_DEFAULT_SCREEN_DPI);
    }
    UINT dpi() const { return dpi_; }

private:
    UINT dpi_;
};

// The program's Ming face (細明體, MingLiU, or the nearest Chinese face the system has) in the
// Big5 character set, pixelHeight high on the screen. Controls without a Chinese face show
// Chinese as empty boxes on systems without font linking.
FontHandle makeMingFont(int pixelHeight);
// A Latin face for boxes that show only paths.
FontHandle makeSansFont(int pixelHeight);

// A child control at a position and size already scaled to the screen.
HWND createControl(HWND parent, const wchar_t *className, std::wstring_view text, DWORD style, RECT bounds, int id,
    DWORD extendedStyle = 0);
// Scales a layout rectangle given as left, top, width, height.
RECT scaledRect(const Scale &scale, int left, int top, int width, int height);
void setFont(HWND control, HFONT font);
// Sizes a window so that its client area is width by height pixels of the screen.
void setClientSize(HWND window, int width, int height);
// Puts a window in the middle of the monitor its owner (or it) is on.
void centreOnMonitor(HWND window);

// Brings a window of this program to the front, restoring it when minimised.
void bringToFront(HWND window);

// The program's instance, for resources and window classes.
HINSTANCE instance();

// Called from a catch (...) block: shows the exception being handled in an error box and
// returns, so that the program goes on. No exception may leave a window or dialog procedure:
// the 32-bit toolchain's unwinder cannot cross user32 and would end the program.
void reportException() noexcept;

// Text with any line breaks (CR LF, a lone CR, a lone LF) as CR LF, the only break the edit
// control shows.
std::wstring withCrLfBreaks(std::wstring_view text);

} // namespace kpx::win32
