// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kpx {

// Reads a lexicon table back and checks it against the format: header record size 24, the fixed
// fields, the body size stored twice and matching the file, every record inside the body and the
// entry count matching the records.
struct TableRecord {
    std::string_view key;
    std::string_view output;
};

struct TableContents {
    unsigned char tag[4] = {};
    std::uint32_t count = 0;
    std::uint32_t bodySize = 0;
    std::vector<TableRecord> records; // views into the bytes that were read
};

// False with a message (English, for the tools) when bytes are no well-formed table.
bool readTable(std::string_view bytes, TableContents &contents, std::string &error);

} // namespace kpx
