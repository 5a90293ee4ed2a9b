// SPDX-License-Identifier: GPL-2.0-or-later
// kpx-win32-guard-check: an exception thrown inside a window procedure and inside a dialog
// procedure is shown in the program's error box and the program goes on. The 32-bit toolchain
// cannot unwind through user32, so an exception that escaped would end the process here.
// A helper thread answers each error box; the process prints what it saw and exits 0 when both
// exceptions were caught and reported.
#include <atomic>
#include <cstdio>
#include <stdexcept>
#include <thread>

#include "win32/modal_dialog.h"
#include "win32/resource.h"
#include "win32/window.h"
#include "workbench/program_texts.h"
#include <windows.h>

namespace {

constexpr UINT kThrow = WM_APP + 7;

class Thrower : public kpx::win32::Window {
public:
    Thrower()
    {
        create(L"kpx.GuardCheck", L"guard check", WS_OVERLAPPEDWINDOW, 0, RECT { 0, 0, 200, 100 }, nullptr, nullptr);
    }

private:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == kThrow)
            throw std::runtime_error("thrown in a window procedure");
        return byDefault(message, wParam, lParam);
    }
};

class ThrowingDialog : public kpx::win32::ModalDialog {
public:
    INT_PTR show() { return run(nullptr, IDD_OKMES1); }

private:
    HWND onInit(HWND, const kpx::win32::Scale &) override { throw std::runtime_error("thrown in a dialog"); }
    bool onCommand(HWND, int) override { return false; }
};

// Answers every error box of the program with OK, counting them.
std::atomic<int> boxesAnswered { 0 };
std::atomic<bool> done { false };

void answerErrorBoxes()
{
    const std::wstring title = kpx::win32::wide(kpx::texts::kProgramTitle);
    while (!done) {
        if (HWND box = FindWindowW(L"#32770", title.c_str())) {
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            ++boxesAnswered;
            while (IsWindow(box) && !done)
                Sleep(20);
        }
        Sleep(20);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    std::thread answerer(answerErrorBoxes);
    Thrower window;
    const LRESULT sent = SendMessageW(window.handle(), kThrow, 0, 0);
    std::printf("window procedure: returned %ld, error boxes %d\n", static_cast<long>(sent), boxesAnswered.load());
    const int afterWindow = boxesAnswered.load();
    ThrowingDialog dialog;
    const INT_PTR result = dialog.show();
    std::printf("dialog procedure: returned %ld, error boxes %d\n", static_cast<long>(result), boxesAnswered.load());
    const bool passed = afterWindow == 1 && result == IDCANCEL && boxesAnswered.load() == 2;
    done = true;
    answerer.join();
    std::printf("%s\n", passed ? "passed" : "FAILED");
    std::fflush(stdout);
    return passed ? 0 : 1;
}
