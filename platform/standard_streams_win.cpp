// SPDX-License-Identifier: GPL-2.0-or-later
#include <cstdio>

#include "platform/standard_streams.h"
#include <fcntl.h>
#include <io.h>

namespace kpx::os {

void setStandardStreamsBinary()
{
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
}

} // namespace kpx::os
