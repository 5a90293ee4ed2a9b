// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The command line of the command-line tools, in the program's own form of paths
// (platform/os_file.h), so that a file named on the command line is the file opened.
namespace kpx::os {

struct ProgramArguments {
    // argv[0] first; complete only when ok().
    std::vector<std::string> values;
    // The first argument the program cannot use (its index, argv[0] being 0), the first character
    // in it without a Big5 form, and the argument shown in the program's bytes with each such
    // character written as <U+XXXX>.
    std::size_t refused = npos;
    char32_t character = 0;
    std::string shown;
    bool ok() const { return refused == npos; }
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);
};

// On Windows the arguments as the system received them (UTF-16), converted with the program's
// own code page 950 table whatever the system's code page: the C runtime's argv would hold them
// in the system's code page. Elsewhere argv as it is.
ProgramArguments programArguments(int argc, char **argv);

} // namespace kpx::os
