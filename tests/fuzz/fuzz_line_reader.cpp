// SPDX-License-Identifier: GPL-2.0-or-later
// The line reader over arbitrary bytes: the lines it delivers do not depend on the size of the
// reads that bring the bytes in, and they are the lines that the line-end rules give.
#include <cstdint>
#include <string>
#include <vector>

#include "io/line_reader.h"
#include "tests/fuzz/fuzz_support.h"

using namespace kpx;

namespace {

std::vector<std::string> expectedLines(const std::string &bytes)
{
    std::vector<std::string> lines;
    std::string line;
    std::size_t at = 0;
    bool any = false;
    while (at < bytes.size()) {
        const char byte = bytes[at++];
        // Zero bytes are dropped, so an LF after CR, zero, zero still belongs to the line end.
        if (byte == 0)
            continue;
        any = true;
        // CR LF, CR alone and LF alone each end a line.
        if (byte == '\r' || byte == '\n') {
            if (byte == '\r') {
                while (at < bytes.size() && bytes[at] == 0)
                    ++at;
                if (at < bytes.size() && bytes[at] == '\n')
                    ++at;
            }
            lines.push_back(line);
            line.clear();
            any = false;
        } else {
            line += byte;
        }
    }
    if (any)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> readAll(const std::string &path, std::int32_t blockSize, bool skipping)
{
    LineReader reader(blockSize);
    std::vector<std::string> lines;
    if (!reader.openForReading(path.c_str()))
        fuzz::fail("cannot open the scratch file");
    TextBuffer line;
    if (skipping) {
        while (reader.nextLine(line))
            lines.emplace_back(line.get());
        return lines;
    }
    // Raw lines, as readLine delivers them until the end. When the end of the file is noticed
    // depends on the block size, so empty lines at the very end are not compared.
    for (int guard = 0; guard < 1000000; ++guard) {
        line.clear();
        reader.readLine(line);
        lines.emplace_back(line.get() ? line.get() : "");
        if (reader.atEnd()) {
            while (!lines.empty() && lines.back().empty())
                lines.pop_back();
            return lines;
        }
    }
    fuzz::fail("the reader does not come to an end");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    const std::string path = fuzz::scratchPath("lines.txt");
    fuzz::writeFile(path, bytes);

    const std::vector<std::string> expected = expectedLines(bytes);
    std::vector<std::string> expectedKept;
    for (const std::string &line : expected) {
        if (!line.empty() && line.rfind("//", 0) != 0)
            expectedKept.push_back(line);
    }
    for (const std::int32_t blockSize : { 2, 3, 5, 17, 136, 4096 }) {
        fuzz::check(readAll(path, blockSize, true) == expectedKept, "nextLine lines");
    }
    std::vector<std::string> expectedRaw = expected;
    while (!expectedRaw.empty() && expectedRaw.back().empty())
        expectedRaw.pop_back();
    for (const std::int32_t blockSize : { 2, 7, 136 })
        fuzz::check(readAll(path, blockSize, false) == expectedRaw, "readLine lines");
    return 0;
}
