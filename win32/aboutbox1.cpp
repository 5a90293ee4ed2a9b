// SPDX-License-Identifier: GPL-2.0-or-later
#include "win32/aboutbox1.h"

#include <algorithm>
#include <utility>

#include "win32/resource.h"
#include "workbench/handbook_text.h"
#include "workbench/program_texts.h"

namespace kpx::win32 {
namespace {

// A label sized to its text, at a position of the layout (left at least at minimumLeft, in
// screen pixels). Returns its right edge.
int placeLabel(
    HWND dialog, std::string_view utf8Text, HFONT font, const Scale &scale, int x, int y, int minimumLeft = 0)
{
    const std::wstring line = wide(fromUtf8(utf8Text));
    HWND label = createControl(dialog, L"STATIC", line, SS_LEFT | SS_NOPREFIX, scaledRect(scale, x, y, 1, 1), -1);
    setFont(label, font);
    HDC dc = GetDC(label);
    HGDIOBJ old = SelectObject(dc, font);
    // Measured the way the label draws its text.
    RECT bounds { 0, 0, 0, 0 };
    DrawTextW(dc, line.c_str(), static_cast<int>(line.size()), &bounds, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    const int left = std::max(scale(x), minimumLeft);
    const int width = bounds.right + 2;
    SetWindowPos(label, nullptr, left, scale(y), width, bounds.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    return left + width;
}

} // namespace

void Taboutbox1::show(HWND owner)
{
    run(owner, IDD_ABOUTBOX1);
}

HWND Taboutbox1::onInit(HWND dialog, const Scale &scale)
{
    SetWindowTextW(dialog, wide(fromUtf8(kAboutTitle)).c_str());
    setClientSize(dialog, scale(379), scale(213));
    font_ = makeMingFont(scale(12));
    // Panel1 at 8, 16; the controls inside it are placed relative to it.
    constexpr int panelX = 8;
    constexpr int panelY = 16;
    createControl(dialog, L"STATIC", L"", SS_ETCHEDFRAME, scaledRect(scale, panelX, panelY, 353, 161), -1);

    icon_.reset(static_cast<HICON>(
        LoadImageW(instance(), MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON, scale(64), scale(64), LR_DEFAULTCOLOR)));
    HWND programIcon = createControl(
        dialog, L"STATIC", L"", SS_ICON | SS_REALSIZECONTROL, scaledRect(scale, panelX + 8, panelY + 8, 65, 57), -1);
    SendMessageW(programIcon, STM_SETICON, reinterpret_cast<WPARAM>(icon_.get()), 0);

    placeLabel(dialog, kAboutProductName, font_.get(), scale, panelX + 88, panelY + 16);
    placeLabel(dialog, kAboutVersion, font_.get(), scale, panelX + 88, panelY + 40);
    placeLabel(dialog, kAboutComments, font_.get(), scale, panelX + 8, panelY + 96);
    constexpr int contactPlaces[4][2] = { { 80, 96 }, { 80, 112 }, { 176, 96 }, { 80, 136 } };
    for (std::size_t i = 0; i < std::size(kAboutContact); ++i)
        placeLabel(
            dialog, kAboutContact[i], font_.get(), scale, panelX + contactPlaces[i][0], panelY + contactPlaces[i][1]);

    HWND ok = createControl(dialog, L"BUTTON", wide(texts::kCaption_OK), BS_DEFPUSHBUTTON | WS_TABSTOP,
        scaledRect(scale, 151, 180, 75, 25), IDOK);
    setFont(ok, font_.get());
    return ok;
}

bool Taboutbox1::onCommand(HWND dialog, int id)
{
    if (id != IDOK && id != IDCANCEL)
        return false;
    EndDialog(dialog, IDOK);
    return true;
}

} // namespace kpx::win32
