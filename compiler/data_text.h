// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

#include "compiler/data_lines.h"

// Data text (Big5 bytes, as in a data file or the editor) handed to the table compiler line by
// line, the same way for the window's make-table command and for kpx-make: lines end at CR LF,
// a lone CR or a lone LF, a zero byte ends the text, and each line reaches tc_add_line cut to
// its first kMaxCompilerLineBytes bytes.
namespace kpx {

inline constexpr std::size_t kMaxCompilerLineBytes = 4096;

class DataTextToCompiler {
public:
    // afterLine runs after every line the compiler was given (the window's progress step).
    explicit DataTextToCompiler(std::function<void()> afterLine = {});

    // Bytes may come in pieces of any size.
    void feed(std::string_view bytes);
    // Hands over the last line when the text does not end with a line break.
    void finish();

private:
    void addLine(const char *bytes, std::size_t length);

    DataLineSplitter splitter_;
    std::function<void()> afterLine_;
    char line_[kMaxCompilerLineBytes + 1];
};

// The whole text at once.
void addDataText(std::string_view text, std::function<void()> afterLine = {});

} // namespace kpx
