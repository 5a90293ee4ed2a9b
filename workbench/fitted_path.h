// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace kpx {

// The width of a text as a face draws it, in whatever unit the face measures (pixels).
using TextWidth = std::function<int(std::u16string_view)>;

// A path as a box of width shows it: whole when it fits; otherwise the file name stays whole
// and the directory is shortened in its middle with "…", keeping as much of its start and end as
// fits. When not even "…" and the file name fit, the file name is still shown whole after "…".
// Separators are "\" and "/".
std::u16string fittedPath(std::u16string_view path, int width, const TextWidth &textWidth);

} // namespace kpx
