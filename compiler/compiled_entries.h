// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "compiler/line_problems.h"
#include "compiler/run_inputs.h"
#include "compiler/table_order.h"

namespace kpx {

class TableCompiler;

// How the lines of a run that made no entry divide up, beside RunProblems' mistakes.
struct CompiledLineCounts {
    // Comment lines ("//" forms) the compiler passed over, in the text and in included files.
    std::int32_t commentLines = 0;
    // Include lines: files followed, "o=" and "id=" overrides, and the lines beginning with '#'
    // that an included file passes over.
    std::int32_t includeLines = 0;
};

// A compiler run of its own that yields the entries instead of a table, for programs that want
// the words themselves (export to other input methods' formats). It reads data text exactly as
// the window's make-table command and kpx-make do (line ends, the 4096-byte cut, include files
// relative to the current directory), and leaves the program's one compiler (tc_*) alone.
class CompiledEntries {
public:
    CompiledEntries();
    ~CompiledEntries();
    CompiledEntries(const CompiledEntries &) = delete;
    CompiledEntries &operator=(const CompiledEntries &) = delete;

    // The file whose text is fed (TableCompiler::setSourceFile): an include line naming it is a
    // cycle, as in a table run. Before the first feed.
    void setSourceFile(const char *path);
    // Data text (Big5 bytes), in pieces of any size; then finish once.
    void feed(std::string_view bytes);
    void finish();

    // Puts the entries into the table's order. Without it they stay in the order they were made
    // (the text's order, an include file's entries where its include line stands).
    void sort(TableOrder order);

    std::int32_t count() const;
    std::string_view key(std::int32_t index) const;
    std::string_view output(std::int32_t index) const;
    // The order in which entry index was made, from 0.
    std::int32_t sequence(std::int32_t index) const;
    // Where entry index was read: a file of problems().files (0: the text fed) and its line
    // from 1 (0 when not known).
    std::int32_t file(std::int32_t index) const;
    std::int32_t line(std::int32_t index) const;

    // The sequence numbers of the entries that repeat an earlier one (same key and output),
    // ascending. Found by sort, or here when the entries are to stay in their order.
    const std::vector<std::int32_t> &repeatedSequences();

    // The lines that made no entry, and after sort the entries that repeat an earlier one.
    const RunProblems &problems() const;
    const CompiledLineCounts &lineCounts() const;
    // True when memory ran out: the entries are incomplete.
    bool outOfMemory() const;
    // True when the entries filled what a table can hold: the run stopped, they are incomplete.
    bool tableFull() const;
    // The files read: the source file and the include files.
    const RunInputs &inputs() const;

private:
    struct Reading;
    std::unique_ptr<TableCompiler> compiler_;
    std::unique_ptr<Reading> reading_;
};

} // namespace kpx
