// SPDX-License-Identifier: GPL-2.0-or-later
#include "tools/tool_support.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

#include "io/file_handle.h"
#include "platform/native_path.h"
#include "platform/os_file.h"
#include "platform/program_arguments.h"
#include "platform/standard_streams.h"

namespace kpx::tools {

bool CommandLine::read(const char *tool, int argc, char **argv)
{
    os::ProgramArguments arguments = os::programArguments(argc, argv);
    if (!arguments.ok()) {
        sayf(stderr, "%s: argument %d '%s' cannot be used: the character U+%04X has no Big5 form\n", tool,
            static_cast<int>(arguments.refused), os::messageName(arguments.shown).c_str(),
            static_cast<unsigned>(arguments.character));
        return false;
    }
    strings_ = std::move(arguments.values);
    pointers_.clear();
    for (std::string &value : strings_)
        pointers_.push_back(value.data());
    pointers_.push_back(nullptr);
    return true;
}

bool ParsedOptions::has(std::string_view name) const
{
    for (const auto &option : given_) {
        if (option.first == name)
            return true;
    }
    return false;
}

const std::string &ParsedOptions::value(std::string_view name) const
{
    static const std::string kNone;
    for (const auto &option : given_) {
        if (option.first == name)
            return option.second;
    }
    return kNone;
}

bool parseOptions(const char *tool, int argc, char **argv, std::span<const ToolOption> options, ParsedOptions &parsed)
{
    bool optionsEnded = false;
    for (int at = 1; at < argc; ++at) {
        const std::string argument = argv[at];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            parsed.operands.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "--help" || argument == "-h") {
            parsed.help = true;
            continue;
        }
        if (argument == "--version") {
            parsed.version = true;
            continue;
        }
        const ToolOption *known = nullptr;
        for (const ToolOption &option : options) {
            if (argument == option.name || (option.shortName && argument == option.shortName))
                known = &option;
        }
        if (!known) {
            usageError(tool, "unknown option '" + argument + "'");
            return false;
        }
        if (parsed.has(known->name)) {
            usageError(tool, "option " + argument + " given twice");
            return false;
        }
        std::string value;
        if (known->takesValue) {
            if (at + 1 >= argc) {
                usageError(tool, "option " + argument + " needs a value");
                return false;
            }
            value = argv[++at];
        }
        parsed.given_.emplace_back(known->name, std::move(value));
    }
    return true;
}

int usageError(const char *tool, const std::string &message)
{
    sayf(stderr, "%s: %s (see %s --help)\n", tool, message.c_str(), tool);
    return kExitUsage;
}

bool answeredHelpOrVersion(const char *tool, const ParsedOptions &given, void (*usage)())
{
    if (given.version)
        sayf(stdout, "%s %s\n", tool, KPX_VERSION);
    else if (given.help)
        usage();
    return given.version || given.help;
}

std::string commonHelp()
{
    std::string help = "--version prints the tool's version.\n"
                       "Exit status: 0 done, 1 failed (an input that cannot be read or is not what it should\n"
                       "be, an output not written), 2 usage error (nothing read or written). A usage error\n"
                       "is one line on standard error: an unknown option, an option given twice or one that\n"
                       "does not apply to what is asked, a missing or extra argument. An input that cannot\n"
                       "be read is named with the system's reason.\n";
    if (*os::redirectedMessageEncoding()) {
        help += "Messages on a console are shown as Unicode text, whatever the console's code page;\n"
                "written to a file or pipe, they are ";
        help += os::redirectedMessageEncoding();
        help += " text.\n";
    }
    return help;
}

bool say(std::FILE *stream, std::string_view message)
{
    return os::writeStandardStream(stream, message, os::StreamText::Message);
}

bool sayf(std::FILE *stream, const char *format, ...)
{
    std::va_list arguments;
    va_start(arguments, format);
    std::va_list again;
    va_copy(again, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, arguments);
    va_end(arguments);
    std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    if (length > 0)
        std::vsnprintf(text.data(), text.size() + 1, format, again);
    va_end(again);
    return say(stream, text);
}

std::string shownPath(const std::string &path)
{
    return os::messageName(os::nativePath(path));
}

std::string becauseOf(const std::string &reason)
{
    return reason.empty() ? std::string() : ": " + reason;
}

std::string notReadReason(os::FileKind kind)
{
    switch (kind) {
    case os::FileKind::Directory:
        return "not a regular file: a directory";
    case os::FileKind::Device:
        return "not a regular file: a device";
    case os::FileKind::NamedPipe:
        return "not a regular file: a named pipe";
    case os::FileKind::Regular:
        break;
    }
    const std::string words = os::lastErrorText();
    return words.empty() ? "cannot be read" : words;
}

bool readWholeInput(const std::string &path, std::string &bytes)
{
    std::string reason;
    return readWholeInput(path, bytes, reason);
}

bool readWholeInput(const std::string &path, std::string &bytes, std::string &reason)
{
    // As large as a plain program reads: a larger block only costs its clearing at small sizes.
    std::vector<char> block(1 << 16);
    if (path == kStandardStream) {
        for (;;) {
            const std::size_t got = std::fread(block.data(), 1, block.size(), stdin);
            bytes.append(block.data(), got);
            if (got < block.size()) {
                if (!std::ferror(stdin))
                    return true;
                reason = std::strerror(errno);
                return false;
            }
        }
    }
    FileHandle file;
    os::FileKind kind = os::FileKind::Regular;
    if (!file.openRead(path.c_str(), &kind)) {
        reason = notReadReason(kind);
        return false;
    }
    // Room for the whole file at once: growing a string of megabytes piece by piece copies it
    // over and over. Only a hint; the file is read to its end whatever its size said.
    if (const os::FileStatus status = os::fileStatus(path.c_str()); status.size > 0 && status.size < (1ll << 31))
        bytes.reserve(bytes.size() + static_cast<std::size_t>(status.size) + 1);
    for (;;) {
        const std::int32_t got = file.readBytes(block.data(), static_cast<std::int32_t>(block.size()));
        if (got < 0) {
            reason = notReadReason(os::FileKind::Regular);
            return false;
        }
        bytes.append(block.data(), static_cast<std::size_t>(got));
        if (got < static_cast<std::int32_t>(block.size()))
            return true;
    }
}

std::string countedEntries(std::int32_t count)
{
    return std::to_string(count) + (count == 1 ? " entry" : " entries");
}

std::string lineProblemText(const LineProblem &problem, const RunFileName &pathOf)
{
    switch (problem.reason) {
    case LineProblemReason::OneColumn:
        return "only one column: no output text";
    case LineProblemReason::KeyTooLong:
        return "key longer than 32 bytes";
    case LineProblemReason::OutputTooLong:
        return "output longer than 64 bytes";
    case LineProblemReason::EntryTooLong:
        return "key and output together longer than an entry may be (94 bytes)";
    case LineProblemReason::IncludeNotOpened:
        return "cannot open include file '" + pathOf(problem.subject) + "'";
    case LineProblemReason::IncludeCycle:
        return "include file '" + pathOf(problem.subject) + "' is already being read (include cycle): skipped";
    case LineProblemReason::OverrideTooShort:
        return "override too short to take effect: read as include file '" + pathOf(problem.subject)
            + "', which cannot be opened";
    case LineProblemReason::Duplicate:
        return "duplicate entry: same key and output as " + pathOf(problem.subject) + ":"
            + std::to_string(problem.subjectLine);
    case LineProblemReason::IncludeIsDirectory:
        return "include file '" + pathOf(problem.subject) + "' not read: " + notReadReason(os::FileKind::Directory);
    case LineProblemReason::IncludeIsDevice:
        return "include file '" + pathOf(problem.subject) + "' not read: " + notReadReason(os::FileKind::Device);
    case LineProblemReason::IncludeIsNamedPipe:
        return "include file '" + pathOf(problem.subject) + "' not read: " + notReadReason(os::FileKind::NamedPipe);
    case LineProblemReason::TableFull:
        return "more entries than a table can hold (4 GiB of entries, or 2147483647 entries): reading stopped here";
    case LineProblemReason::IncludeAtLineStart:
        return "warning: include line at the start of a line in an include file: passed over (an indented "
               "include line, ' #include ...', would be followed)";
    case LineProblemReason::IncludeReadAgain:
        return "warning: include file '" + pathOf(problem.subject) + "' was read before, by the include line at "
            + pathOf(problem.earlierFile) + ":" + std::to_string(problem.subjectLine)
            + ": its entries are stored again as duplicates, not listed one by one";
    }
    return "unknown problem";
}

void printLineProblem(const LineProblem &problem, const RunFileName &pathOf)
{
    sayf(stderr, "%s:%d: %s\n", pathOf(problem.file).c_str(), static_cast<int>(problem.line),
        lineProblemText(problem, pathOf).c_str());
}

} // namespace kpx::tools
