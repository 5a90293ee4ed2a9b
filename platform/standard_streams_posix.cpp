// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/standard_streams.h"

namespace kpx::os {

void setStandardStreamsBinary()
{
    // POSIX streams do not change bytes.
}

} // namespace kpx::os
