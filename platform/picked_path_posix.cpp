// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/picked_path.h"

namespace kpx::os {

// File names are UTF-8 bytes here.
bool programPathFromText(std::u16string_view text, std::string &path)
{
    path.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t code = text[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
            code = 0x10000 + ((code - 0xD800) << 10) + (text[++i] - 0xDC00);
        else if (code >= 0xD800 && code <= 0xDFFF)
            return false; // a lone surrogate names no file
        if (code == 0)
            return false;
        if (code < 0x80) {
            path += static_cast<char>(code);
        } else if (code < 0x800) {
            path += static_cast<char>(0xC0 | code >> 6);
            path += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            path += static_cast<char>(0xE0 | code >> 12);
            path += static_cast<char>(0x80 | (code >> 6 & 0x3F));
            path += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            path += static_cast<char>(0xF0 | code >> 18);
            path += static_cast<char>(0x80 | (code >> 12 & 0x3F));
            path += static_cast<char>(0x80 | (code >> 6 & 0x3F));
            path += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return !path.empty();
}

} // namespace kpx::os
