// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "win32/modal_dialog.h"

namespace kpx::win32 {

// The notice dialog: a message of several lines and an OK button.
class Tokmes1 : public ModalDialog {
public:
    explicit Tokmes1(std::u16string caption);
    // Shows text (lines separated by "\r\n") modally over owner; returns when it closes.
    void notice(HWND owner, std::u16string_view text);

private:
    HWND onInit(HWND dialog, const Scale &scale) override;
    bool onCommand(HWND dialog, int id) override;
    HBRUSH onColorStatic(HDC dc, HWND control) override;

    std::u16string caption_;
    std::wstring text_;
    FontHandle font_;
    HWND memo_ = nullptr;
};

} // namespace kpx::win32
