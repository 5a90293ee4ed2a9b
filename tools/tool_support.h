// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/line_problems.h"
#include "platform/os_file.h"

// What the command-line tools share: their exit statuses, their command line, their messages,
// reading an input whole, and the words for a line that made no entry, so that every tool
// behaves and reports the same way.
namespace kpx::tools {

// The same in every tool: 0 done, 1 failed (an input that cannot be read or is not what it
// should be, an output not written), 2 usage error (nothing read or written).
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

// An option of a tool: its long name ("--order"), a short one ("-o") or nullptr, and whether a
// value follows it.
struct ToolOption {
    const char *name;
    const char *shortName;
    bool takesValue;
};

// A command line read against a tool's options.
class ParsedOptions {
public:
    bool has(std::string_view name) const;
    // The option's value; empty when it was not given.
    const std::string &value(std::string_view name) const;
    // The arguments that are not options, in their order ("-" among them).
    std::vector<std::string> operands;
    bool help = false;
    bool version = false;

private:
    friend bool parseOptions(const char *, int, char **, std::span<const ToolOption>, ParsedOptions &);
    std::vector<std::pair<std::string, std::string>> given_;
};

// Reads argv[1...]: each option at most once and only one the tool has, a value where one is
// needed; -h or --help asks for the help; after "--" every argument is an operand. False after
// a usage error, printed as usageError prints it.
bool parseOptions(const char *tool, int argc, char **argv, std::span<const ToolOption> options, ParsedOptions &parsed);

// Answers --version ("TOOL VERSION") or --help (usage()) on standard output: true when one was
// asked, and the tool then ends.
bool answeredHelpOrVersion(const char *tool, const ParsedOptions &given, void (*usage)());

// "TOOL: MESSAGE (see TOOL --help)" on standard error; kExitUsage.
int usageError(const char *tool, const std::string &message);

// What every tool's help ends with: the exit statuses, usage errors, and how messages are written.
std::string commonHelp();

// Text on standard output or error, as the platform writes it (platform/standard_streams.h).
// False when the write failed.
bool say(std::FILE *stream, std::string_view message);
bool sayf(std::FILE *stream, const char *format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;

// A path of the program's as messages name it.
std::string shownPath(const std::string &path);

// Reads a whole file, or standard input for "-". False when it cannot be read; the system's
// reason is then in reason.
bool readWholeInput(const std::string &path, std::string &bytes);
bool readWholeInput(const std::string &path, std::string &bytes, std::string &reason);

// Why an input was not read: "not a regular file: a device" (and the like) for kind, else the
// system's words for the last failed call.
std::string notReadReason(os::FileKind kind);

// ": reason", or nothing when the system gave none.
std::string becauseOf(const std::string &reason);

// "1 entry", "2 entries".
std::string countedEntries(std::int32_t count);

// Names a file of a compiler run (0 is the data text itself) as a message shows it.
using RunFileName = std::function<std::string(std::int32_t file)>;

// Why a line made no entry, in words.
std::string lineProblemText(const LineProblem &problem, const RunFileName &pathOf);

// PATH:LINE: reason on standard error, as compilers report.
void printLineProblem(const LineProblem &problem, const RunFileName &pathOf);

} // namespace kpx::tools
