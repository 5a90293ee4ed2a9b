// SPDX-License-Identifier: GPL-2.0-or-later
#include "compiler/data_text.h"

#include <cstring>

#include "compiler/table_compiler.h"

namespace kpx {

DataTextToCompiler::DataTextToCompiler(std::function<void()> afterLine)
    : afterLine_(std::move(afterLine))
{
}

void DataTextToCompiler::feed(std::string_view bytes)
{
    splitter_.feed(bytes.data(), bytes.size(), [this](const char *line, std::size_t length) { addLine(line, length); });
}

void DataTextToCompiler::finish()
{
    splitter_.finish([this](const char *line, std::size_t length) { addLine(line, length); });
}

void DataTextToCompiler::addLine(const char *bytes, std::size_t length)
{
    // tc_add_line takes a zero-terminated line; the copy also makes the cut.
    length = length < kMaxCompilerLineBytes ? length : kMaxCompilerLineBytes;
    std::memcpy(line_, bytes, length);
    line_[length] = 0;
    tc_add_line(line_);
    if (afterLine_)
        afterLine_();
}

void addDataText(std::string_view text, std::function<void()> afterLine)
{
    DataTextToCompiler compiler(std::move(afterLine));
    compiler.feed(text);
    compiler.finish();
}

} // namespace kpx
