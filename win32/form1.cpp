// SPDX-License-Identifier: GPL-2.0-or-later
#include "win32/form1.h"

#include <algorithm>
#include <utility>

#include "win32/resource.h"
#include "workbench/program_texts.h"
#include "workbench/workbench.h"
#include <commctrl.h>

namespace kpx::win32 {
namespace {

// Control identifiers: the slot buttons take 1 to 30, their slot numbers.
constexpr int kFirstSlotButton = 1;
constexpr int kSlotCount = 30;
constexpr int kBnJejok1 = 101;
constexpr int kBnSort1 = 102;
constexpr int kBn4save = 103;
constexpr int kEd4ofn1 = 104;
constexpr int kEd4ifn1 = 105;
constexpr int kMm4indata1 = 106;
constexpr int kStatusBar1 = 107;
constexpr int kProgressBar1 = 108;

// Posted to run FormActivate once the window system has finished activating the window: it may
// ask a question, which must not open inside WM_ACTIVATE.
constexpr UINT kRunFormActivate = WM_APP + 1;

// Layout at 96 dots per inch.
constexpr int kPanelHeight = 105;
constexpr int kStatusHeight = 17;
constexpr int kProgressHeight = 9;
constexpr int kFormFontPixels = 12;
constexpr int kPathFontPixels = 13;
constexpr int kEditorFontPixels = 16;
constexpr int kStatusPanelWidths[4] = { 100, 120, 100, 150 };
constexpr int kProgressMaximum = 1000;

} // namespace

TForm1::TForm1(
    Form1Texts texts, TSCCheh1 &handbook, Taboutbox1 &aboutBox, TmmDirtyWarning1 &dirtyWarning, Tokmes1 &notice)
    : texts_(std::move(texts))
    , handbook_(handbook)
    , aboutBox_(aboutBox)
    , dirtyWarning_(dirtyWarning)
    , notice_(notice)
{
    const Scale design;
    MenuHandle menu(LoadMenuW(instance(), MAKEINTRESOURCEW(IDR_MAINMENU)));
    create(L"kpxv410.TForm1", wide(texts_.caption).c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0,
        scaledRect(design, 6, 9, 572, 450), menu.get(), LoadIconW(instance(), MAKEINTRESOURCEW(IDI_PROGRAM)));
    if (handle())
        menu.release(); // the window owns it now
    scale_ = Scale::of(handle());
    if (scale_.dpi() != design.dpi()) {
        const RECT frame = scaledRect(scale_, 6, 9, 572, 450);
        SetWindowPos(handle(), nullptr, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
            SWP_NOZORDER | SWP_NOACTIVATE);
    }
    shortcuts_.reset(LoadAcceleratorsW(instance(), MAKEINTRESOURCEW(IDR_ACCELERATORS)));
    findMessage_ = RegisterWindowMessageW(FINDMSGSTRING);
    addFindingMenuItems();
    addWordsMenuItems();
    createControls();
    applyFonts();
    layout();
}

TForm1::~TForm1() = default;

void TForm1::attach(Workbench &workbench)
{
    workbench_ = &workbench;
    problems_ = std::make_unique<TProblems1>(handle(), workbench);
    problems_->onWentToLine([this] {
        SetActiveWindow(handle());
        focusEditor();
    });
}

void TForm1::addFindingMenuItems()
{
    HMENU edit = GetSubMenu(GetMenu(handle()), 1);
    if (!edit)
        return;
    AppendMenuW(edit, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(edit, MF_STRING, IDM_MNFIND1, (wide(texts::kMenuFind) + L"\tCtrl+F").c_str());
    AppendMenuW(edit, MF_STRING, IDM_MNGOTOLINE1, (wide(texts::kMenuGoToLine) + L"\tCtrl+G").c_str());
}

void TForm1::addWordsMenuItems()
{
    HMENU file = GetSubMenu(GetMenu(handle()), 0);
    if (!file)
        return;
    // After 儲存 並 製作, before the separator above 結束程式.
    const UINT at = static_cast<UINT>(std::max(GetMenuItemCount(file) - 2, 0));
    InsertMenuW(file, at, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    InsertMenuW(file, at + 1, MF_BYPOSITION | MF_STRING, IDM_MNIMPORT1, wide(texts::kMenuImport).c_str());
    InsertMenuW(file, at + 2, MF_BYPOSITION | MF_STRING, IDM_MNEXPORT1, wide(texts::kMenuExport).c_str());
}

void TForm1::openFind()
{
    if (findDialog_) {
        SetActiveWindow(findDialog_);
        return;
    }
    find_ = {};
    find_.lStructSize = sizeof find_;
    find_.hwndOwner = handle();
    find_.lpstrFindWhat = needle_.data();
    find_.wFindWhatLen = static_cast<WORD>(needle_.size());
    // The Workbench's search ignores ASCII case and matches anywhere: neither choice is offered.
    find_.Flags = FR_DOWN | FR_HIDEMATCHCASE | FR_HIDEWHOLEWORD;
    findDialog_ = FindTextW(&find_);
}

void TForm1::onFindMessage(const FINDREPLACEW &find)
{
    if (find.Flags & FR_DIALOGTERM) {
        findDialog_ = nullptr;
        return;
    }
    if (!(find.Flags & FR_FINDNEXT) || !workbench_)
        return;
    const FindOutcome outcome = workbench_->Find(utf16(find.lpstrFindWhat), (find.Flags & FR_DOWN) != 0);
    setStatusPanel(3, Workbench::findMessage(outcome));
}

void TForm1::createControls()
{
    HWND window = handle();
    const RECT nowhere { 0, 0, 1, 1 };
    static constexpr const wchar_t *rowNames[3] = { L"鷺笙順序", L"一般拼音順序", L"ASCII 順序" };
    for (std::size_t row = 0; row < rowLabels_.size(); ++row)
        rowLabels_[row] = createControl(window, L"STATIC", rowNames[row], SS_RIGHT | SS_NOPREFIX, nowhere, -1);
    static constexpr const wchar_t *digits[10] = { L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8", L"9", L"0" };
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        // Toggle buttons of one group: the window presses exactly one down, the current slot's.
        const DWORD group = slot == 1 ? WS_GROUP : 0;
        slotButtons_[static_cast<std::size_t>(slot - 1)] = createControl(window, L"BUTTON", digits[(slot - 1) % 10],
            BS_RADIOBUTTON | BS_PUSHLIKE | group, nowhere, kFirstSlotButton + slot - 1);
    }
    pressSlotButton(1);
    label6_ = createControl(window, L"STATIC", L"資料：", SS_LEFT | SS_NOPREFIX, nowhere, -1);
    bnJejok1_ = createControl(window, L"BUTTON", L"製作  對照表 (F3)", BS_PUSHBUTTON, nowhere, kBnJejok1);
    bnSort1_ = createControl(window, L"BUTTON", L"資料 ASCII 排序", BS_PUSHBUTTON, nowhere, kBnSort1);
    bn4save_ = createControl(window, L"BUTTON", L"儲存  資料 (F2)", BS_PUSHBUTTON, nowhere, kBn4save);
    label1_ = createControl(window, L"STATIC", L"輸出 檔案名", SS_LEFT | SS_NOPREFIX, nowhere, -1);
    ed4ofn1_ = createControl(
        window, L"EDIT", L"", ES_READONLY | ES_AUTOHSCROLL | WS_DISABLED, nowhere, kEd4ofn1, WS_EX_CLIENTEDGE);
    label2_ = createControl(window, L"STATIC", L"資料 檔案名", SS_LEFT | SS_NOPREFIX, nowhere, -1);
    ed4ifn1_ = createControl(
        window, L"EDIT", L"", ES_READONLY | ES_AUTOHSCROLL | WS_DISABLED, nowhere, kEd4ifn1, WS_EX_CLIENTEDGE);
    // No word wrap: long lines scroll sideways. Without WS_TABSTOP handling of its own, the Tab
    // key reaches the box as a character.
    mm4indata1_ = createControl(window, L"EDIT", L"",
        ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP, nowhere,
        kMm4indata1, WS_EX_CLIENTEDGE);
    // The largest text the box can hold, not the 32K of its default.
    SendMessageW(mm4indata1_, EM_SETLIMITTEXT, 0, 0);
    statusBar1_ = createControl(
        window, STATUSCLASSNAMEW, L"", CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER, nowhere, kStatusBar1);
    progressBar1_ = createControl(window, PROGRESS_CLASSW, L"", 0, nowhere, kProgressBar1);
    SendMessageW(progressBar1_, PBM_SETRANGE32, 0, kProgressMaximum);
    SendMessageW(progressBar1_, PBM_SETSTEP, 1, 0);
    setStatusPanel(0, u"總共");
}

void TForm1::applyFonts()
{
    FontHandle formFont = makeMingFont(scale_(kFormFontPixels));
    FontHandle pathFont = makeSansFont(scale_(kPathFontPixels));
    FontHandle editorFont = makeMingFont(scale_(kEditorFontPixels));
    for (HWND label : rowLabels_)
        setFont(label, formFont.get());
    for (HWND button : slotButtons_)
        setFont(button, formFont.get());
    for (HWND control : { label6_, bnJejok1_, bnSort1_, bn4save_, label1_, label2_, statusBar1_ })
        setFont(control, formFont.get());
    setFont(ed4ofn1_, pathFont.get());
    setFont(ed4ifn1_, pathFont.get());
    setFont(mm4indata1_, editorFont.get());
    // The old fonts go only once no control uses them.
    formFont_ = std::move(formFont);
    pathFont_ = std::move(pathFont);
    editorFont_ = std::move(editorFont);
}

void TForm1::layout()
{
    const Scale &s = scale_;
    auto place = [&](HWND control, int x, int y, int width, int height) {
        const RECT r = scaledRect(s, x, y, width, height);
        MoveWindow(control, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    };
    for (int row = 0; row < 3; ++row) {
        place(rowLabels_[static_cast<std::size_t>(row)], 0, 8 + 24 * row, 80, 17);
        for (int column = 0; column < 10; ++column)
            place(slotButtons_[static_cast<std::size_t>(row * 10 + column)], 88 + 16 * column, 8 + 24 * row, 17, 17);
    }
    place(label6_, 8, 88, 60, 16);
    place(bnJejok1_, 256, 8, 105, 25);
    place(bnSort1_, 256, 40, 105, 25);
    place(bn4save_, 256, 72, 105, 25);
    place(label1_, 370, 8, 120, 16);
    place(ed4ofn1_, 368, 24, 129, 24);
    place(label2_, 370, 56, 120, 16);
    place(ed4ifn1_, 368, 72, 129, 24);

    RECT client {};
    GetClientRect(handle(), &client);
    const int width = client.right;
    const int progressTop = client.bottom - s(kProgressHeight);
    const int statusTop = progressTop - s(kStatusHeight);
    const int editorTop = s(kPanelHeight);
    MoveWindow(mm4indata1_, 0, editorTop, width, std::max(0, statusTop - editorTop), TRUE);
    MoveWindow(statusBar1_, 0, statusTop, width, s(kStatusHeight), TRUE);
    MoveWindow(progressBar1_, 0, progressTop, width, s(kProgressHeight), TRUE);
    int edges[4];
    int edge = 0;
    for (int i = 0; i < 4; ++i) {
        edge += s(kStatusPanelWidths[i]);
        edges[i] = edge;
    }
    // The last panel, where Find tells how it went, reaches the window's edge.
    edges[3] = -1;
    SendMessageW(statusBar1_, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(edges));
}

bool TForm1::translateShortcut(MSG &message)
{
    // Only keys meant for this window or its controls: Ctrl+C in the handbook copies from the
    // handbook.
    if (!handle() || !shortcuts_.isValid())
        return false;
    // The Find dialog's own keys (Tab, Enter, Esc) first.
    if (findDialog_ && IsDialogMessageW(findDialog_, &message))
        return true;
    if (message.hwnd != handle() && GetAncestor(message.hwnd, GA_ROOT) != handle())
        return false;
    return TranslateAcceleratorW(handle(), shortcuts_.get(), &message) != 0;
}

void TForm1::showFirst(int showCommand)
{
    ShowWindow(handle(), showCommand);
    UpdateWindow(handle());
    SetForegroundWindow(handle());
}

// --- Face --------------------------------------------------------------------------------------

std::u16string TForm1::editorText() const
{
    return utf16(windowText(mm4indata1_));
}

bool TForm1::loadEditorText(std::u16string_view text)
{
    // Drawn once, when the whole text is in place.
    SendMessageW(mm4indata1_, WM_SETREDRAW, FALSE, 0);
    // A control that cannot take the text must not keep the previous one.
    const bool held = SetWindowTextW(mm4indata1_, withCrLf(text).c_str()) != FALSE;
    if (!held)
        SetWindowTextW(mm4indata1_, L"");
    SendMessageW(mm4indata1_, EM_EMPTYUNDOBUFFER, 0, 0);
    SendMessageW(mm4indata1_, EM_SETSEL, 0, 0);
    SendMessageW(mm4indata1_, EM_SCROLLCARET, 0, 0);
    SendMessageW(mm4indata1_, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(mm4indata1_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
    return held;
}

void TForm1::replaceEditorText(std::u16string_view text)
{
    // One replacement of everything, which the user can undo.
    SendMessageW(mm4indata1_, EM_SETSEL, 0, -1);
    SendMessageW(mm4indata1_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(withCrLf(text).c_str()));
}

std::size_t TForm1::editorLineCount() const
{
    return static_cast<std::size_t>(SendMessageW(mm4indata1_, EM_GETLINECOUNT, 0, 0));
}

bool TForm1::editorLastLineEmpty() const
{
    const auto last = SendMessageW(mm4indata1_, EM_GETLINECOUNT, 0, 0) - 1;
    const auto start = SendMessageW(mm4indata1_, EM_LINEINDEX, static_cast<WPARAM>(last), 0);
    return SendMessageW(mm4indata1_, EM_LINELENGTH, static_cast<WPARAM>(start), 0) == 0;
}

std::size_t TForm1::caretPosition() const
{
    DWORD start = 0;
    SendMessageW(mm4indata1_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return start;
}

void TForm1::putCaret(std::size_t position)
{
    const auto length = static_cast<std::size_t>(GetWindowTextLengthW(mm4indata1_));
    const auto at = static_cast<WPARAM>(std::min(position, length));
    SendMessageW(mm4indata1_, EM_SETSEL, at, static_cast<LPARAM>(at));
    SendMessageW(mm4indata1_, EM_SCROLLCARET, 0, 0);
}

void TForm1::selectText(std::size_t position, std::size_t length)
{
    const auto textLength = static_cast<std::size_t>(GetWindowTextLengthW(mm4indata1_));
    const auto from = static_cast<WPARAM>(std::min(position, textLength));
    const auto to = static_cast<LPARAM>(std::min(position + length, textLength));
    SendMessageW(mm4indata1_, EM_SETSEL, from, to);
    SendMessageW(mm4indata1_, EM_SCROLLCARET, 0, 0);
}

void TForm1::showProblems(std::u16string_view title, std::size_t rows)
{
    if (problems_)
        problems_->show(title, rows);
}

bool TForm1::askLineNumber(std::u16string_view prompt, std::int64_t current, std::int64_t last, std::int64_t &line)
{
    return goToLine_.ask(handle(), prompt, current, last, line);
}

bool TForm1::askFilePath(
    bool saving, std::u16string_view title, const std::vector<FileType> &types, std::u16string &path, std::size_t &type)
{
    return win32::askFilePath(handle(), saving, title, types, path, type);
}

void TForm1::appendEditorText(std::u16string_view text)
{
    // A replacement of the empty selection at the end, which the user can undo.
    const auto end = static_cast<WPARAM>(GetWindowTextLengthW(mm4indata1_));
    SendMessageW(mm4indata1_, EM_SETSEL, end, static_cast<LPARAM>(end));
    SendMessageW(mm4indata1_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(withCrLf(text).c_str()));
}

int TForm1::askChoice(std::u16string_view text, const std::vector<std::u16string> &choices)
{
    return choice_.ask(handle(), texts_.programTitle, text, choices, texts::kQuestionCancel);
}

void TForm1::focusEditor()
{
    SetFocus(mm4indata1_);
}

void TForm1::pressSlotButton(std::int32_t slot)
{
    for (int i = 1; i <= kSlotCount; ++i)
        SendMessageW(
            slotButtons_[static_cast<std::size_t>(i - 1)], BM_SETCHECK, i == slot ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TForm1::showPaths(std::u16string_view tablePath, std::u16string_view dataPath)
{
    SetWindowTextW(ed4ofn1_, wide(tablePath).c_str());
    SetWindowTextW(ed4ifn1_, wide(dataPath).c_str());
}

void TForm1::setStatusPanel(int panel, std::u16string_view text)
{
    // Two tabs put a panel's text at its right edge; the first panel's "總共" stands there.
    std::wstring shown = panel == 0 ? L"\t\t" : L"";
    shown += wide(text);
    SendMessageW(statusBar1_, SB_SETTEXTW, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(shown.c_str()));
}

void TForm1::showProgress(int position)
{
    SendMessageW(progressBar1_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    RedrawWindow(progressBar1_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

DirtyAnswer TForm1::askUnsavedData()
{
    return dirtyWarning_.ask(handle());
}

void TForm1::showNotice(std::u16string_view text)
{
    notice_.notice(handle(), text);
}

void TForm1::showError(std::u16string_view text)
{
    MessageBoxW(handle(), wide(text).c_str(), wide(texts_.programTitle).c_str(), MB_OK | MB_ICONERROR);
}

bool TForm1::confirm(std::u16string_view text)
{
    return MessageBoxW(handle(), wide(text).c_str(), wide(texts_.programTitle).c_str(),
               MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2)
        == IDYES;
}

// --- Events ------------------------------------------------------------------------------------

void TForm1::command(int id, int notification, HWND control)
{
    if (!workbench_)
        return;
    if (control == mm4indata1_) {
        if (notification == EN_CHANGE)
            workbench_->mm4indata1Change();
        return;
    }
    if (id >= kFirstSlotButton && id < kFirstSlotButton + kSlotCount) {
        if (notification != BN_CLICKED)
            return;
        // Pressed like a toggle button of a group; the Workbench presses the current slot's
        // again when the switch does not take place.
        pressSlotButton(id - kFirstSlotButton + 1);
        workbench_->SwitchSlot(id - kFirstSlotButton + 1);
        // The slot buttons keep no focus, so that typing goes on in the editor.
        if (GetFocus() == control)
            SetFocus(mm4indata1_);
        return;
    }
    switch (id) {
    case IDM_MN4SAVE1:
        workbench_->Save();
        break;
    case kBn4save:
        workbench_->SaveWithCaretRestore();
        break;
    case IDM_MN4JEJOK1:
    case kBnJejok1:
        workbench_->Jejok(true);
        break;
    case IDM_MN4SJ1:
        workbench_->SaveAndMake();
        break;
    case kBnSort1:
        workbench_->Sort();
        break;
    case IDM_MN4EXI1:
        SendMessageW(handle(), WM_CLOSE, 0, 0);
        break;
    case IDM_MNIMPORT1:
        workbench_->ImportWords();
        break;
    case IDM_MNEXPORT1:
        workbench_->ExportWords();
        break;
    case IDM_MNCUT1:
        SendMessageW(mm4indata1_, WM_CUT, 0, 0);
        break;
    case IDM_MNCOPY1:
        SendMessageW(mm4indata1_, WM_COPY, 0, 0);
        break;
    case IDM_MNPASTE1:
        SendMessageW(mm4indata1_, WM_PASTE, 0, 0);
        break;
    case IDM_MNALL1:
        SendMessageW(mm4indata1_, EM_SETSEL, 0, -1);
        break;
    case IDM_MNFIND1:
        openFind();
        break;
    case IDM_MNGOTOLINE1:
        workbench_->GoToLine();
        break;
    case IDM_MNCHEH1:
        handbook_.showBeside();
        break;
    case IDM_MNABOUT1:
        aboutBox_.show(handle());
        break;
    default:
        break;
    }
}

void TForm1::onActivate(WPARAM wParam, LPARAM lParam)
{
    if (!workbench_)
        return;
    if (LOWORD(wParam) != WA_INACTIVE) {
        if (workbench_->focusMoved(FocusedWindow::Main))
            PostMessageW(handle(), kRunFormActivate, 0, 0);
        return;
    }
    // Where the focus went: the handbook, another window of this program (a dialog, a message
    // box), or another program.
    const auto other = reinterpret_cast<HWND>(lParam);
    if (other && other == handbook_.handle()) {
        workbench_->focusMoved(FocusedWindow::Handbook);
    } else if (other && GetWindowThreadProcessId(other, nullptr) == GetCurrentThreadId()) {
        workbench_->focusMoved(FocusedWindow::Other);
    } else {
        workbench_->focusMoved(FocusedWindow::None);
    }
}

LRESULT TForm1::onMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        command(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_SIZE:
        if (statusBar1_)
            layout();
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            lastFocus_ = focus && IsChild(handle(), focus) ? focus : nullptr;
        }
        onActivate(wParam, lParam);
        return 0;
    case WM_SETFOCUS:
        // Back to the control that had the focus, the editor at first.
        SetFocus(lastFocus_ && IsWindow(lastFocus_) ? lastFocus_ : mm4indata1_);
        return 0;
    case kRunFormActivate:
        if (workbench_)
            workbench_->FormActivate();
        return 0;
    case WM_CTLCOLORSTATIC:
        // The path boxes are disabled, yet their paths must stay readable.
        if (reinterpret_cast<HWND>(lParam) == ed4ofn1_ || reinterpret_cast<HWND>(lParam) == ed4ifn1_) {
            SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOWTEXT));
            SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        break;
    case WM_DPICHANGED: {
        scale_ = Scale(HIWORD(wParam));
        const auto *suggested = reinterpret_cast<const RECT *>(lParam);
        SetWindowPos(handle(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
            suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        applyFonts();
        layout();
        return 0;
    }
    case WM_CLOSE:
        if (!workbench_ || workbench_->FormCloseQuery())
            DestroyWindow(handle());
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        if (message == findMessage_ && findMessage_ != 0) {
            onFindMessage(*reinterpret_cast<const FINDREPLACEW *>(lParam));
            return 0;
        }
        break;
    }
    return byDefault(message, wParam, lParam);
}

} // namespace kpx::win32
