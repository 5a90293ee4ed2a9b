// SPDX-License-Identifier: GPL-2.0-or-later
#include <clocale>
#include <cstring>

#include "platform/standard_streams.h"
#include <langinfo.h>
#include <unistd.h>

namespace kpx::os {

void setStandardStreamsBinary()
{
    // POSIX streams do not change bytes.
}

bool writeStandardStream(std::FILE *stream, std::string_view text, StreamText)
{
    // A terminal shows the bytes in its own character set; the caller chose them.
    return std::fwrite(text.data(), 1, text.size(), stream) == text.size();
}

std::string messageName(std::string_view programPath)
{
    return std::string(programPath);
}

const char *redirectedMessageEncoding()
{
    return "";
}

bool standardOutputShowsUtf8()
{
    if (!::isatty(STDOUT_FILENO))
        return false;
    // The user's locale, not the C locale a program starts in; asked once, before any other use.
    const char *previous = std::setlocale(LC_CTYPE, nullptr);
    const std::string saved = previous ? previous : "C";
    std::setlocale(LC_CTYPE, "");
    const char *codeset = ::nl_langinfo(CODESET);
    const bool utf8 = codeset && (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
    std::setlocale(LC_CTYPE, saved.c_str());
    return utf8;
}

} // namespace kpx::os
