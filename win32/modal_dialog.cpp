// SPDX-License-Identifier: GPL-2.0-or-later
#include "win32/modal_dialog.h"

namespace kpx::win32 {

INT_PTR ModalDialog::run(HWND owner, int templateId)
{
    return DialogBoxParamW(instance(), MAKEINTRESOURCEW(templateId), owner, procedure, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK ModalDialog::procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        return dispatch(dialog, message, wParam, lParam);
    } catch (...) {
        reportException();
        // A dialog that could not be built closes as if cancelled: every caller takes that
        // as the answer that changes nothing.
        if (message == WM_INITDIALOG)
            EndDialog(dialog, IDCANCEL);
        return FALSE;
    }
}

INT_PTR ModalDialog::dispatch(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto *self = reinterpret_cast<ModalDialog *>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        HWND focus = self->onInit(dialog, Scale::of(dialog));
        centreOnMonitor(dialog);
        if (focus) {
            SetFocus(focus);
            return FALSE; // the focus is set
        }
        return TRUE;
    }
    auto *self = reinterpret_cast<ModalDialog *>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (!self)
        return FALSE;
    switch (message) {
    case WM_COMMAND:
        return self->onCommand(dialog, LOWORD(wParam)) ? TRUE : FALSE;
    case WM_CLOSE:
        self->onClose(dialog);
        return TRUE;
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<INT_PTR>(
            self->onColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    default:
        return FALSE;
    }
}

} // namespace kpx::win32
