// SPDX-License-Identifier: GPL-2.0-or-later
#include <algorithm>
#include <cstdio>

#include "platform/standard_streams.h"
#include "platform/text/big5_codec.h"
#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace kpx::os {
namespace {

// The console behind a standard stream, or nullptr when it goes to a file or pipe.
HANDLE consoleOf(std::FILE *stream)
{
    const HANDLE handle = GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode))
        return nullptr;
    return handle;
}

// Big5 as UTF-16 through the program's table; a byte that is no character becomes the text \xNN.
std::u16string big5AsShown(std::string_view big5)
{
    const std::u16string decoded = decodeBig5(big5);
    std::u16string shown;
    shown.reserve(decoded.size());
    for (std::size_t at = 0; at < decoded.size(); ++at) {
        const char16_t unit = decoded[at];
        if (unit == 0xDB80 && at + 1 < decoded.size()) {
            const unsigned byte = decoded[++at] - 0xDC00u;
            static constexpr char16_t kHex[] = u"0123456789ABCDEF";
            shown += u"\\x";
            shown += kHex[byte >> 4 & 0xF];
            shown += kHex[byte & 0xF];
        } else {
            shown += unit;
        }
    }
    return shown;
}

std::u16string utf8AsUtf16(std::string_view utf8)
{
    if (utf8.empty())
        return {};
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::u16string wide(static_cast<std::size_t>(length > 0 ? length : 0), u'\0');
    if (length > 0)
        MultiByteToWideChar(
            CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), reinterpret_cast<wchar_t *>(wide.data()), length);
    return wide;
}

} // namespace

void setStandardStreamsBinary()
{
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
}

bool writeStandardStream(std::FILE *stream, std::string_view text, StreamText kind)
{
    const HANDLE console = consoleOf(stream);
    if (!console)
        return std::fwrite(text.data(), 1, text.size(), stream) == text.size();
    // What the C runtime still holds comes first.
    std::fflush(stream);
    const std::u16string wide = kind == StreamText::Big5 ? big5AsShown(text) : utf8AsUtf16(text);
    // In pieces: a console takes a limited amount in one call.
    for (std::size_t at = 0; at < wide.size();) {
        const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(wide.size() - at, 8192));
        DWORD written = 0;
        if (!WriteConsoleW(console, wide.data() + at, piece, &written, nullptr) || written == 0)
            return false;
        at += written;
    }
    return true;
}

std::string messageName(std::string_view programPath)
{
    const std::u16string wide = big5AsShown(programPath);
    if (wide.empty())
        return {};
    const int length = WideCharToMultiByte(CP_UTF8, 0, reinterpret_cast<const wchar_t *>(wide.data()),
        static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    if (length > 0)
        WideCharToMultiByte(CP_UTF8, 0, reinterpret_cast<const wchar_t *>(wide.data()), static_cast<int>(wide.size()),
            utf8.data(), length, nullptr, nullptr);
    return utf8;
}

const char *redirectedMessageEncoding()
{
    return "UTF-8";
}

bool standardOutputShowsUtf8()
{
    return consoleOf(stdout) != nullptr;
}

} // namespace kpx::os
