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

constexpr const char *kTool = "kpx-dump";

void usage()
{
    kpx::tools::say(stdout,
        "Usage: kpx-dump [--header] [--utf8|--big5] TABLE\n"
        "\n"
        "Checks a lexicon table (.zd) against the format and prints its entries in file\n"
        "order, one 'key<TAB>output' line each. TABLE - reads the table from standard input.\n"
        "\n"
        "  --header   print the header fields first\n"
        "  --utf8     the entries' Big5 text converted to UTF-8 (a byte that is no Big5\n"
        "             character shown as \\xNN)\n"
        "  --big5     the entries' bytes as they are\n"
        "  --help     this text\n"
        "Without either, the entries are UTF-8 when standard output is a terminal that shows\n"
        "UTF-8 (a Windows console, or a terminal whose locale is UTF-8), else their bytes as\n"
        "they are, so that a redirected listing keeps the table's Big5.\n"
        "\n");
    kpx::tools::say(stdout, kpx::tools::commonHelp());
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
    if (!commandLine.read(kTool, systemArgc, systemArgv))
        return kpx::tools::kExitUsage;
    static constexpr kpx::tools::ToolOption kOptions[] = {
        { "--header", nullptr, false },
        { "--utf8", nullptr, false },
        { "--big5", nullptr, false },
    };
    kpx::tools::ParsedOptions options;
    if (!kpx::tools::parseOptions(kTool, commandLine.count(), commandLine.values(), kOptions, options))
        return kpx::tools::kExitUsage;
    if (kpx::tools::answeredHelpOrVersion(kTool, options, usage))
        return kpx::tools::kExitWritten;
    if (options.operands.empty())
        return kpx::tools::usageError(kTool, "a table is needed");
    if (options.operands.size() > 1)
        return kpx::tools::usageError(kTool, "one table at a time, not '" + options.operands[1] + "' too");
    if (options.has("--utf8") && options.has("--big5"))
        return kpx::tools::usageError(kTool, "--utf8 and --big5 exclude each other");
    const bool header = options.has("--header");
    const bool utf8 = options.has("--utf8") || (!options.has("--big5") && kpx::os::standardOutputShowsUtf8());

    kpx::os::setStandardStreamsBinary();
    const std::string &given = options.operands[0];
    const bool fromStandardInput = given == kpx::tools::kStandardStream;
    const std::string path = fromStandardInput ? kpx::tools::kStandardInputName : kpx::tools::shownPath(given);
    // The file layer names the file as the program's path: the C runtime would read the name in
    // the system's code page.
    std::string bytes;
    std::string reason;
    if (!kpx::tools::readWholeInput(given, bytes, reason)) {
        kpx::tools::sayf(stderr, "kpx-dump: cannot read %s%s\n", path.c_str(), kpx::tools::becauseOf(reason).c_str());
        return kpx::tools::kExitNotWritten;
    }
    kpx::TableContents table;
    std::string error;
    if (!kpx::readTable(bytes, table, error)) {
        kpx::tools::sayf(stderr, "kpx-dump: %s is not a well-formed table: %s\n", path.c_str(), error.c_str());
        return kpx::tools::kExitNotWritten;
    }
    std::string out;
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
        out = "header record size: 24\ntag: " + tag + "\nentries: " + std::to_string(table.count)
            + "\nbody size: " + std::to_string(table.bodySize) + "\n";
    }
    const kpx::os::StreamText kind = utf8 ? kpx::os::StreamText::Message : kpx::os::StreamText::Big5;
    bool written = true;
    for (const kpx::TableRecord &record : table.records) {
        out += printable(record.key, utf8);
        out += '\t';
        out += printable(record.output, utf8);
        out += '\n';
        if (out.size() > (1 << 16)) {
            written = kpx::os::writeStandardStream(stdout, out, kind) && written;
            out.clear();
        }
    }
    written = kpx::os::writeStandardStream(stdout, out, kind) && written;
    return std::fflush(stdout) == 0 && written ? kpx::tools::kExitWritten : kpx::tools::kExitNotWritten;
}
