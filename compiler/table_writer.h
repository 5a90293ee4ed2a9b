// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "compiler/table_order.h"
#include "platform/os_file.h"

namespace kpx {

// What the last table write did: the path it wrote to (after an "o=" override) and, when it
// failed, why, as the system describes it.
enum class TableWriteFailure {
    None,
    NoPath, // the path was empty
    ReadOnly, // a read-only file or a directory stands at the path
    CannotCreate, // the file could not be created (e.g. the directory is missing)
    WriteFailed, // a write failed or came short (e.g. the disk is full)
    CannotReplace, // the finished table could not take the old one's place
    OutOfMemory, // the run could not hold all its entries
    TooLarge, // the run's entries are more than a table can hold (TableCompiler::kMaxBodyBytes, kMaxEntries)
    OutputIsInput, // the path names a file the run read (input): the table would replace it
};
struct TableWriteReport {
    std::string path;
    bool written = false;
    TableWriteFailure failure = TableWriteFailure::None;
    std::string reason; // the system's words for the failure, when it gave any
    os::ErrorKind reasonKind = os::ErrorKind::None; // and its cause
    std::string input; // OutputIsInput: the input as the run named it
};

struct Entry;

// What goes into one table file.
struct TableImage {
    const Entry *entries;
    std::int32_t count;
    const char *id; // null: the order's default tag
    TableOrder order;
};

// Writes the table to path. The table goes to a temporary file beside path and takes the old
// file's place only once every byte is written, so a failure leaves what stood at path as it
// was. Returns TableWriteFailure::None on success; report gets the system's words and cause.
TableWriteFailure writeTableFile(const char *path, const TableImage &image, TableWriteReport &report);

} // namespace kpx
