// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "compiler/line_problems.h"
#include "compiler/table_writer.h"

// The table compiler's entry points. There is one compiler for the whole program; its entries
// stay in memory from one run to the next. A run is tc_begin, tc_add_line for every line,
// tc_order_and_sort, tc_write and tc_count. None of these shows a message or throws.
namespace kpx {

// Starts a run: drops the entries and both overrides; makes room for reserve entries. Always 1.
std::int32_t tc_begin(std::int32_t reserve);

// Compiles one line (zero-terminated bytes without its line end): a data line becomes an entry,
// an include line sets an override or reads a further file. The caller's text is not changed.
void tc_add_line(const char *line);

// Sets the order ('1' ty, '2' py, '3' ib, any other byte ty) and sorts the entries. Always 1.
std::int32_t tc_order_and_sort(char digit);

// Writes the table to path under id (either may be replaced by an include line's override).
// Non-zero when the complete table was written; 0 when it could not be, and then any file that
// stood at the path is left as it was. The path is refused when it names a file the run read
// (its source file or an include file): TableWriteFailure::OutputIsInput.
std::int32_t tc_write(const char *path, const char *id);

// Entries stored in the current run.
std::int32_t tc_count();

// True once the current run takes no more lines: memory ran out, or its entries are all a table
// can hold. Its table is not written then; a caller may stop reading.
bool tc_stopped();

// What the last tc_write did.
const TableWriteReport &tc_last_write();

// The lines of the current run that made no entry, and why; after tc_order_and_sort also the
// entries that repeat an earlier one.
const RunProblems &tc_problems();

// The file whose text this run compiles (a data file), named after tc_begin: the first link of
// the include chain, so that an include line naming it is an include cycle like any other, and
// an input that tc_write does not replace (by its name, when it does not exist yet). Null: the
// text has no file.
void tc_set_source_file(const char *path);

// The main window's progress step, called once for every line of an included file that the
// compiler classifies. Until a window installs one, nothing happens.
void tc_set_progress_step(std::function<void()> step);

// Called with every line of an included file before the compiler looks at it (a UTF-8 file's
// line turned into Big5, say): it may change the line (a zero-terminated text of the file's
// bytes) or return false to pass it over. Without one, lines are compiled as read.
using IncludeLineFilter = std::function<bool(const char *path, std::int32_t line, std::string &text)>;
void tc_set_include_line_filter(IncludeLineFilter filter);

} // namespace kpx
