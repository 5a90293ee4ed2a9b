// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "win32/modal_dialog.h"
#include "win32/ui_support.h"
#include "win32/window.h"
#include <commctrl.h>

namespace kpx {
class Workbench;
}

namespace kpx::win32 {

// The problems list after a table run: a panel under the editor, as in the Qt window, with its
// title above a list whose rows the Workbench gives by index when the list draws them.
class TProblems1 : public Window {
public:
    TProblems1(HWND owner, Workbench &workbench);
    // Shows rows rows under title; 0 rows empties the list and hides the panel. The owner lays
    // out its controls again after either.
    void show(std::u16string_view title, std::size_t rows);
    bool isShown() const { return handle() && IsWindowVisible(handle()); }
    // Called after a row of the editor was activated, to give the editor the focus.
    void onWentToLine(std::function<void()> wentToLine) { wentToLine_ = std::move(wentToLine); }

private:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void fillCell(NMLVDISPINFOW &cell);
    void layout(int width, int height);

    Workbench &workbench_;
    Scale scale_;
    HWND title_ = nullptr;
    HWND list_ = nullptr;
    FontHandle font_;
    std::wstring cellText_; // the text handed to the list for one cell
    std::function<void()> wentToLine_;
};

// Ctrl+G: a number from 1 to last.
class TGoToLine1 : public ModalDialog {
public:
    bool ask(HWND owner, std::u16string_view prompt, std::int64_t current, std::int64_t last, std::int64_t &line);

private:
    HWND onInit(HWND dialog, const Scale &scale) override;
    bool onCommand(HWND dialog, int id) override;

    std::wstring prompt_;
    std::int64_t current_ = 1;
    std::int64_t last_ = 1;
    std::int64_t line_ = 1;
    HWND box_ = nullptr;
    FontHandle font_;
};

} // namespace kpx::win32
