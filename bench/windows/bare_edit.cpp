// SPDX-License-Identifier: GPL-2.0-or-later
// kpx-bench-bare-edit DATAFILE RESULTFILE
//
// The floor for loading a data file into the window: a bare window whose only child is a
// multi-line EDIT control with the program's editor styles and font, into which the file's text
// (code page 950, CR LF line ends as in the file) goes with one SetWindowTextW. Writes the time
// of that call, painting included, as "set_text_ms N" to RESULTFILE.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include <windows.h>

namespace {

void pumpUntilIdle()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    if (__argc < 3)
        return 2;
    std::ifstream in(__argv[1], std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::wstring text(static_cast<std::size_t>(bytes.size()), L'\0');
    text.resize(static_cast<std::size_t>(MultiByteToWideChar(
        950, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), static_cast<int>(text.size()))));

    WNDCLASSW windowClass {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"kpx.bench.bare";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"bare", WS_OVERLAPPEDWINDOW, 6, 9, 572, 450, nullptr,
        nullptr, instance, nullptr);
    HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
        WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL | WS_VSCROLL | WS_HSCROLL,
        0, 105, 556, 250, window, nullptr, instance, nullptr);
    HFONT font = CreateFontW(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, CHINESEBIG5_CHARSET, OUT_DEFAULT_PRECIS,
        CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, FIXED_PITCH | FF_MODERN, L"MingLiU");
    SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    pumpUntilIdle();

    const auto start = std::chrono::steady_clock::now();
    SetWindowTextW(edit, text.c_str());
    UpdateWindow(window);
    const auto end = std::chrono::steady_clock::now();

    if (std::FILE *result = std::fopen(__argv[2], "w")) {
        std::fprintf(result, "set_text_ms %.1f\n", std::chrono::duration<double, std::milli>(end - start).count());
        std::fclose(result);
    }
    DestroyWindow(window);
    DeleteObject(font);
    return 0;
}
