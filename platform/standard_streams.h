// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Standard input and output carry a tool's files byte for byte ("-" as a file name): on Windows
// they are text streams that would turn LF into CR LF unless switched.
namespace kpx::os {

void setStandardStreamsBinary();

} // namespace kpx::os
