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
    const int buttonWidth = 120;
    const int width = std::max(320, 32 + buttons * buttonWidth + (buttons - 1) * 8);
    setClientSize(dialog, scale(width), scale(112));
    font_ = makeMingFont(scale(kFontPixels));
    HWND label
        = createControl(dialog, L"STATIC", text_, SS_LEFT | SS_NOPREFIX, scaledRect(scale, 16, 16, width - 32, 48), -1);
    setFont(label, font_.get());
    HWND first = nullptr;
    // The buttons stand at the right, 8 pixels apart.
    int x = width - 16 - buttons * buttonWidth - (buttons - 1) * 8;
    for (std::size_t i = 0; i < choices_.size(); ++i) {
        const DWORD style = (i == 0 ? BS_DEFPUSHBUTTON | WS_GROUP : BS_PUSHBUTTON) | WS_TABSTOP;
        HWND button = createControl(dialog, L"BUTTON", choices_[i], style, scaledRect(scale, x, 76, buttonWidth, 25),
            kFirstChoice + static_cast<int>(i));
        setFont(button, font_.get());
        if (!first)
            first = button;
        x += buttonWidth + 8;
    }
    HWND cancel = createControl(
        dialog, L"BUTTON", cancel_, BS_PUSHBUTTON | WS_TABSTOP, scaledRect(scale, x, 76, buttonWidth, 25), IDCANCEL);
    setFont(cancel, font_.get());
    return first ? first : cancel;
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
