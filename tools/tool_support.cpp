// SPDX-License-Identifier: GPL-2.0-or-later
#include "tools/tool_support.h"

#include <cstdio>
#include <vector>

#include "io/file_handle.h"
#include "platform/os_file.h"
#include "platform/program_arguments.h"

namespace kpx::tools {

bool CommandLine::read(const char *tool, int argc, char **argv)
{
    os::ProgramArguments arguments = os::programArguments(argc, argv);
    if (!arguments.ok()) {
        std::fprintf(stderr, "%s: argument %d '%s' cannot be used: the character U+%04X has no Big5 form\n", tool,
            static_cast<int>(arguments.refused), arguments.shown.c_str(), static_cast<unsigned>(arguments.character));
        return false;
    }
    strings_ = std::move(arguments.values);
    pointers_.clear();
    for (std::string &value : strings_)
        pointers_.push_back(value.data());
    pointers_.push_back(nullptr);
    return true;
}

bool readWholeInput(const std::string &path, std::string &bytes)
{
    // As large as a plain program reads: a larger block only costs its clearing at small sizes.
    std::vector<char> block(1 << 16);
    if (path == kStandardStream) {
        for (;;) {
            const std::size_t got = std::fread(block.data(), 1, block.size(), stdin);
            bytes.append(block.data(), got);
            if (got < block.size())
                return !std::ferror(stdin);
        }
    }
    FileHandle file;
    if (!file.openRead(path.c_str()))
        return false;
    // Room for the whole file at once: growing a string of megabytes piece by piece copies it
    // over and over. Only a hint; the file is read to its end whatever its size said.
    if (const os::FileStatus status = os::fileStatus(path.c_str()); status.size > 0 && status.size < (1ll << 31))
        bytes.reserve(bytes.size() + static_cast<std::size_t>(status.size) + 1);
    for (;;) {
        const std::int32_t got = file.readBytes(block.data(), static_cast<std::int32_t>(block.size()));
        if (got < 0)
            return false;
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
    }
    return "unknown problem";
}

void printLineProblem(const LineProblem &problem, const RunFileName &pathOf)
{
    std::fprintf(stderr, "%s:%d: %s\n", pathOf(problem.file).c_str(), static_cast<int>(problem.line),
        lineProblemText(problem, pathOf).c_str());
}

} // namespace kpx::tools
