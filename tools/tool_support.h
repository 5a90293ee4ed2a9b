// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "compiler/line_problems.h"
#include "platform/os_file.h"

// What the command-line tools share: their exit statuses, reading an input whole, and the words
// for a line that made no entry, so that every tool reports a line the same way.
namespace kpx::tools {

constexpr int kExitWritten = 0;
constexpr int kExitNotWritten = 1;
constexpr int kExitUsage = 2;

// "-" names standard input (or output) on every tool's command line.
constexpr const char *kStandardStream = "-";
constexpr const char *kStandardInputName = "(standard input)";

// The command line as the program's paths (platform/program_arguments.h), in the argc/argv form
// the tools parse.
class CommandLine {
public:
    // False, with a message naming the argument on standard error, when an argument cannot be
    // the program's: it would name another file than the one the user typed.
    bool read(const char *tool, int argc, char **argv);
    int count() const { return static_cast<int>(strings_.size()); }
    char **values() { return pointers_.data(); }

private:
    std::vector<std::string> strings_;
    std::vector<char *> pointers_;
};

// Reads a whole file, or standard input for "-". False when it cannot be read; why then says
// so: the system's words, or what stands there when it is no regular file.
bool readWholeInput(const std::string &path, std::string &bytes, std::string *why = nullptr);

// Why an input was not read: "not a regular file: a device" (and the like) for kind, else the
// system's words for the last failed call.
std::string notReadReason(os::FileKind kind);

// "1 entry", "2 entries".
std::string countedEntries(std::int32_t count);

// Names a file of a compiler run (0 is the data text itself) as a message shows it.
using RunFileName = std::function<std::string(std::int32_t file)>;

// Why a line made no entry, in words.
std::string lineProblemText(const LineProblem &problem, const RunFileName &pathOf);

// PATH:LINE: reason on standard error, as compilers report.
void printLineProblem(const LineProblem &problem, const RunFileName &pathOf);

} // namespace kpx::tools
