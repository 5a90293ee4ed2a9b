// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "win32/modal_dialog.h"
#include "win32/ui_support.h"
#include "workbench/face.h"

// What import and export ask: a file, through the common dialog, and a choice between buttons.
namespace kpx::win32 {

// GetOpenFileNameW or GetSaveFileNameW with types in the type list; see Face::askFilePath.
bool askFilePath(HWND owner, bool saving, std::u16string_view title, const std::vector<FileType> &types,
    std::u16string &path, std::size_t &type);

// A question with a button per choice and 取消: Enter takes the first choice, Esc and the close
// box cancel (-1).
class TChoice1 : public ModalDialog {
public:
    int ask(HWND owner, std::u16string_view title, std::u16string_view text, const std::vector<std::u16string> &choices,
        std::u16string_view cancel);

private:
    HWND onInit(HWND dialog, const Scale &scale) override;
    bool onCommand(HWND dialog, int id) override;

    std::wstring title_;
    std::wstring text_;
    std::vector<std::wstring> choices_;
    std::wstring cancel_;
    FontHandle font_;
};

} // namespace kpx::win32
