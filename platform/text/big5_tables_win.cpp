// SPDX-License-Identifier: GPL-2.0-or-later
// Code page 950 as Windows has it.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <cstring>

#include "platform/text/big5_tables.h"
#include <windows.h>

namespace kpx::detail {

void probeCodePage950(std::span<const std::uint16_t> codes, std::span<char16_t> units)
{
    constexpr UINT kCodePage = 950;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const std::uint16_t code = codes[i];
        char bytes[2];
        int length = 0;
        if (code >= 0x100)
            bytes[length++] = static_cast<char>(code >> 8);
        bytes[length++] = static_cast<char>(code & 0xFF);

        units[i] = 0;
        // No MB_ERR_INVALID_CHARS: Wine's code page 950 refuses the single byte 0xFF under that
        // flag although it decodes it, as Windows does, to U+F8F8. An undefined code turns into
        // the default character instead, and the round trip below turns it away: the default
        // character encodes back to its own bytes, never to the undefined code's.
        wchar_t wide[4] = {};
        const int wideLength = MultiByteToWideChar(kCodePage, 0, bytes, length, wide, 4);
        if (wideLength != 1)
            continue;
        // WC_NO_BEST_FIT_CHARS: a character the code page holds only as a best-fit stand-in
        // does not count as encoding back; usedDefault tells a "?" substitute from a real one.
        char back[8] = {};
        BOOL usedDefault = FALSE;
        const int backLength = WideCharToMultiByte(
            kCodePage, WC_NO_BEST_FIT_CHARS, wide, 1, back, static_cast<int>(sizeof back), nullptr, &usedDefault);
        if (backLength == length && !usedDefault && std::memcmp(back, bytes, length) == 0)
            units[i] = static_cast<char16_t>(wide[0]);
    }
}

} // namespace kpx::detail
