// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "win32/ui_support.h"
#include <windows.h>

namespace kpx::win32 {

// A modal dialog on a frame from the resource script. The object lives as long as the program;
// each showing creates the dialog's window afresh, and the dialog procedure forwards to the
// object.
class ModalDialog {
public:
    virtual ~ModalDialog() = default;

protected:
    // Shows the dialog over owner and returns the value given to EndDialog.
    INT_PTR run(HWND owner, int templateId);
    // Creates the controls; returns the control that takes the focus.
    virtual HWND onInit(HWND dialog, const Scale &scale) = 0;
    // A button or a key (IDOK for Enter, IDCANCEL for Esc). True when handled.
    virtual bool onCommand(HWND dialog, int id) = 0;
    // The close box. By default the same as Esc.
    virtual void onClose(HWND dialog) { onCommand(dialog, IDCANCEL); }
    // The brush for a static control or read-only box, or nullptr for the default.
    virtual HBRUSH onColorStatic(HDC, HWND) { return nullptr; }

private:
    static INT_PTR CALLBACK procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR dispatch(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
};

} // namespace kpx::win32
