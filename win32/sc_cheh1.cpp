// SPDX-License-Identifier: GPL-2.0-or-later
#include "win32/sc_cheh1.h"

#include <utility>

#include "win32/resource.h"
#include <commctrl.h>

namespace kpx::win32 {
namespace {

constexpr int kPageControl1 = 100;
constexpr int kFirstMemo = 101;

} // namespace

TSCCheh1::TSCCheh1()
{
    const Scale scale;
    create(L"kpxv410.TSCCheh1", wide(fromUtf8(kHandbookTitle)).c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0,
        scaledRect(scale, 121, 91, 533, 427), nullptr, LoadIconW(instance(), MAKEINTRESOURCEW(IDI_PROGRAM)));
    const Scale real = Scale::of(handle());
    if (real.dpi() != scale.dpi())
        SetWindowPos(handle(), nullptr, real(121), real(91), real(533), real(427), SWP_NOZORDER | SWP_NOACTIVATE);
    font_ = makeMingFont(real(15));

    tabs_ = createControl(
        handle(), WC_TABCONTROLW, L"", WS_CLIPSIBLINGS | WS_TABSTOP, RECT { 0, 0, 10, 10 }, kPageControl1);
    setFont(tabs_, font_.get());
    for (int page = 0; page < kHandbookPageCount; ++page) {
        std::wstring caption = wide(fromUtf8(handbookPageCaption(page + 1)));
        TCITEMW item {};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        SendMessageW(tabs_, TCM_INSERTITEMW, static_cast<WPARAM>(page), reinterpret_cast<LPARAM>(&item));

        // The contents page reads as a block of text; chapters 1 and 2 hold tables that must
        // not wrap.
        DWORD style = ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_TABSTOP;
        if (page == 1 || page == 2)
            style |= ES_AUTOHSCROLL | WS_HSCROLL;
        const DWORD edge = page == 0 ? 0 : WS_EX_CLIENTEDGE;
        HWND memo = createControl(handle(), L"EDIT", withCrLf(fromUtf8(handbookPageText(page + 1))), style,
            RECT { 0, 0, 10, 10 }, kFirstMemo + page, edge);
        setFont(memo, font_.get());
        ShowWindow(memo, page == 0 ? SW_SHOW : SW_HIDE);
        memos_[static_cast<std::size_t>(page)] = memo;
    }
    layout();
}

void TSCCheh1::showBeside()
{
    bringToFront(handle());
}

bool TSCCheh1::takeKey(const MSG &message)
{
    if (message.message != WM_KEYDOWN)
        return false;
    if (message.hwnd != handle() && GetAncestor(message.hwnd, GA_ROOT) != handle())
        return false;
    if (message.wParam == VK_ESCAPE) {
        SendMessageW(handle(), WM_CLOSE, 0, 0);
        return true;
    }
    if (message.wParam != VK_TAB || GetKeyState(VK_CONTROL) >= 0)
        return false;
    const int step = GetKeyState(VK_SHIFT) < 0 ? kHandbookPageCount - 1 : 1;
    const int page = (static_cast<int>(SendMessageW(tabs_, TCM_GETCURSEL, 0, 0)) + step) % kHandbookPageCount;
    SendMessageW(tabs_, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
    showPage(page);
    return true;
}

void TSCCheh1::layout()
{
    RECT client {};
    GetClientRect(handle(), &client);
    MoveWindow(tabs_, 0, 0, client.right, client.bottom, TRUE);
    RECT page = client;
    SendMessageW(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
    for (HWND memo : memos_) {
        SetWindowPos(
            memo, HWND_TOP, page.left, page.top, page.right - page.left, page.bottom - page.top, SWP_NOACTIVATE);
    }
}

void TSCCheh1::showPage(int page)
{
    for (int i = 0; i < kHandbookPageCount; ++i)
        ShowWindow(memos_[static_cast<std::size_t>(i)], i == page ? SW_SHOW : SW_HIDE);
}

LRESULT TSCCheh1::onMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        if (tabs_)
            layout();
        return 0;
    case WM_NOTIFY:
        if (const auto *note = reinterpret_cast<const NMHDR *>(lParam);
            note->hwndFrom == tabs_ && note->code == TCN_SELCHANGE) {
            showPage(static_cast<int>(SendMessageW(tabs_, TCM_GETCURSEL, 0, 0)));
            return 0;
        }
        break;
    case WM_CTLCOLORSTATIC:
        // The contents page has the grey of the window.
        if (reinterpret_cast<HWND>(lParam) == memos_[0]) {
            SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        // Read-only boxes are grey by default; the chapters read better on white.
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    case WM_DPICHANGED: {
        const auto *suggested = reinterpret_cast<const RECT *>(lParam);
        FontHandle font = makeMingFont(Scale(HIWORD(wParam))(15));
        setFont(tabs_, font.get());
        for (HWND memo : memos_)
            setFont(memo, font.get());
        font_ = std::move(font);
        SetWindowPos(handle(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
            suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && activated_)
            activated_();
        break;
    case WM_CLOSE:
        ShowWindow(handle(), SW_HIDE);
        return 0;
    default:
        break;
    }
    return byDefault(message, wParam, lParam);
}

} // namespace kpx::win32
