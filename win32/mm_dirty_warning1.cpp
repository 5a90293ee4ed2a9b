// SPDX-License-Identifier: GPL-2.0-or-later
#include "win32/mm_dirty_warning1.h"

#include <algorithm>
#include <utility>

#include "win32/resource.h"
#include "workbench/program_texts.h"

namespace kpx::win32 {
namespace {

// The dialog's results; 無愛 is IDNO, the modal result the button has always had.
constexpr INT_PTR kClosed = 0;

// A centred label at least as wide as its text, centred where the layout puts it.
void placeLabel(HWND dialog, std::u16string_view text, HFONT font, RECT bounds)
{
    HWND label = createControl(dialog, L"STATIC", wide(text), SS_CENTER | SS_NOPREFIX, bounds, -1);
    setFont(label, font);
    HDC dc = GetDC(label);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE extent {};
    const std::wstring line = wide(text);
    GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &extent);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    const int width = std::max<int>(bounds.right - bounds.left, extent.cx + 4);
    const int height = std::max<int>(bounds.bottom - bounds.top, extent.cy);
    const int centre = (bounds.left + bounds.right) / 2;
    SetWindowPos(label, nullptr, centre - width / 2, bounds.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

DirtyAnswer TmmDirtyWarning1::ask(HWND owner)
{
    switch (run(owner, IDD_MMDIRTYWARNING1)) {
    case IDOK:
        return DirtyAnswer::Yes;
    case IDNO:
        return DirtyAnswer::No;
    case IDCANCEL:
        return DirtyAnswer::Cancel;
    default:
        return DirtyAnswer::None;
    }
}

HWND TmmDirtyWarning1::onInit(HWND dialog, const Scale &scale)
{
    SetWindowTextW(dialog, wide(texts::kQuestionTitle).c_str());
    setClientSize(dialog, scale(313), scale(214));
    font_ = makeMingFont(scale(16));
    createControl(dialog, L"STATIC", L"", SS_ETCHEDFRAME, scaledRect(scale, 8, 8, 297, 161), -1);
    placeLabel(dialog, texts::kQuestionLine1, font_.get(), scaledRect(scale, 24, 32, 248, 16));
    placeLabel(dialog, texts::kQuestionLine2, font_.get(), scaledRect(scale, 24, 96, 257, 16));
    HWND yes = createControl(dialog, L"BUTTON", wide(texts::kQuestionYes), BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP,
        scaledRect(scale, 31, 177, 75, 25), IDOK);
    HWND no = createControl(dialog, L"BUTTON", wide(texts::kQuestionNo), BS_PUSHBUTTON | WS_TABSTOP,
        scaledRect(scale, 120, 177, 65, 25), IDNO);
    HWND cancel = createControl(dialog, L"BUTTON", wide(texts::kQuestionCancel), BS_PUSHBUTTON | WS_TABSTOP,
        scaledRect(scale, 199, 177, 75, 25), IDCANCEL);
    for (HWND button : { yes, no, cancel })
        setFont(button, font_.get());
    return yes;
}

bool TmmDirtyWarning1::onCommand(HWND dialog, int id)
{
    if (id != IDOK && id != IDNO && id != IDCANCEL)
        return false;
    EndDialog(dialog, id);
    return true;
}

void TmmDirtyWarning1::onClose(HWND dialog)
{
    EndDialog(dialog, kClosed);
}

} // namespace kpx::win32
