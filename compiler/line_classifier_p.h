// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>

#include "compiler/columns_p.h"
#include "compiler/line_problems.h"

namespace kpx {

// The limits of a data line, in bytes.
inline constexpr std::size_t kMaxKeyBytes = 32;
inline constexpr std::size_t kMaxOutputBytes = 64;

// What one line of data text is. Classification only reads and splits the line; the compiler
// decides what to do with the result.
enum class LineKind {
    Nothing, // too few columns, a comment, a column over its limit, an empty include
    Entry, // a data line: key and output
    Include, // an include line naming a file: argument is the path
    OutputOverride, // "#include o=PATH": argument is the path
    IdOverride, // "#include id=ID": argument is the id
    OutOfMemory, // the line could not be split
};

struct ClassifiedLine {
    LineKind kind = LineKind::Nothing;
    const char *key = nullptr; // Entry
    const char *output = nullptr; // Entry
    const char *argument = nullptr; // Include and the overrides
    std::size_t keyLength = 0; // Entry
    std::size_t outputLength = 0; // Entry
    // Nothing: set when the line is a mistake rather than a comment or a blank line.
    bool isProblem = false;
    // Nothing: set for a comment line.
    bool isComment = false;
    LineProblemReason problem = LineProblemReason::OneColumn;
};

// Splits line in place (CR and LF become spaces, zero bytes end the columns) and says what it
// is. The pointers in the result point into line. columns is scratch space the caller may reuse.
ClassifiedLine classifyLine(char *line, ColumnList &columns);

// An include line's argument (changed in place): enclosing marks dropped, then an output path
// override, an id override or a file to read.
ClassifiedLine classifyIncludeArgument(char *argument);

} // namespace kpx
