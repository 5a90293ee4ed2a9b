// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>

#include "win32/unique_handle.h"
#include <windows.h>

namespace kpx::win32 {

// One copy of the program at a time for one data directory: two copies would each write their
// own idea of the data and the state file. The first copy holds a named mutex and marks its main
// window; a later copy finds the mutex taken, brings that window to the front and ends.
class SingleInstance {
public:
    // key names the data directory; copies for different directories do not meet.
    explicit SingleInstance(std::wstring_view key);

    // Takes the mutex. False when another copy holds it.
    bool claim();
    // Marks window as the one a later copy brings to the front.
    void mark(HWND window) const;
    // Brings the marked window of the copy that holds the mutex to the front. False when there is
    // none (the first copy may still be starting).
    bool callRunningCopy() const;

private:
    std::wstring name_;
    KernelHandle mutex_;
};

} // namespace kpx::win32
