// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/picked_path.h"
#include <windows.h>

namespace kpx::os {

// The narrow file calls read names in the system's code page (950 on a Taiwanese system). A
// character that code page lacks would be turned into another name, perhaps another file's.
bool programPathFromText(std::u16string_view text, std::string &path)
{
    path.clear();
    if (text.empty() || text.find(u'\0') != std::u16string_view::npos)
        return false;
    const auto *wideText = reinterpret_cast<const wchar_t *>(text.data());
    const int length = static_cast<int>(text.size());
    BOOL defaulted = FALSE;
    const int bytes
        = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wideText, length, nullptr, 0, nullptr, &defaulted);
    if (bytes <= 0 || defaulted)
        return false;
    path.resize(static_cast<std::size_t>(bytes));
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wideText, length, path.data(), bytes, nullptr, &defaulted);
    return !defaulted;
}

} // namespace kpx::os
