// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <array>
#include <string>

#include "win32/modal_dialog.h"

namespace kpx::win32 {

// The texts of the about box, in the order of its labels.
struct AboutTexts {
    std::u16string caption;
    std::u16string productName;
    std::u16string version;
    std::u16string comments;
    std::array<std::u16string, 4> contact; // Label1 to Label4
};

// The about box: the program's icon, name and version, and the maker's contact details.
class Taboutbox1 : public ModalDialog {
public:
    explicit Taboutbox1(AboutTexts texts);
    void show(HWND owner);

private:
    HWND onInit(HWND dialog, const Scale &scale) override;
    bool onCommand(HWND dialog, int id) override;

    AboutTexts texts_;
    FontHandle font_;
    IconHandle icon_;
};

} // namespace kpx::win32
