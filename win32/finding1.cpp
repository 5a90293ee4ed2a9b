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
    , scale_(Scale::of(owner))
{
    const RECT nowhere { 0, 0, 1, 1 };
    create(
        L"kpxv410.TProblems1", L"", WS_CHILD | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, nowhere, nullptr, nullptr, owner);
    if (!handle())
        return;
    title_ = createControl(handle(), L"STATIC", L"", SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE, nowhere, -1);
    list_ = createControl(handle(), WC_LISTVIEWW, L"",
        LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP, nowhere, kProblemList,
        WS_EX_CLIENTEDGE);
    SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    font_ = makeMingFont(scale_(kFontPixels));
    setFont(title_, font_.get());
    setFont(list_, font_.get());
    addColumn(list_, 0, texts::kProblemsColumnLine, scale_(60));
    addColumn(list_, 1, texts::kProblemsColumnFile, scale_(120));
    addColumn(list_, 2, texts::kProblemsColumnReason, scale_(280));
}

void TProblems1::show(std::u16string_view title, std::size_t rows)
{
    if (!list_)
        return;
    SendMessageW(list_, LVM_SETITEMCOUNT, static_cast<WPARAM>(rows), 0);
    if (rows == 0) {
        // The focus goes back to the editor rather than nowhere.
        const bool hadFocus = IsChild(handle(), GetFocus());
        ShowWindow(handle(), SW_HIDE);
        if (hadFocus && wentToLine_)
            wentToLine_();
        return;
    }
    SetWindowTextW(title_, wide(title).c_str());
    // The first row chosen, so that Enter goes to it at once.
    LVITEMW first {};
    first.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
    first.state = LVIS_FOCUSED | LVIS_SELECTED;
    SendMessageW(list_, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&first));
    InvalidateRect(list_, nullptr, TRUE);
    // Shown without taking the focus from the editor.
    ShowWindow(handle(), SW_SHOWNA);
}

void TProblems1::layout(int width, int height)
{
    const int titleHeight = scale_(20);
    MoveWindow(title_, scale_(4), 0, std::max(0, width - scale_(8)), titleHeight, TRUE);
    MoveWindow(list_, 0, titleHeight, width, std::max(0, height - titleHeight), TRUE);
    // The file column grows with the list, so that include paths show whole; the reasons take
    // the rest.
    const int line = static_cast<int>(SendMessageW(list_, LVM_GETCOLUMNWIDTH, 0, 0));
    const int file = std::max(scale_(120), (width - line) * 2 / 5);
    SendMessageW(list_, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(file, 0));
    SendMessageW(list_, LVM_SETCOLUMNWIDTH, 2, MAKELPARAM(LVSCW_AUTOSIZE_USEHEADER, 0));
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
            layout(LOWORD(lParam), HIWORD(lParam));
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
