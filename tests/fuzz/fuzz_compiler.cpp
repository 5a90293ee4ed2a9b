// SPDX-License-Identifier: GPL-2.0-or-later
// Lines through the compiler's entry points in all three orders: the table written must be
// well-formed and hold exactly the entries the lines produce, each once.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "compiler/collation.h"
#include "compiler/table_compiler.h"
#include "compiler/table_reader.h"
#include "tests/compiler/reference_quicksort.h"
#include "tests/fuzz/fuzz_support.h"

using namespace kpx;

namespace {

using Pair = std::pair<std::string, std::string>;

bool isBlank(char byte)
{
    return byte == ' ' || byte == '\t' || byte == '\r' || byte == '\n';
}

// An independent reading of the data line rules, to check the compiler against.
bool expectedEntry(const std::string &line, Pair &entry)
{
    std::vector<std::string> columns;
    std::size_t at = 0;
    while (columns.size() < 2) {
        while (at < line.size() && isBlank(line[at]))
            ++at;
        if (at == line.size())
            break;
        const std::size_t start = at;
        while (at < line.size() && !isBlank(line[at]))
            ++at;
        columns.push_back(line.substr(start, at - start));
    }
    if (columns.size() < 2)
        return false;
    const std::string &key = columns[0];
    const std::string &output = columns[1];
    if (key.rfind("#include", 0) == 0)
        return false;
    if (key.rfind("//", 0) == 0 || (key.size() >= 2 && key.compare(key.size() - 2, 2, "//") == 0) || key == "/"
        || output.rfind("//", 0) == 0)
        return false;
    if (key.size() > 32 || output.size() > 64 || key.size() + output.size() + 2 > 96)
        return false;
    entry = { key, output };
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const char orders[] = { '1', '2', '3', '0' };
    const char order = orders[data[0] % 4];
    const bool withId = data[0] & 4;
    std::string text(reinterpret_cast<const char *>(data) + 1, size - 1);
    // No include lines: they would read files of the machine.
    for (std::size_t at = text.find("#include"); at != std::string::npos; at = text.find("#include", at))
        text[at] = 'x';

    std::vector<Pair> expected;
    tc_begin(0);
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        line = line.substr(0, std::strlen(line.c_str())); // the compiler sees up to a zero byte
        Pair entry;
        if (expectedEntry(line, entry))
            expected.push_back(entry);
        tc_add_line(line.c_str());
        start = end + 1;
    }
    fuzz::check(tc_count() == static_cast<std::int32_t>(expected.size()), "entry count");
    tc_order_and_sort(order);
    const std::string path = fuzz::scratchPath("table.zd");
    fuzz::check(tc_write(path.c_str(), withId ? "abcde" : nullptr) != 0, "table written");

    const std::string bytes = fuzz::readFile(path);
    TableContents table;
    std::string error;
    fuzz::check(readTable(bytes, table, error), "table well-formed");
    fuzz::check(table.count == expected.size(), "table count");
    fuzz::check(std::memcmp(table.tag,
                    withId             ? "abcd"
                        : order == '2' ? "dpy\0"
                        : order == '3' ? "kpx\0"
                                       : "dty\0",
                    4)
            == 0,
        "tag");

    std::vector<Pair> written;
    for (const TableRecord &record : table.records)
        written.emplace_back(std::string(record.key), std::string(record.output));
    // In byte order without hyphens the key order is a total order: the table must follow it,
    // with equal keys in the order of the lines.
    if (order == '3' && text.find('-') == std::string::npos) {
        for (std::size_t at = 1; at < written.size(); ++at)
            fuzz::check(compareKeysIb(written[at - 1].first.c_str(), written[at].first.c_str()) <= 0, "ib order");
        std::vector<Pair> stable = expected;
        std::stable_sort(stable.begin(), stable.end(),
            [](const Pair &x, const Pair &y) { return compareKeysIb(x.first.c_str(), y.first.c_str()) < 0; });
        fuzz::check(stable == written, "equal keys keep the order of the lines");
    }
    const KeyComparison keys = keyComparisonFor(TableOrder::fromDigit(order));
    std::vector<std::size_t> lines(expected.size());
    for (std::size_t at = 0; at < lines.size(); ++at)
        lines[at] = at;
    kpx::testing::referenceQuicksort(
        lines, 0, static_cast<std::ptrdiff_t>(lines.size()) - 1, [&](std::size_t x, std::size_t y) {
            const int byKey = keys(expected[x].first.c_str(), expected[y].first.c_str());
            return byKey != 0 ? byKey : (x < y ? -1 : x > y ? 1 : 0);
        });
    std::vector<Pair> plain;
    for (const std::size_t line : lines)
        plain.push_back(expected[line]);
    fuzz::check(plain == written, "the order of the plain quicksort on whole keys");

    std::sort(expected.begin(), expected.end());
    std::sort(written.begin(), written.end());
    fuzz::check(expected == written, "the table holds exactly the lines' entries");
    return 0;
}
