// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <array>
#include <string>

#include "win32/modal_dialog.h"

namespace kpx::win32 {

// The about box: the program's icon, name and version, and the maker's contact details.
class Taboutbox1 : public ModalDialog {
public:
    Taboutbox1() = default;
    void show(HWND owner);

private:
    HWND onInit(HWND dialog, const Scale &scale) override;
    bool onCommand(HWND dialog, int id) override;

    FontHandle font_;
    IconHandle icon_;
};

} // namespace kpx::win32
