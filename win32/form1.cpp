// SPDX-License-Identifier: GPL-2.0-or-later
#include "win32/form1.h"

#include <algorithm>
#include <new>
#include <utility>

#include "win32/resource.h"
#include "workbench/fitted_path.h"
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
// Posted to give the editor the focus once the problems list has finished with a click.
constexpr UINT kFocusEditor = WM_APP + 2;

// Layout at 96 dots per inch.
constexpr int kPanelHeight = 105;
constexpr int kStatusHeight = 17;
constexpr int kProgressHeight = 9;
constexpr int kFormFontPixels = 12;
constexpr int kPathFontPixels = 13;
constexpr int kEditorFontPixels = 16;
constexpr int kStatusPanelWidths[4] = { 100, 120, 100, 150 };
constexpr int kProgressMaximum = 1000;
// The path boxes keep the right margin they have in a window of the design's width, and grow
// when the window does.
constexpr int kPathBoxLeft = 368;
constexpr int kPathBoxWidth = 129;
constexpr int kPathBoxMargin = 75;

// A menu item's caption with its shortcut key shown at the right.
std::wstring withKey(std::u16string_view caption, const wchar_t *key)
{
    std::wstring text = wide(caption);
    if (key) {
        text += L'\t';
        text += key;
    }
    return text;
}

// Counts a command of the Workbench as running while it lasts.
struct Busy {
    explicit Busy(int &depth)
        : depth_(depth)
    {
        ++depth_;
    }
    ~Busy() { --depth_; }
    Busy(const Busy &) = delete;
    Busy &operator=(const Busy &) = delete;
    int &depth_;
};

// ShutdownBlockReasonCreate and ShutdownBlockReasonDestroy, looked up when first needed.
using BlockReasonCreate = BOOL(WINAPI *)(HWND, LPCWSTR);
using BlockReasonDestroy = BOOL(WINAPI *)(HWND);
template <typename Function> Function user32Function(const char *name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void *>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

} // namespace

TForm1::TForm1(TSCCheh1 &handbook, Taboutbox1 &aboutBox, TmmDirtyWarning1 &dirtyWarning, Tokmes1 &notice)
    : handbook_(handbook)
    , aboutBox_(aboutBox)
    , dirtyWarning_(dirtyWarning)
    , notice_(notice)
{
    const Scale design;
    create(L"kpxv410.TForm1", wide(texts::kWindowTitle).c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0,
        scaledRect(design, 6, 9, 572, 450), nullptr, LoadIconW(instance(), MAKEINTRESOURCEW(IDI_PROGRAM)));
    if (!handle())
        return;
    createMenu();
    scale_ = Scale::of(handle());
    if (scale_.dpi() != design.dpi()) {
        const RECT frame = scaledRect(scale_, 6, 9, 572, 450);
        SetWindowPos(handle(), nullptr, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
            SWP_NOZORDER | SWP_NOACTIVATE);
    }
    shortcuts_.reset(LoadAcceleratorsW(instance(), MAKEINTRESOURCEW(IDR_ACCELERATORS)));
    findMessage_ = RegisterWindowMessageW(FINDMSGSTRING);
    createControls();
    createToolTips();
    applyFonts();
    layout();
}

TForm1::~TForm1() = default;

void TForm1::attach(Workbench &workbench)
{
    workbench_ = &workbench;
    problems_ = std::make_unique<TProblems1>(handle(), workbench);
    // A double click ends after the list's notice of it: the editor takes the focus after that.
    problems_->onWentToLine([this] { PostMessageW(handle(), kFocusEditor, 0, 0); });
}

void TForm1::createMenu()
{
    MenuHandle bar(CreateMenu());
    auto popup = [&bar](std::u16string_view caption) {
        HMENU menu = CreatePopupMenu();
        AppendMenuW(bar.get(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(menu), wide(caption).c_str());
        return menu;
    };
    auto item = [](HMENU menu, std::u16string_view caption, const wchar_t *key, UINT id) {
        AppendMenuW(menu, MF_STRING, id, withKey(caption, key).c_str());
    };
    HMENU file = popup(texts::kCaption_mnF1);
    item(file, texts::kCaption_mn4save1, L"F2", IDM_MN4SAVE1);
    item(file, texts::kCaption_mn4jejok1, L"F3", IDM_MN4JEJOK1);
    item(file, texts::kCaption_mn4sj1, L"F5", IDM_MN4SJ1);
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    item(file, texts::kMenuImport, nullptr, IDM_MNIMPORT1);
    item(file, texts::kMenuExport, nullptr, IDM_MNEXPORT1);
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    item(file, texts::kCaption_mn4exi1, nullptr, IDM_MN4EXI1);
    HMENU edit = popup(texts::kCaption_mnE1);
    item(edit, texts::kMenuUndo, L"Ctrl+Z", IDM_MNUNDO1);
    item(edit, texts::kMenuRedo, L"Ctrl+Y", IDM_MNREDO1);
    AppendMenuW(edit, MF_SEPARATOR, 0, nullptr);
    item(edit, texts::kCaption_mnCut1, L"Ctrl+X", IDM_MNCUT1);
    item(edit, texts::kCaption_mnCopy1, L"Ctrl+C", IDM_MNCOPY1);
    item(edit, texts::kCaption_mnPaste1, L"Ctrl+V", IDM_MNPASTE1);
    AppendMenuW(edit, MF_SEPARATOR, 0, nullptr);
    item(edit, texts::kCaption_mnAll1, nullptr, IDM_MNALL1);
    AppendMenuW(edit, MF_SEPARATOR, 0, nullptr);
    item(edit, texts::kMenuSort, nullptr, IDM_MNSORT1);
    AppendMenuW(edit, MF_SEPARATOR, 0, nullptr);
    item(edit, texts::kMenuFind, L"Ctrl+F", IDM_MNFIND1);
    item(edit, texts::kMenuGoToLine, L"Ctrl+G", IDM_MNGOTOLINE1);
    HMENU help = popup(texts::kCaption_mnH1);
    item(help, texts::kCaption_mnCheh1, L"F1", IDM_MNCHEH1);
    item(help, texts::kCaption_mnAbout1, nullptr, IDM_MNABOUT1);
    if (SetMenu(handle(), bar.get()))
        bar.release(); // the window owns it now
}

void TForm1::createToolTips()
{
    // The whole path on hover, when the box shows it shortened.
    toolTips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, handle(), nullptr, instance(), nullptr);
    if (!toolTips_)
        return;
    for (HWND box : { ed4ofn1_, ed4ifn1_ }) {
        TTTOOLINFOW tool {};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = handle();
        tool.uId = reinterpret_cast<UINT_PTR>(box);
        tool.lpszText = LPSTR_TEXTCALLBACKW;
        SendMessageW(toolTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    // Long paths break over lines rather than run off the screen.
    SendMessageW(toolTips_, TTM_SETMAXTIPWIDTH, 0, scale_(600));
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
    static constexpr std::u16string_view rowNames[3]
        = { texts::kCaption_Label3, texts::kCaption_Label4, texts::kCaption_Label5 };
    for (std::size_t row = 0; row < rowLabels_.size(); ++row)
        rowLabels_[row] = createControl(window, L"STATIC", wide(rowNames[row]), SS_RIGHT | SS_NOPREFIX, nowhere, -1);
    static constexpr const wchar_t *digits[10] = { L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8", L"9", L"0" };
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        // Toggle buttons of one group: the window presses exactly one down, the current slot's.
        // The keyboard reaches them as one stop (navigate).
        const DWORD group = slot == 1 ? WS_GROUP | WS_TABSTOP : 0;
        slotButtons_[static_cast<std::size_t>(slot - 1)] = createControl(window, L"BUTTON", digits[(slot - 1) % 10],
            BS_RADIOBUTTON | BS_PUSHLIKE | group, nowhere, kFirstSlotButton + slot - 1);
    }
    pressSlotButton(1);
    label6_ = createControl(window, L"STATIC", wide(texts::kCaption_Label6), SS_LEFT | SS_NOPREFIX, nowhere, -1);
    bnJejok1_ = createControl(window, L"BUTTON", wide(texts::kCaption_bnJejok1), BS_PUSHBUTTON, nowhere, kBnJejok1);
    bnSort1_ = createControl(window, L"BUTTON", wide(texts::kCaption_bnSort1), BS_PUSHBUTTON, nowhere, kBnSort1);
    bn4save_ = createControl(window, L"BUTTON", wide(texts::kCaption_bn4save), BS_PUSHBUTTON, nowhere, kBn4save);
    label1_ = createControl(window, L"STATIC", wide(texts::kCaption_Label1), SS_LEFT | SS_NOPREFIX, nowhere, -1);
    // Read-only, not disabled: a disabled box draws grey and cannot be scrolled.
    ed4ofn1_ = createControl(window, L"EDIT", L"", ES_READONLY | ES_AUTOHSCROLL, nowhere, kEd4ofn1, WS_EX_CLIENTEDGE);
    label2_ = createControl(window, L"STATIC", wide(texts::kCaption_Label2), SS_LEFT | SS_NOPREFIX, nowhere, -1);
    ed4ifn1_ = createControl(window, L"EDIT", L"", ES_READONLY | ES_AUTOHSCROLL, nowhere, kEd4ifn1, WS_EX_CLIENTEDGE);
    for (HWND box : { ed4ofn1_, ed4ifn1_ }) {
        SetWindowLongPtrW(box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        pathBoxDefault_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TForm1::pathBoxProcedure)));
    }
    // No word wrap: long lines scroll sideways. Without WS_TABSTOP handling of its own, the Tab
    // key reaches the box as a character.
    mm4indata1_ = createControl(window, L"EDIT", L"",
        ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP, nowhere,
        kMm4indata1, WS_EX_CLIENTEDGE);
    // The largest text the box can hold, not the 32K of its default.
    SendMessageW(mm4indata1_, EM_SETLIMITTEXT, 0, 0);
    // Pasted text gets CR LF line breaks, the only ones the box shows as breaks.
    SetWindowLongPtrW(mm4indata1_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    editorDefault_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(mm4indata1_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TForm1::editorProcedure)));
    statusBar1_ = createControl(
        window, STATUSCLASSNAMEW, L"", CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER, nowhere, kStatusBar1);
    progressBar1_ = createControl(window, PROGRESS_CLASSW, L"", 0, nowhere, kProgressBar1);
    SendMessageW(progressBar1_, PBM_SETRANGE32, 0, kProgressMaximum);
    SendMessageW(progressBar1_, PBM_SETSTEP, 1, 0);
    setStatusPanel(0, texts::kStatusTotal);
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
    place(label2_, 370, 56, 120, 16);

    RECT client {};
    GetClientRect(handle(), &client);
    const int width = client.right;
    // The path boxes grow with the window, so that a long path shows whole when there is room.
    const int pathWidth = std::max(s(kPathBoxWidth), width - s(kPathBoxLeft) - s(kPathBoxMargin));
    MoveWindow(ed4ofn1_, s(kPathBoxLeft), s(24), pathWidth, s(24), TRUE);
    MoveWindow(ed4ifn1_, s(kPathBoxLeft), s(72), pathWidth, s(24), TRUE);
    const int progressTop = client.bottom - s(kProgressHeight);
    const int statusTop = progressTop - s(kStatusHeight);
    const int editorTop = s(kPanelHeight);
    // The problems list, while it shows, takes a quarter of the room under the editor, and at
    // least enough for its title, its header and three rows while the editor keeps half.
    const int room = std::max(0, statusTop - editorTop);
    const int listHeight = problems_ && problems_->isShown() ? std::min(room / 2, std::max(room / 4, s(120))) : 0;
    MoveWindow(mm4indata1_, 0, editorTop, width, room - listHeight, TRUE);
    if (problems_ && problems_->handle())
        MoveWindow(problems_->handle(), 0, editorTop + room - listHeight, width, listHeight, TRUE);
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
    fitPaths();
}

void TForm1::fitPaths()
{
    for (auto [box, path] : { std::pair { ed4ofn1_, &tablePath_ }, std::pair { ed4ifn1_, &dataPath_ } }) {
        RECT room {};
        SendMessageW(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&room));
        HDC dc = GetDC(box);
        HGDIOBJ old = SelectObject(dc, pathFont_.get());
        const auto textWidth = [dc](std::u16string_view text) {
            SIZE extent {};
            const std::wstring shown = wide(text);
            GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(shown.size()), &extent);
            return static_cast<int>(extent.cx);
        };
        // A pixel spare, so that the box does not scroll the last character half out of view.
        const std::u16string fitted = fittedPath(utf16(*path), room.right - room.left - 1, textWidth);
        SelectObject(dc, old);
        ReleaseDC(box, dc);
        SetWindowTextW(box, wide(fitted).c_str());
    }
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
    if (navigate(message))
        return true;
    return TranslateAcceleratorW(handle(), shortcuts_.get(), &message) != 0;
}

bool TForm1::navigate(const MSG &message)
{
    // The window has two stops for the keyboard: the slot buttons, as one group, and the
    // editor. Tab in the editor is a character of the text; Ctrl+Tab leaves it.
    if (message.message != WM_KEYDOWN)
        return false;
    const auto key = static_cast<UINT>(message.wParam);
    const auto at = std::find(slotButtons_.begin(), slotButtons_.end(), message.hwnd);
    const bool onSlot = at != slotButtons_.end();
    const bool control = GetKeyState(VK_CONTROL) < 0;
    auto showFocus = [this] { SendMessageW(handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0); };
    if (key == VK_TAB) {
        if (message.hwnd == mm4indata1_ && !control)
            return false;
        if (onSlot) {
            SetFocus(mm4indata1_);
        } else {
            // The group is entered at the current slot's button.
            HWND pressed = slotButtons_.front();
            for (HWND button : slotButtons_) {
                if (SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED)
                    pressed = button;
            }
            SetFocus(pressed);
            showFocus();
        }
        return true;
    }
    if (!onSlot)
        return false;
    const int index = static_cast<int>(at - slotButtons_.begin());
    int next = index;
    switch (key) {
    case VK_LEFT:
        next = (index + kSlotCount - 1) % kSlotCount;
        break;
    case VK_RIGHT:
        next = (index + 1) % kSlotCount;
        break;
    case VK_UP:
        next = (index + kSlotCount - 10) % kSlotCount;
        break;
    case VK_DOWN:
        next = (index + 10) % kSlotCount;
        break;
    case VK_RETURN:
        // Space presses a button by itself; Enter does so here.
        SendMessageW(message.hwnd, BM_CLICK, 0, 0);
        return true;
    default:
        return false;
    }
    SetFocus(slotButtons_[static_cast<std::size_t>(next)]);
    showFocus();
    return true;
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
    // Straight into the result: the text may be tens of megabytes.
    std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(mm4indata1_)), u'\0');
    if (!text.empty()) {
        text.resize(static_cast<std::size_t>(
            GetWindowTextW(mm4indata1_, reinterpret_cast<wchar_t *>(text.data()), static_cast<int>(text.size() + 1))));
    }
    return text;
}

bool TForm1::loadEditorText(std::u16string_view text)
{
    // Drawn once, when the whole text is in place.
    SendMessageW(mm4indata1_, WM_SETREDRAW, FALSE, 0);
    editorFull_ = false;
    bool whole = false;
    {
        std::wstring lines;
        bool converted = true;
        try {
            lines = withCrLf(text);
        } catch (const std::bad_alloc &) {
            converted = false;
        }
        // The box says when a text does not fit: through its result, or by notifying and
        // keeping only part of it.
        if (converted) {
            whole = SetWindowTextW(mm4indata1_, lines.c_str()) && !editorFull_
                && static_cast<std::size_t>(GetWindowTextLengthW(mm4indata1_)) == lines.size();
        }
    }
    if (!whole)
        SetWindowTextW(mm4indata1_, L"");
    SendMessageW(mm4indata1_, EM_EMPTYUNDOBUFFER, 0, 0);
    SendMessageW(mm4indata1_, EM_SETSEL, 0, 0);
    SendMessageW(mm4indata1_, EM_SCROLLCARET, 0, 0);
    SendMessageW(mm4indata1_, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(mm4indata1_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
    return whole;
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
    if (!problems_)
        return;
    const bool wasShown = problems_->isShown();
    problems_->show(title, rows);
    if (problems_->isShown() != wasShown)
        layout();
}

void TForm1::replaceEditorRange(std::size_t position, std::size_t length, std::u16string_view text)
{
    SendMessageW(mm4indata1_, EM_SETSEL, static_cast<WPARAM>(position), static_cast<LPARAM>(position + length));
    const std::wstring replacement = wide(text);
    SendMessageW(mm4indata1_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(replacement.c_str()));
    SendMessageW(mm4indata1_, EM_SCROLLCARET, 0, 0);
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
    return choice_.ask(handle(), texts::kProgramTitle, text, choices, texts::kQuestionCancel);
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
    tablePath_ = wide(tablePath);
    dataPath_ = wide(dataPath);
    fitPaths();
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
    // Windows calls a window "Not Responding" when its queue goes unread for a few seconds.
    // Looking at it, without taking input out, tells it the program is alive.
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_PAINT);
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
    MessageBoxW(handle(), wide(text).c_str(), wide(texts::kProgramTitle).c_str(), MB_OK | MB_ICONERROR);
}

bool TForm1::confirm(std::u16string_view text)
{
    return yesNo_.ask(handle(), text);
}

// --- Events ------------------------------------------------------------------------------------

void TForm1::command(int id, int notification, HWND control)
{
    if (!workbench_)
        return;
    if (control == mm4indata1_) {
        if (notification == EN_CHANGE) {
            workbench_->mm4indata1Change(editKind_);
        } else if (notification == EN_ERRSPACE || notification == EN_MAXTEXT) {
            editorFull_ = true;
        }
        return;
    }
    const Busy busy(busy_);
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
    case IDM_MNSORT1:
        workbench_->Sort();
        break;
    case IDM_MNUNDO1:
        undo(false);
        break;
    case IDM_MNREDO1:
        undo(true);
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
    case IDM_MNCOPY1: {
        // From a path box when it has the focus, otherwise from the editor.
        HWND focus = GetFocus();
        SendMessageW(focus == ed4ofn1_ || focus == ed4ifn1_ ? focus : mm4indata1_, WM_COPY, 0, 0);
        break;
    }
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

void TForm1::undo(bool redo)
{
    if (!workbench_)
        return;
    const Busy busy(busy_);
    if (!(redo ? workbench_->Redo() : workbench_->Undo()))
        MessageBeep(MB_OK);
}

void TForm1::copyPath(HWND box)
{
    const std::wstring &path = box == ed4ofn1_ ? tablePath_ : dataPath_;
    if (!OpenClipboard(box))
        return;
    EmptyClipboard();
    if (HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (path.size() + 1) * sizeof(wchar_t))) {
        if (auto *text = static_cast<wchar_t *>(GlobalLock(data))) {
            std::copy(path.c_str(), path.c_str() + path.size() + 1, text);
            GlobalUnlock(data);
            // The clipboard owns the block once it takes it.
            if (!SetClipboardData(CF_UNICODETEXT, data))
                GlobalFree(data);
        } else {
            GlobalFree(data);
        }
    }
    CloseClipboard();
}

LRESULT CALLBACK TForm1::pathBoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto *self = reinterpret_cast<TForm1 *>(GetWindowLongPtrW(box, GWLP_USERDATA));
    try {
        // Its own Ctrl+C and its menu's 複製 both come here.
        if (message == WM_COPY) {
            self->copyPath(box);
            return 0;
        }
        return CallWindowProcW(self->pathBoxDefault_, box, message, wParam, lParam);
    } catch (...) {
        reportException();
        return 0;
    }
}

void TForm1::pasteWithCrLf()
{
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(mm4indata1_)) {
        CallWindowProcW(editorDefault_, mm4indata1_, WM_PASTE, 0, 0);
        return;
    }
    std::wstring lines;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto *text = static_cast<const wchar_t *>(GlobalLock(data))) {
            // Up to the first NUL, within the clipboard's block.
            const std::size_t size = GlobalSize(data) / sizeof(wchar_t);
            lines = withCrLfBreaks(std::wstring_view(text, std::find(text, text + size, L'\0') - text));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    editorFull_ = false;
    editKind_ = EditHistory::Kind::Whole;
    SendMessageW(mm4indata1_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(lines.c_str()));
    editKind_ = EditHistory::Kind::Typing;
    if (editorFull_)
        showError(texts::kTextExceedsCapacity);
}

LRESULT CALLBACK TForm1::editorProcedure(HWND editor, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto *self = reinterpret_cast<TForm1 *>(GetWindowLongPtrW(editor, GWLP_USERDATA));
    try {
        return self->onEditorMessage(message, wParam, lParam);
    } catch (...) {
        reportException();
        return 0;
    }
}

LRESULT TForm1::onEditorMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PASTE:
        pasteWithCrLf();
        return 0;
    case WM_UNDO:
    case EM_UNDO:
        // The box's own one step of undo never runs: its menu and Alt+Backspace take a step of
        // the Workbench's history.
        undo(false);
        return TRUE;
    case WM_SYSKEYDOWN:
        if (wParam == VK_BACK) {
            undo(false);
            return 0;
        }
        break;
    case WM_CUT:
    case WM_CLEAR: {
        editKind_ = EditHistory::Kind::Whole;
        const LRESULT result = CallWindowProcW(editorDefault_, mm4indata1_, message, wParam, lParam);
        editKind_ = EditHistory::Kind::Typing;
        return result;
    }
    default:
        break;
    }
    return CallWindowProcW(editorDefault_, mm4indata1_, message, wParam, lParam);
}

LRESULT TForm1::queryEndSession()
{
    // The Workbench asks to save and stores the state; 取消 keeps the session going. A command
    // still running (a table run looks at the queue) finishes first: the user may end the
    // session again.
    if (!workbench_ || sessionClosed_)
        return TRUE;
    if (busy_ > 0)
        return FALSE;
    static const auto blockCreate = user32Function<BlockReasonCreate>("ShutdownBlockReasonCreate");
    static const auto blockDestroy = user32Function<BlockReasonDestroy>("ShutdownBlockReasonDestroy");
    // What Windows shows beside the program while the question waits for an answer.
    if (blockCreate)
        blockCreate(handle(), wide(texts::kQuestionLine1).c_str());
    const Busy busy(busy_);
    bool mayEnd = false;
    {
        struct Unblock {
            HWND window;
            ~Unblock()
            {
                if (blockDestroy)
                    blockDestroy(window);
            }
        } unblock { handle() };
        mayEnd = workbench_->EndSession();
    }
    sessionClosed_ = mayEnd;
    return mayEnd ? TRUE : FALSE;
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
    case kFocusEditor:
        focusEditor();
        return 0;
    case kRunFormActivate:
        if (workbench_) {
            const Busy busy(busy_);
            workbench_->FormActivate();
        }
        return 0;
    case WM_QUERYENDSESSION:
        return queryEndSession();
    case WM_ENDSESSION:
        // Windows ends the program once this returns. The close asks nothing after the
        // session's end was agreed to, and releases the library.
        if (wParam && sessionClosed_ && workbench_ && workbench_->FormCloseQuery())
            DestroyWindow(handle());
        sessionClosed_ = false;
        return 0;
    case WM_NOTIFY: {
        auto *header = reinterpret_cast<NMHDR *>(lParam);
        if (header->hwndFrom == toolTips_ && header->code == TTN_GETDISPINFOW) {
            auto *tip = reinterpret_cast<NMTTDISPINFOW *>(lParam);
            const auto box = reinterpret_cast<HWND>(header->idFrom);
            tip->lpszText = const_cast<wchar_t *>(box == ed4ofn1_ ? tablePath_.c_str() : dataPath_.c_str());
            return 0;
        }
        break;
    }
    case WM_CTLCOLORSTATIC:
        // The read-only path boxes in the panel's grey.
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
    case WM_CLOSE: {
        const Busy busy(busy_);
        if (!workbench_ || workbench_->FormCloseQuery())
            DestroyWindow(handle());
        return 0;
    }
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
