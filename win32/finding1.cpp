// SPDX-License-Identifier: GPL-2.0-or-later
#include "win32/finding1.h"

#include <algorithm>
#include <cwchar>
#include <utility>

#include "win32/resource.h"
#include "workbench/program_texts.h"
#include "workbench/workbench.h"

namespace kpx::win32 {
namespace {

constexpr int kProblemList = 101;
constexpr int kLineBox = 102;
constexpr int kFontPixels = 16;

void addColumn(HWND list, int index, std::u16string_view title, int width)
{
    std::wstring text = wide(title);
    LVCOLUMNW column {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = text.data();
    column.cx = width;
    column.iSubItem = index;
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

} // namespace

TProblems1::TProblems1(HWND owner, Workbench &workbench)
    : workbench_(workbench)
    , owner_(owner)
{
}

void TProblems1::show(std::u16string_view title, std::size_t rows)
{
    if (!handle()) {
        if (rows == 0)
            return;
        const Scale scale = Scale::of(owner_);
        RECT frame {};
        GetWindowRect(owner_, &frame);
        // Beside the main window, moved into the monitor's work area where it would leave it.
        MONITORINFO monitor {};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromWindow(owner_, MONITOR_DEFAULTTONEAREST), &monitor);
        const RECT &work = monitor.rcWork;
        const int width = std::min<int>(scale(480), work.right - work.left);
        const int height = std::min<int>(scale(300), work.bottom - work.top);
        const int left = std::clamp<int>(frame.right, work.left, work.right - width);
        const int top = std::clamp<int>(frame.top, work.top, work.bottom - height);
        const RECT bounds { left, top, left + width, top + height };
        create(L"kpxv410.TProblems1", L"", WS_OVERLAPPEDWINDOW, WS_EX_TOOLWINDOW, bounds, nullptr, nullptr);
        if (!handle())
            return;
        // Owned by the main window: above it, minimised and closed with it.
        SetWindowLongPtrW(handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner_));
        const RECT nowhere { 0, 0, 1, 1 };
        list_ = createControl(handle(), WC_LISTVIEWW, L"",
            LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP, nowhere, kProblemList);
        SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
        font_ = makeMingFont(scale(kFontPixels));
        setFont(list_, font_.get());
        addColumn(list_, 0, texts::kProblemsColumnLine, scale(60));
        addColumn(list_, 1, texts::kProblemsColumnFile, scale(120));
        addColumn(list_, 2, texts::kProblemsColumnReason, scale(280));
        RECT client {};
        GetClientRect(handle(), &client);
        MoveWindow(list_, 0, 0, client.right, client.bottom, TRUE);
    }
    SendMessageW(list_, LVM_SETITEMCOUNT, static_cast<WPARAM>(rows), 0);
    if (rows == 0) {
        ShowWindow(handle(), SW_HIDE);
        return;
    }
    SetWindowTextW(handle(), wide(title).c_str());
    // The first row chosen, so that Enter goes to it at once.
    LVITEMW first {};
    first.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
    first.state = LVIS_FOCUSED | LVIS_SELECTED;
    SendMessageW(list_, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&first));
    InvalidateRect(list_, nullptr, TRUE);
    // Shown without taking the focus from the editor.
    ShowWindow(handle(), SW_SHOWNOACTIVATE);
}

void TProblems1::fillCell(NMLVDISPINFOW &cell)
{
    if (!(cell.item.mask & LVIF_TEXT) || cell.item.iItem < 0)
        return;
    const Workbench::ProblemRow row = workbench_.problemRow(static_cast<std::size_t>(cell.item.iItem));
    const std::u16string &text = cell.item.iSubItem == 0 ? row.line : cell.item.iSubItem == 1 ? row.file : row.reason;
    cellText_ = wide(text);
    cell.item.pszText = cellText_.data();
}

LRESULT TProblems1::onMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        if (list_)
            MoveWindow(list_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_SETFOCUS:
        if (list_)
            SetFocus(list_);
        return 0;
    case WM_NOTIFY: {
        const auto *header = reinterpret_cast<const NMHDR *>(lParam);
        if (header->hwndFrom != list_)
            break;
        if (header->code == LVN_GETDISPINFOW) {
            fillCell(*reinterpret_cast<NMLVDISPINFOW *>(lParam));
            return 0;
        }
        // A double click or Enter; some list versions send only NM_RETURN for Enter, and going
        // to the same line twice does no harm.
        int row = -1;
        if (header->code == LVN_ITEMACTIVATE)
            row = reinterpret_cast<const NMITEMACTIVATE *>(lParam)->iItem;
        else if (header->code == NM_RETURN)
            row = static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
        else
            break;
        if (row >= 0 && workbench_.GoToProblem(static_cast<std::size_t>(row)) && wentToLine_)
            wentToLine_();
        return 0;
        break;
    }
    case WM_CLOSE:
        // Closing only hides: the next table run shows it again.
        ShowWindow(handle(), SW_HIDE);
        return 0;
    default:
        break;
    }
    return byDefault(message, wParam, lParam);
}

bool TGoToLine1::ask(
    HWND owner, std::u16string_view prompt, std::int64_t current, std::int64_t last, std::int64_t &line)
{
    prompt_ = wide(prompt);
    current_ = current;
    last_ = last;
    const bool chosen = run(owner, IDD_GOTOLINE1) == IDOK;
    box_ = nullptr;
    if (chosen)
        line = line_;
    return chosen;
}

HWND TGoToLine1::onInit(HWND dialog, const Scale &scale)
{
    SetWindowTextW(dialog, wide(texts::kGoToLineTitle).c_str());
    setClientSize(dialog, scale(260), scale(100));
    font_ = makeMingFont(scale(kFontPixels));
    HWND label = createControl(dialog, L"STATIC", prompt_, SS_LEFT, scaledRect(scale, 10, 10, 240, 20), -1);
    box_ = createControl(dialog, L"EDIT", std::to_wstring(current_), ES_NUMBER | ES_AUTOHSCROLL | WS_TABSTOP,
        scaledRect(scale, 10, 34, 240, 24), kLineBox, WS_EX_CLIENTEDGE);
    HWND ok = createControl(dialog, L"BUTTON", wide(texts::kButtonOk), BS_DEFPUSHBUTTON | WS_TABSTOP,
        scaledRect(scale, 90, 68, 75, 25), IDOK);
    HWND cancel = createControl(dialog, L"BUTTON", wide(texts::kButtonCancel), BS_PUSHBUTTON | WS_TABSTOP,
        scaledRect(scale, 175, 68, 75, 25), IDCANCEL);
    for (HWND control : { label, box_, ok, cancel })
        setFont(control, font_.get());
    SendMessageW(box_, EM_SETSEL, 0, -1);
    return box_;
}

bool TGoToLine1::onCommand(HWND dialog, int id)
{
    if (id == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return true;
    }
    if (id != IDOK)
        return false;
    const std::wstring typed = windowText(box_);
    wchar_t *end = nullptr;
    const long long number = std::wcstoll(typed.c_str(), &end, 10);
    if (typed.empty() || *end != L'\0' || number < 1 || number > last_) {
        // Stays open on a number outside the text.
        MessageBeep(MB_ICONWARNING);
        SetFocus(box_);
        SendMessageW(box_, EM_SETSEL, 0, -1);
        return true;
    }
    line_ = number;
    EndDialog(dialog, IDOK);
    return true;
}

} // namespace kpx::win32
