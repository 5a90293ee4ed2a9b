// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>

#include "win32/modal_dialog.h"
#include "workbench/face.h"

namespace kpx::win32 {

// The unsaved-data question: 是, 無愛 or 取消. Enter answers 是, Esc 取消; the close box gives
// no answer at all.
class TmmDirtyWarning1 : public ModalDialog {
public:
    TmmDirtyWarning1() = default;
    DirtyAnswer ask(HWND owner);

private:
    HWND onInit(HWND dialog, const Scale &scale) override;
    bool onCommand(HWND dialog, int id) override;
    void onClose(HWND dialog) override;

    FontHandle font_;
};

} // namespace kpx::win32
