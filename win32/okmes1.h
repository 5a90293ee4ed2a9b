// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "win32/modal_dialog.h"

namespace kpx::win32 {

// The notice dialog: a message of several lines and an OK button. It grows downwards to show a
// long message whole.
class Tokmes1 : public ModalDialog {
public:
    // Shows text (lines separated by "\r\n") modally over owner; returns when it closes.
    void notice(HWND owner, std::u16string_view text);

private:
    HWND onInit(HWND dialog, const Scale &scale) override;
    bool onCommand(HWND dialog, int id) override;
    HBRUSH onColorStatic(HDC dc, HWND control) override;

    std::wstring text_;
    FontHandle font_;
    HWND memo_ = nullptr;
};

// A yes/no warning with the program's own button texts. No is the default: Enter on it, Esc
// and the close box all answer no.
class TYesNo1 : public ModalDialog {
public:
    // True for yes. text separates its lines with "\n".
    bool ask(HWND owner, std::u16string_view text);

private:
    HWND onInit(HWND dialog, const Scale &scale) override;
    bool onCommand(HWND dialog, int id) override;

    std::wstring text_;
    FontHandle font_;
};

// The height text needs in a box width pixels wide, wrapped the way an edit control wraps it.
int wrappedTextHeight(HWND window, HFONT font, const std::wstring &text, int width);

} // namespace kpx::win32
