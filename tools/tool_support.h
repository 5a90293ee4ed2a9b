// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "compiler/line_problems.h"

// What the command-line tools share: their exit statuses, reading an input whole, and the words
// for a line that made no entry, so that every tool reports a line the same way.
namespace kpx::tools {

constexpr int kExitWritten = 0;
constexpr int kExitNotWritten = 1;
constexpr int kExitUsage = 2;

// "-" names standard input (or output) on every tool's command line.
constexpr const char *kStandardStream = "-";
constexpr const char *kStandardInputName = "(standard input)";

// Reads a whole file, or standard input for "-". False when it cannot be read.
bool readWholeInput(const std::string &path, std::string &bytes);

// "1 entry", "2 entries".
std::string countedEntries(std::int32_t count);

// Names a file of a compiler run (0 is the data text itself) as a message shows it.
using RunFileName = std::function<std::string(std::int32_t file)>;

// Why a line made no entry, in words.
std::string lineProblemText(const LineProblem &problem, const RunFileName &pathOf);

// PATH:LINE: reason on standard error, as compilers report.
void printLineProblem(const LineProblem &problem, const RunFileName &pathOf);

} // namespace kpx::tools
