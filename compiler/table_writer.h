// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "compiler/entry_list.h"
#include "io/file_handle.h"
#include "compiler/table_compiler.h"

#include <cstdint>
#include <string>

// What goes into one table file.
struct TableImage {
    const Entry *entries;
    std::int32_t count;
    const char *id;   // null: the order's default tag
    char orderDigit;
};

// The tag bytes for an id (its first four bytes; a shorter one with its zero and zero fill), or
// the order's default tag when there is no id.
void tableTag(const char *id, char orderDigit, unsigned char tag[4]);

// Writes the table to path through file. The table goes to a temporary file beside path and
// takes the old file's place only once every byte is written, so a failure leaves what stood at
// path as it was. Returns TableWriteFailure::None on success; reason gets the system's words.
TableWriteFailure writeTableFile(FileHandle &file, const char *path, const TableImage &image, std::string &reason);
