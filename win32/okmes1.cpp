// SPDX-License-Identifier: GPL-2.0-or-later
#include "win32/okmes1.h"

#include <algorithm>

#include "win32/resource.h"
#include "workbench/program_texts.h"

namespace kpx::win32 {
namespace {

constexpr int kMemo1 = 101;
constexpr int kYes = IDYES;
constexpr int kNo = IDNO;

// The height of the monitor's work area that a dialog over owner may take.
int workAreaHeight(HWND owner)
{
    MONITORINFO monitor {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor);
    return monitor.rcWork.bottom - monitor.rcWork.top;
}

} // namespace

int wrappedTextHeight(HWND window, HFONT font, const std::wstring &text, int width)
{
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, font);
    RECT bounds { 0, 0, width, 0 };
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &bounds,
        DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_CENTER);
    TEXTMETRICW metrics {};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    // A line's spare, as the edit control keeps below its text.
    return bounds.bottom + metrics.tmHeight / 2;
}

void Tokmes1::notice(HWND owner, std::u16string_view text)
{
    text_ = wide(text);
    run(owner, IDD_OKMES1);
    memo_ = nullptr;
}

HWND Tokmes1::onInit(HWND dialog, const Scale &scale)
{
    SetWindowTextW(dialog, wide(texts::kNoticeTitle).c_str());
    font_ = makeMingFont(scale(16));
    // The memo is 129 high at least, and taller for a longer message, as far as the screen
    // allows; beyond that it scrolls.
    const int memoWidth = scale(305);
    const int needed = wrappedTextHeight(dialog, font_.get(), text_, memoWidth - scale(8));
    const int room = workAreaHeight(GetParent(dialog)) - scale(214 - 129) - GetSystemMetrics(SM_CYCAPTION)
        - 2 * GetSystemMetrics(SM_CYFIXEDFRAME);
    const int memoHeight = std::max(scale(129), std::min(needed, room));
    const int extra = memoHeight - scale(129);
    setClientSize(dialog, scale(345), scale(214) + extra);
    RECT frameBounds = scaledRect(scale, 8, 8, 321, 161);
    frameBounds.bottom += extra;
    createControl(dialog, L"STATIC", L"", SS_ETCHEDFRAME, frameBounds, -1);
    // A read-only box rather than a label, so that long lines wrap and the text can be copied;
    // it has the dialog's grey, so that it reads as a block of text.
    const DWORD scroll = needed > memoHeight ? WS_VSCROLL : 0;
    RECT memoBounds = scaledRect(scale, 16, 24, 305, 129);
    memoBounds.bottom += extra;
    memo_ = createControl(dialog, L"EDIT", text_, ES_MULTILINE | ES_CENTER | ES_READONLY | scroll, memoBounds, kMemo1);
    setFont(memo_, font_.get());
    RECT okBounds = scaledRect(scale, 143, 180, 75, 25);
    OffsetRect(&okBounds, 0, extra);
    HWND ok = createControl(dialog, L"BUTTON", wide(texts::kCaption_OK), BS_DEFPUSHBUTTON | WS_TABSTOP, okBounds, IDOK);
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

bool TYesNo1::ask(HWND owner, std::u16string_view text)
{
    text_ = withCrLfBreaks(wide(text));
    return run(owner, IDD_YESNO1) == kYes;
}

HWND TYesNo1::onInit(HWND dialog, const Scale &scale)
{
    SetWindowTextW(dialog, wide(texts::kProgramTitle).c_str());
    font_ = makeMingFont(scale(16));
    const int textLeft = scale(16 + 32 + 12);
    const int textWidth = scale(380);
    HDC dc = GetDC(dialog);
    HGDIOBJ old = SelectObject(dc, font_.get());
    RECT bounds { 0, 0, textWidth, 0 };
    DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &bounds,
        DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(dialog, dc);
    const int textHeight = std::max<int>(bounds.bottom, scale(32));
    const int width = textLeft + std::max<int>(bounds.right, scale(200)) + scale(16);
    const int buttonsTop = scale(16) + textHeight + scale(16);
    setClientSize(dialog, width, buttonsTop + scale(25 + 12));

    HWND icon = createControl(dialog, L"STATIC", L"", SS_ICON, scaledRect(scale, 16, 16, 32, 32), -1);
    SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_WARNING)), 0);
    HWND label = createControl(dialog, L"STATIC", text_, SS_LEFT | SS_NOPREFIX,
        RECT { textLeft, scale(16), textLeft + bounds.right + scale(2), scale(16) + textHeight }, -1);
    const int buttonWidth = scale(75);
    const int gap = scale(10);
    const int noLeft = width - scale(16) - buttonWidth;
    const int yesLeft = noLeft - gap - buttonWidth;
    HWND yes = createControl(dialog, L"BUTTON", wide(texts::kButtonYes), BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP,
        RECT { yesLeft, buttonsTop, yesLeft + buttonWidth, buttonsTop + scale(25) }, kYes);
    HWND no = createControl(dialog, L"BUTTON", wide(texts::kButtonNo), BS_DEFPUSHBUTTON | WS_TABSTOP,
        RECT { noLeft, buttonsTop, noLeft + buttonWidth, buttonsTop + scale(25) }, kNo);
    for (HWND control : { label, yes, no })
        setFont(control, font_.get());
    SendMessageW(dialog, DM_SETDEFID, kNo, 0);
    MessageBeep(MB_ICONWARNING);
    return no;
}

bool TYesNo1::onCommand(HWND dialog, int id)
{
    switch (id) {
    case kYes:
        EndDialog(dialog, kYes);
        return true;
    case kNo:
    case IDCANCEL: // Esc and the close box
        EndDialog(dialog, kNo);
        return true;
    default:
        return false;
    }
}

} // namespace kpx::win32
