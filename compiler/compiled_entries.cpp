// SPDX-License-Identifier: GPL-2.0-or-later
#include "compiler/compiled_entries.h"

#include <cstring>

#include "compiler/data_lines.h"
#include "compiler/data_text.h"
#include "compiler/table_compiler_object_p.h"

namespace kpx {

struct CompiledEntries::Reading {
    DataLineSplitter splitter;
    char line[kMaxCompilerLineBytes + 1];
};

CompiledEntries::CompiledEntries()
    : compiler_(std::make_unique<TableCompiler>())
    , reading_(std::make_unique<Reading>())
{
    compiler_->begin(0);
}

CompiledEntries::~CompiledEntries() = default;

void CompiledEntries::setSourceFile(const char *path)
{
    compiler_->setSourceFile(path);
}

void CompiledEntries::feed(std::string_view bytes)
{
    // The same lines, cut the same way, as DataTextToCompiler hands to the program's compiler.
    reading_->splitter.feed(bytes.data(), bytes.size(), [this](const char *from, std::size_t length) {
        length = length < kMaxCompilerLineBytes ? length : kMaxCompilerLineBytes;
        std::memcpy(reading_->line, from, length);
        reading_->line[length] = 0;
        compiler_->addLine(reading_->line);
    });
}

void CompiledEntries::finish()
{
    reading_->splitter.finish([this](const char *from, std::size_t length) {
        length = length < kMaxCompilerLineBytes ? length : kMaxCompilerLineBytes;
        std::memcpy(reading_->line, from, length);
        reading_->line[length] = 0;
        compiler_->addLine(reading_->line);
    });
}

void CompiledEntries::sort(TableOrder order)
{
    compiler_->orderAndSort(order.digit());
}

std::int32_t CompiledEntries::count() const
{
    return compiler_->count();
}

std::string_view CompiledEntries::key(std::int32_t index) const
{
    const Entry &entry = compiler_->entries()[index];
    return std::string_view(entry.key(), entry.keyLength);
}

std::string_view CompiledEntries::output(std::int32_t index) const
{
    const Entry &entry = compiler_->entries()[index];
    return std::string_view(entry.output(), entry.outputLength);
}

std::int32_t CompiledEntries::sequence(std::int32_t index) const
{
    return compiler_->entries()[index].sequence;
}

std::int32_t CompiledEntries::file(std::int32_t index) const
{
    return compiler_->entryPlace(sequence(index)).file;
}

std::int32_t CompiledEntries::line(std::int32_t index) const
{
    return compiler_->entryPlace(sequence(index)).line;
}

const std::vector<std::int32_t> &CompiledEntries::repeatedSequences()
{
    compiler_->findDuplicates();
    return compiler_->duplicateSequences();
}

const RunProblems &CompiledEntries::problems() const
{
    return compiler_->problems();
}

const CompiledLineCounts &CompiledEntries::lineCounts() const
{
    return compiler_->lineCounts();
}

bool CompiledEntries::outOfMemory() const
{
    return compiler_->outOfMemory();
}

bool CompiledEntries::tableFull() const
{
    return compiler_->stopped() && !compiler_->outOfMemory();
}

const RunInputs &CompiledEntries::inputs() const
{
    return compiler_->inputs();
}

} // namespace kpx
