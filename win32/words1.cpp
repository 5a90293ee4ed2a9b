// SPDX-License-Identifier: GPL-2.0-or-later
#include "win32/words1.h"

#include <algorithm>

#include "win32/resource.h"
#include <commdlg.h>

namespace kpx::win32 {
namespace {

constexpr int kFontPixels = 16;
// The choices' buttons: IDs from here on, one each.
constexpr int kFirstChoice = 100;
// Room for a long path: the dialog says when it is not enough.
constexpr std::size_t kPathRoom = 32768;

} // namespace

bool askFilePath(HWND owner, bool saving, std::u16string_view title, const std::vector<FileType> &types,
    std::u16string &path, std::size_t &type)
{
    // "name (patterns)\0patterns\0" for each type, and one more \0 at the end.
    std::wstring filter;
    for (const FileType &fileType : types) {
        filter += wide(fileType.name) + L" (" + wide(fileType.patterns) + L")";
        filter += L'\0';
        filter += wide(fileType.patterns);
        filter += L'\0';
    }
    filter += L'\0';
    std::wstring file(kPathRoom, L'\0');
    std::wstring directory;
    if (!path.empty() && (path.back() == u'\\' || path.back() == u'/'))
        directory = wide(path);
    else
        std::copy_n(path.begin(), std::min(path.size(), kPathRoom - 1), file.begin());
    const std::wstring caption = wide(title);
    OPENFILENAMEW dialog {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = static_cast<DWORD>(std::min(type, types.size() - 1) + 1);
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = caption.c_str();
    dialog.lpstrInitialDir = directory.empty() ? nullptr : directory.c_str();
    // No default extension here: the dialog would append only its first three letters
    // ("dic" of "dict.yaml"). The Workbench gives a bare name the selected type's extension.
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST
        | (saving ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    const BOOL chosen = saving ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!chosen)
        return false;
    path = utf16(file.c_str());
    if (dialog.nFilterIndex >= 1 && dialog.nFilterIndex <= types.size())
        type = dialog.nFilterIndex - 1;
    return !path.empty();
}

int TChoice1::ask(HWND owner, std::u16string_view title, std::u16string_view text,
    const std::vector<std::u16string> &choices, std::u16string_view cancel)
{
    title_ = wide(title);
    text_ = withCrLf(text);
    choices_.clear();
    for (const std::u16string &choice : choices)
        choices_.push_back(wide(choice));
    cancel_ = wide(cancel);
    const INT_PTR result = run(owner, IDD_CHOICE1);
    if (result >= kFirstChoice && result < kFirstChoice + static_cast<INT_PTR>(choices_.size()))
        return static_cast<int>(result - kFirstChoice);
    return -1;
}

HWND TChoice1::onInit(HWND dialog, const Scale &scale)
{
    SetWindowTextW(dialog, title_.c_str());
    const int buttons = static_cast<int>(choices_.size()) + 1;
    font_ = makeMingFont(scale(kFontPixels));
    HDC dc = GetDC(dialog);
    const HGDIOBJ oldFont = dc ? SelectObject(dc, font_.get()) : nullptr;
    // Design pixels of what the font draws.
    const auto unscaled
        = [&](int pixels) { return MulDiv(pixels, USER_DEFAULT_SCREEN_DPI, static_cast<int>(scale.dpi())); };
    // Every button as wide as the longest caption needs, 120 at least.
    int buttonWidth = 120;
    for (const std::wstring &caption : choices_) {
        SIZE extent {};
        if (dc && GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent))
            buttonWidth = std::max(buttonWidth, unscaled(extent.cx) + 24);
    }
    // At most four buttons a row (a csv file's columns can be many), the last row at the right.
    const int perRow = std::min(buttons, 4);
    const int rows = (buttons + perRow - 1) / perRow;
    const int lines = 1 + static_cast<int>(std::count(text_.begin(), text_.end(), L'\n'));
    const int width = std::max(lines > 3 ? 560 : 320, 32 + perRow * buttonWidth + (perRow - 1) * 8);
    // The text's height as the font wraps it at the label's width (a preview runs to several lines).
    int textHeight = 48;
    if (dc) {
        RECT measured { 0, 0, scale(width - 32), 0 };
        DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &measured,
            DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
        textHeight = std::max(textHeight, unscaled(measured.bottom - measured.top) + 4);
        SelectObject(dc, oldFont);
        ReleaseDC(dialog, dc);
    }
    const int buttonsTop = 16 + textHeight + 12;
    setClientSize(dialog, scale(width), scale(buttonsTop + rows * 33 + 4));
    HWND label = createControl(
        dialog, L"STATIC", text_, SS_LEFT | SS_NOPREFIX, scaledRect(scale, 16, 16, width - 32, textHeight), -1);
    setFont(label, font_.get());
    HWND first = nullptr;
    // The buttons stand at the right, 8 pixels apart; 取消 is the last.
    for (int i = 0; i < buttons; ++i) {
        const int row = i / perRow;
        const int inRow = row == rows - 1 ? buttons - row * perRow : perRow;
        const int x = width - 16 - inRow * buttonWidth - (inRow - 1) * 8 + (i % perRow) * (buttonWidth + 8);
        const RECT bounds = scaledRect(scale, x, buttonsTop + row * 33, buttonWidth, 25);
        if (i == buttons - 1) {
            HWND cancel = createControl(dialog, L"BUTTON", cancel_, BS_PUSHBUTTON | WS_TABSTOP, bounds, IDCANCEL);
            setFont(cancel, font_.get());
            if (!first)
                first = cancel;
            break;
        }
        const DWORD style = (i == 0 ? BS_DEFPUSHBUTTON | WS_GROUP : BS_PUSHBUTTON) | WS_TABSTOP;
        HWND button
            = createControl(dialog, L"BUTTON", choices_[static_cast<std::size_t>(i)], style, bounds, kFirstChoice + i);
        setFont(button, font_.get());
        if (!first)
            first = button;
    }
    return first;
}

bool TChoice1::onCommand(HWND dialog, int id)
{
    if (id == IDOK && !choices_.empty()) {
        // Enter: the default button, the first choice.
        EndDialog(dialog, kFirstChoice);
        return true;
    }
    if (id == IDCANCEL || (id >= kFirstChoice && id < kFirstChoice + static_cast<int>(choices_.size()))) {
        EndDialog(dialog, id);
        return true;
    }
    return false;
}

} // namespace kpx::win32
