// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <array>
#include <functional>
#include <string>

#include "win32/ui_support.h"
#include "win32/window.h"
#include "workbench/handbook_text.h"

namespace kpx::win32 {

// The handbook: six tabbed pages of text in a window of its own, beside the main window.
// Closing it hides it; the next showing finds the same page where it was left.
class TSCCheh1 : public Window {
public:
    TSCCheh1();
    void showBeside();
    // The handbook's own keys: Ctrl+Tab and Ctrl+Shift+Tab turn to the next and the previous
    // page, Esc closes it. True when the message was such a key.
    bool takeKey(const MSG &message);
    // Called whenever the handbook becomes the active window.
    void onActivated(std::function<void()> handler) { activated_ = std::move(handler); }

private:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void layout();
    void showPage(int page);

    std::function<void()> activated_;
    FontHandle font_;
    HWND tabs_ = nullptr;
    std::array<HWND, kHandbookPageCount> memos_ {};
};

} // namespace kpx::win32
