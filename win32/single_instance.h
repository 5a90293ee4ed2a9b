// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>

#include "win32/unique_handle.h"
#include <windows.h>

namespace kpx::win32 {

// One copy of the program at a time for one data directory: two copies would each write their
// own idea of the data and the state file. The data directory (\vokelu on the system drive)
// belongs to the whole machine, so the named mutex lives in the Global\ namespace, where copies
// of every user and session meet. The first copy holds it and marks its main window; a later
// copy finds the mutex taken, brings that window to the front and ends.
class SingleInstance {
public:
    enum class Claim {
        Claimed, // this is the only copy
        Taken, // another copy of this user holds the mutex
        TakenByOther, // another user's or an elevated copy holds it: no access to it
        Unknown, // the mutex cannot be made; systemWords() says why
    };

    // key names the data directory; copies for different directories do not meet.
    explicit SingleInstance(std::wstring_view key);

    Claim claim();
    // The system's words when the claim came to Unknown.
    const std::u16string &systemWords() const { return systemWords_; }
    // Marks window as the one a later copy brings to the front.
    void mark(HWND window) const;
    // Brings the marked window of the copy that holds the mutex (or its open dialog) to the
    // front, without waiting for that copy: it may be busy making a table. False when no such
    // window appears within a few seconds (that copy may run in another session).
    bool callRunningCopy() const;

    // The mutex's name without its namespace.
    const std::wstring &name() const { return name_; }
    // Held by every copy whatever its data directory, so that the installer can tell that the
    // program runs.
    static constexpr wchar_t kProgramMutex[] = L"Global\\kpxv410";

private:
    std::wstring name_;
    KernelHandle mutex_;
    KernelHandle programMutex_;
    std::u16string systemWords_;
};

} // namespace kpx::win32
