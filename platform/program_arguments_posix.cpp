// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/program_arguments.h"

namespace kpx::os {

// File names are bytes here: the arguments name them as they are.
ProgramArguments programArguments(int argc, char **argv)
{
    ProgramArguments arguments;
    for (int at = 0; at < argc; ++at)
        arguments.values.emplace_back(argv[at] ? argv[at] : "");
    return arguments;
}

} // namespace kpx::os
