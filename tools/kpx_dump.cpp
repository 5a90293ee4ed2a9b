// SPDX-License-Identifier: GPL-2.0-or-later
// kpx-dump: checks a lexicon table against its format and lists its entries.
#include <cstdio>
#include <cstring>
#include <string>

#include "compiler/table_reader.h"
#include "platform/standard_streams.h"
#include "platform/text/big5_codec.h"
#include "tools/tool_support.h"

namespace {

void usage(std::FILE *to)
{
    std::fputs("Usage: kpx-dump [--header] [--utf8] TABLE\n"
               "\n"
               "Checks a lexicon table (.zd) against the format and prints its entries in file\n"
               "order, one 'key<TAB>output' line each, as raw bytes. TABLE - reads the table\n"
               "from standard input.\n"
               "\n"
               "  --header   print the header fields first\n"
               "  --utf8     convert the Big5 text to UTF-8 for a terminal\n"
               "  --help     this text\n"
               "\n"
               "Exit status: 0 well-formed, 1 malformed or unreadable table, 2 usage error.\n",
        to);
}

std::string printable(std::string_view bytes, bool utf8)
{
    if (utf8) {
        const std::u16string text = kpx::decodeBig5(bytes);
        std::string out;
        for (std::size_t at = 0; at < text.size(); ++at) {
            char32_t code = text[at];
            if (code >= 0xD800 && code < 0xDC00 && at + 1 < text.size()) {
                code = 0x10000 + ((code - 0xD800) << 10) + (text[++at] - 0xDC00);
            }
            if (code >= kpx::kBig5EscapeBase && code <= kpx::kBig5EscapeBase + 0xFF) {
                // A byte without a Big5 character: show it as \xNN.
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned>(code - kpx::kBig5EscapeBase));
                out += hex;
            } else if (code < 0x80) {
                out += static_cast<char>(code);
            } else if (code < 0x800) {
                out += static_cast<char>(0xC0 | (code >> 6));
                out += static_cast<char>(0x80 | (code & 0x3F));
            } else if (code < 0x10000) {
                out += static_cast<char>(0xE0 | (code >> 12));
                out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
                out += static_cast<char>(0x80 | (code & 0x3F));
            } else {
                out += static_cast<char>(0xF0 | (code >> 18));
                out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
                out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
                out += static_cast<char>(0x80 | (code & 0x3F));
            }
        }
        return out;
    }
    return std::string(bytes);
}

} // namespace

int main(int systemArgc, char **systemArgv)
{
    // Arguments in the program's form of paths, whatever the system's code page.
    kpx::tools::CommandLine commandLine;
    if (!commandLine.read("kpx-dump", systemArgc, systemArgv))
        return kpx::tools::kExitUsage;
    const int argc = commandLine.count();
    char **argv = commandLine.values();
    bool header = false;
    bool utf8 = false;
    const char *path = nullptr;
    for (int at = 1; at < argc; ++at) {
        if (std::strcmp(argv[at], "--help") == 0 || std::strcmp(argv[at], "-h") == 0) {
            usage(stdout);
            return 0;
        }
        if (std::strcmp(argv[at], "--header") == 0) {
            header = true;
        } else if (std::strcmp(argv[at], "--utf8") == 0) {
            utf8 = true;
        } else if (argv[at][0] == '-' && argv[at][1] != 0) {
            std::fprintf(stderr, "kpx-dump: unknown option '%s'\n", argv[at]);
            usage(stderr);
            return 2;
        } else if (!path) {
            path = argv[at];
        } else {
            std::fprintf(stderr, "kpx-dump: one table at a time\n");
            return 2;
        }
    }
    if (!path) {
        usage(stderr);
        return 2;
    }

    kpx::os::setStandardStreamsBinary();
    const bool fromStandardInput = std::strcmp(path, "-") == 0;
    if (fromStandardInput)
        path = "(standard input)";
    // The file layer names the file as the program's path: the C runtime would read the name in
    // the system's code page.
    std::string bytes;
    if (!kpx::tools::readWholeInput(fromStandardInput ? kpx::tools::kStandardStream : path, bytes)) {
        std::fprintf(stderr, "kpx-dump: cannot read %s\n", path);
        return 1;
    }
    kpx::TableContents table;
    std::string error;
    if (!kpx::readTable(bytes, table, error)) {
        std::fprintf(stderr, "kpx-dump: %s is not a well-formed table: %s\n", path, error.c_str());
        return 1;
    }
    if (header) {
        std::string tag;
        for (unsigned char byte : table.tag) {
            char shown[8];
            if (byte >= 0x20 && byte < 0x7F)
                std::snprintf(shown, sizeof shown, "%c", byte);
            else
                std::snprintf(shown, sizeof shown, "\\x%02X", byte);
            tag += shown;
        }
        std::printf(
            "header record size: 24\ntag: %s\nentries: %u\nbody size: %u\n", tag.c_str(), table.count, table.bodySize);
    }
    std::string out;
    for (const kpx::TableRecord &record : table.records) {
        out += printable(record.key, utf8);
        out += '\t';
        out += printable(record.output, utf8);
        out += '\n';
        if (out.size() > (1 << 16)) {
            std::fwrite(out.data(), 1, out.size(), stdout);
            out.clear();
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
