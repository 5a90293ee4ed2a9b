// SPDX-License-Identifier: GPL-2.0-or-later
// The table reader on arbitrary bytes: it never reads out of bounds (the sanitizers watch), and
// what it accepts is exactly a table: writing the records back gives the same bytes.
#include <cstdint>
#include <cstring>
#include <string>

#include "compiler/table_format.h"
#include "compiler/table_reader.h"
#include "tests/fuzz/fuzz_support.h"

using namespace kpx;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // A copy of exactly the input's size, so that a read past the end is caught.
    std::string bytes(reinterpret_cast<const char *>(data), size);
    TableContents table;
    std::string error;
    if (!readTable(bytes, table, error)) {
        fuzz::check(!error.empty(), "a rejected table has a reason");
        return 0;
    }
    fuzz::check(table.records.size() == table.count, "record count");
    std::string rebuilt(zd::kHeaderSize, '\0');
    auto *header = reinterpret_cast<unsigned char *>(rebuilt.data());
    zd::putUint32(header, zd::kHeaderRecordSize);
    std::memcpy(header + zd::kTagOffset, table.tag, zd::kTagSize);
    zd::putUint16(header + 8, zd::kFixedField8);
    zd::putUint16(header + 10, zd::kFixedField10);
    zd::putUint32(header + zd::kCountOffset, table.count);
    zd::putUint32(header + zd::kBodySizeOffset, table.bodySize);
    zd::putUint32(header + 20, zd::kFixedField20);
    zd::putUint32(header + 24, zd::kFixedField24);
    zd::putUint32(header + zd::kSecondBodySizeOffset, table.bodySize);
    for (const TableRecord &record : table.records) {
        rebuilt += static_cast<char>(record.key.size());
        rebuilt += record.key;
        rebuilt += static_cast<char>(record.output.size());
        rebuilt += record.output;
    }
    fuzz::check(rebuilt == bytes, "an accepted table is exactly its header and records");
    return 0;
}
