// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <string_view>

// Paths the user picks in a file dialog come as UTF-16; the file calls take the program's own
// form (platform/os_file.h).
namespace kpx::os {

// The program's form of a picked path. False when the file calls cannot name it: on Windows, a
// character outside the code page of the system's narrow file calls.
bool programPathFromText(std::u16string_view text, std::string &path);

} // namespace kpx::os
