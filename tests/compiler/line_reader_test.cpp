// SPDX-License-Identifier: GPL-2.0-or-later
// The line reader: line ends, block boundaries, long lines and skipped lines.
#include <cstring>
#include <string>
#include <vector>

#include "io/line_reader.h"
#include "tests/compiler/test_files.h"
#include <gtest/gtest.h>

using namespace kpx;

namespace {

using kpxtest::TempDir;
using kpxtest::writeFile;
using Lines = std::vector<std::string>;

// Every line nextLine delivers.
Lines deliveredLines(const std::string &path)
{
    LineReader reader;
    EXPECT_NE(reader.openForReading(path.c_str()), 0);
    Lines lines;
    TextBuffer text;
    while (reader.nextLine(text))
        lines.emplace_back(text.get());
    EXPECT_TRUE(reader.atEnd());
    return lines;
}

// Every line readLine delivers, empty ones included.
Lines rawLines(const std::string &path)
{
    LineReader reader;
    EXPECT_NE(reader.openForReading(path.c_str()), 0);
    Lines lines;
    while (!reader.atEnd()) {
        TextBuffer text;
        EXPECT_TRUE(reader.readLine(text));
        lines.emplace_back(text.get() ? text.get() : "");
    }
    return lines;
}

struct LineCase {
    const char *name;
    std::string bytes;
    Lines expected;
};

class LineEnds : public ::testing::TestWithParam<LineCase> {
protected:
    TempDir dir;
};

TEST_P(LineEnds, DeliversTheseLines)
{
    const std::string path = dir / "f.txt";
    writeFile(path, GetParam().bytes);
    EXPECT_EQ(deliveredLines(path), GetParam().expected);
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(LineReader, LineEnds,
    ::testing::Values(LineCase { "CrLf", "a b\r\nc d\r\n", { "a b", "c d" } },
        LineCase { "CrAlone", "a b\rc d\r", { "a b", "c d" } },
        LineCase { "Mixed", "a b\r\nc d\re f\r\n", { "a b", "c d", "e f" } },
        LineCase { "LfAlone", "a b\nc d\n", { "a b", "c d" } },
        LineCase { "AllThreeMixed", "a b\nc d\r\ne f\rg h\n\ri j", { "a b", "c d", "e f", "g h", "i j" } },
        LineCase { "LastLineWithoutEnd", "a b\r\nc d", { "a b", "c d" } }, LineCase { "EmptyFile", "", {} },
        LineCase { "OnlyEmptyAndCommentLines", "\r\n\r\n//x y\r\n//\r\n\r", {} },
        LineCase { "BlankAndIndentedCommentDelivered", "   \r\n\t//x y\r\n/x\r\n", { "   ", "\t//x y", "/x" } },
        LineCase { "LfAfterCrLfIsAnEmptyLine", "a\r\n\nb\r\n", { "a", "b" } },
        LineCase { "CrCrLf", "a\r\r\nb", { "a", "b" } },
        LineCase { "ZeroBytesAreDropped", "a\0b\r\n\0\r\n\0\0c"s, { "ab", "c" } },
        LineCase { "ZeroBytesBetweenCrAndLf", "a\r\0\0\nb\r\0"s, { "a", "b" } },
        LineCase { "Big5TrailBytes", "\xA5\x4A \xB5\xF9\xB8\xD1\r\n", { "\xA5\x4A \xB5\xF9\xB8\xD1" } }),
    [](const auto &info) { return std::string(info.param.name); });

TEST(LineReader, AFileEndingInALineEndGivesNoExtraLine)
{
    TempDir dir;
    for (const char *ending : { "\r\n", "\r", "\n" }) {
        writeFile(dir / "f.txt", std::string("a b") + ending);
        EXPECT_EQ(rawLines(dir / "f.txt"), Lines { "a b" })
            << "ending of " << std::strlen(ending) << " bytes, " << int(ending[0]);
    }
}

TEST(LineReader, LfThenCrIsTwoLineEnds)
{
    TempDir dir;
    writeFile(dir / "f.txt", "a\n\rb\r\n\r\nc");
    EXPECT_EQ(rawLines(dir / "f.txt"), (Lines { "a", "", "b", "", "c" }));
}

TEST(LineReader, FiveHundredByteLineIsDeliveredWhole)
{
    TempDir dir;
    const std::string longLine(500, 'y');
    for (const char *ending : { "\r\n", "\r", "\n" }) {
        writeFile(dir / "f.txt", longLine + ending + "z");
        EXPECT_EQ(deliveredLines(dir / "f.txt"), (Lines { longLine, "z" }));
    }
}

// Lines of many lengths behind a first line of every length from 0 to 300, so that every line
// end falls on and around the 136-byte block boundaries, including a CR LF pair split between
// two reads.
TEST(LineReader, LineEndsAcrossBlockBoundaries)
{
    TempDir dir;
    const std::string path = dir / "f.txt";
    Lines tail;
    for (int length = 1; length <= 40; ++length)
        tail.push_back(std::string(static_cast<std::size_t>(length), static_cast<char>('a' + length % 26)));
    for (const std::string ending : { "\r\n", "\r", "\n" }) {
        for (int shift = 0; shift <= 300; ++shift) {
            Lines expected { std::string(static_cast<std::size_t>(shift), 'p') };
            expected.insert(expected.end(), tail.begin(), tail.end());
            std::string bytes;
            for (const std::string &line : expected)
                bytes += line + ending;
            writeFile(path, bytes);
            ASSERT_EQ(rawLines(path), expected)
                << "first line " << shift << " bytes, ending of " << ending.size() << " bytes, " << int(ending[0]);
        }
    }
}

TEST(LineReader, CrLfSplitByTheFirstBlockEndsTheLineOnce)
{
    TempDir dir;
    for (int length = 130; length <= 140; ++length) {
        writeFile(dir / "f.txt", std::string(static_cast<std::size_t>(length), 'x') + "\r\nsecond\r\n");
        EXPECT_EQ(rawLines(dir / "f.txt"), (Lines { std::string(static_cast<std::size_t>(length), 'x'), "second" }))
            << length;
    }
}

TEST(LineReader, MissingFileDoesNotOpen)
{
    TempDir dir;
    LineReader reader;
    EXPECT_EQ(reader.openForReading((dir / "missing.txt").c_str()), 0);
    EXPECT_EQ(reader.openForReading(""), 0);
}

} // namespace
