// SPDX-License-Identifier: GPL-2.0-or-later
#include "win32/okmes1.h"

#include <utility>

#include "win32/resource.h"

namespace kpx::win32 {
namespace {

constexpr int kMemo1 = 101;

} // namespace

Tokmes1::Tokmes1(std::u16string caption)
    : caption_(std::move(caption))
{
}

void Tokmes1::notice(HWND owner, std::u16string_view text)
{
    text_ = wide(text);
    run(owner, IDD_OKMES1);
    memo_ = nullptr;
}

HWND Tokmes1::onInit(HWND dialog, const Scale &scale)
{
    SetWindowTextW(dialog, wide(caption_).c_str());
    setClientSize(dialog, scale(345), scale(214));
    font_ = makeMingFont(scale(16));
    createControl(dialog, L"STATIC", L"", SS_ETCHEDFRAME, scaledRect(scale, 8, 8, 321, 161), -1);
    // A read-only box rather than a label, so that long lines wrap and the text can be copied;
    // it has the dialog's grey, so that it reads as a block of text.
    memo_ = createControl(
        dialog, L"EDIT", text_, ES_MULTILINE | ES_CENTER | ES_READONLY, scaledRect(scale, 16, 24, 305, 129), kMemo1);
    setFont(memo_, font_.get());
    HWND ok = createControl(
        dialog, L"BUTTON", L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, scaledRect(scale, 143, 180, 75, 25), IDOK);
    setFont(ok, font_.get());
    return ok;
}

bool Tokmes1::onCommand(HWND dialog, int id)
{
    if (id != IDOK && id != IDCANCEL)
        return false;
    EndDialog(dialog, IDOK);
    return true;
}

HBRUSH Tokmes1::onColorStatic(HDC dc, HWND control)
{
    if (control != memo_)
        return nullptr;
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return GetSysColorBrush(COLOR_BTNFACE);
}

} // namespace kpx::win32
