// SPDX-License-Identifier: GPL-2.0-or-later
#include <cstdio>

#include "platform/program_arguments.h"
#include "platform/text/big5_codec.h"
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

namespace kpx::os {
namespace {

// The argument in Big5 with every character that has none written as <U+XXXX>, for a message.
std::string shownArgument(std::u16string_view text)
{
    std::string shown;
    while (!text.empty()) {
        const Big5EncodeResult encoded = encodeBig5(text);
        if (encoded.ok())
            return shown + encoded.bytes;
        const TextCharacter bad = characterWithoutBig5(text, encoded);
        shown += encodeBig5(text.substr(0, bad.position)).bytes;
        char code[16];
        std::snprintf(code, sizeof code, "<U+%04X>", static_cast<unsigned>(bad.codePoint));
        shown += code;
        text.remove_prefix(bad.position + (bad.units ? bad.units : 1));
    }
    return shown;
}

} // namespace

ProgramArguments programArguments(int argc, char **argv)
{
    ProgramArguments arguments;
    int count = 0;
    LPWSTR *wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) {
        // Out of memory this early: the C runtime's reading is all there is.
        for (int at = 0; at < argc; ++at)
            arguments.values.emplace_back(argv[at] ? argv[at] : "");
        return arguments;
    }
    for (int at = 0; at < count; ++at) {
        const std::u16string_view text(reinterpret_cast<const char16_t *>(wide[at]));
        Big5EncodeResult encoded = encodeBig5(text);
        if (!encoded.ok() && arguments.ok()) {
            arguments.refused = static_cast<std::size_t>(at);
            arguments.character = characterWithoutBig5(text, encoded).codePoint;
            arguments.shown = shownArgument(text);
        }
        arguments.values.push_back(std::move(encoded.bytes));
    }
    LocalFree(wide);
    return arguments;
}

} // namespace kpx::os
