// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <string_view>

// Paths the user picks in a file dialog come as UTF-16; the file calls take the program's own
// form (platform/os_file.h).
namespace kpx::os {

// The program's form of a picked path. False when the file calls cannot name it: on Windows, a
// character without a Big5 form (the program's paths are Big5 there).
bool programPathFromText(std::u16string_view text, std::string &path);

} // namespace kpx::os
