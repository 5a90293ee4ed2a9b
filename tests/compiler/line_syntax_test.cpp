// SPDX-License-Identifier: GPL-2.0-or-later
// Column splitting and line classification.
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "compiler/columns_p.h"
#include "compiler/table_compiler_object_p.h"
#include <gtest/gtest.h>

using namespace kpx;

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

Entries entriesOf(const TableCompiler &compiler)
{
    Entries result;
    for (const Entry &entry : compiler.entries())
        result.emplace_back(entry.key(), entry.output());
    return result;
}

// Big5 bytes of the words in the examples.
#define FU_ZIK_ZIN "\xAD\x74\xB3\x64\xA4\x48" // 負責人
#define TE_SIN "\xB4\xA3\xAA\x40" // 提昇
#define JI_GUAN "\xA6\x72\xA4\xB8" // 字元
#define A_ZAI "\xA5\x4A" // 仔
#define ZU_GAI "\xB5\xF9\xB8\xD1" // 註解
#define FULL_SPACE "\xA1\x40" // full-width space

std::vector<std::string> split(std::string line, std::int32_t maxColumns, char replacement = ' ')
{
    ColumnList columns;
    const std::int32_t count = splitColumns(columns, line.data(), maxColumns, replacement);
    std::vector<std::string> result;
    for (std::int32_t at = 0; at < count; ++at)
        result.emplace_back(columns[at]);
    EXPECT_EQ(static_cast<std::int32_t>(result.size()), count);
    return result;
}

using Columns = std::vector<std::string>;

TEST(SplitColumns, SeparatesOnSpaceAndTabOnly)
{
    EXPECT_EQ(split("", 3), Columns {});
    EXPECT_EQ(split(" \t  \t", 3), Columns {});
    EXPECT_EQ(split("\r\n", 3), Columns {});
    EXPECT_EQ(split(" \t a\t\t b  ", 3), (Columns { "a", "b" }));
    EXPECT_EQ(split("a" FULL_SPACE "b", 3), Columns { "a" FULL_SPACE "b" });
    EXPECT_EQ(split("a\vb\fc", 3), Columns { "a\vb\fc" });
}

TEST(SplitColumns, TheLastColumnKeepsTheRestOfTheLine)
{
    EXPECT_EQ(split("a b  c d\t e  ", 3), (Columns { "a", "b", "c d\t e  " }));
    EXPECT_EQ(split("a b c", 1), Columns { "a b c" });
    EXPECT_EQ(split("a b c d", 2), (Columns { "a", "b c d" }));
    EXPECT_EQ(split("a b c ", 5), (Columns { "a", "b", "c" }));
}

TEST(SplitColumns, CrAndLfBecomeTheReplacementByte)
{
    EXPECT_EQ(split("a\r\nb\rc", 3), (Columns { "a", "b", "c" }));
    EXPECT_EQ(split("a\rb\nc d", 3, '_'), (Columns { "a_b_c", "d" }));
    std::string line = "k\r\nv";
    ColumnList columns;
    ASSERT_EQ(splitColumns(columns, line.data(), 3, ' '), 2);
    EXPECT_EQ(std::memcmp(line.data(), "k\0 v", 4), 0) << "in place: a zero behind the first column";
}

TEST(SplitColumns, ReusedListIsEmptiedFirst)
{
    ColumnList columns;
    std::string first = "a b c";
    std::string second = "x y";
    ASSERT_EQ(splitColumns(columns, first.data(), 3, ' '), 3);
    ASSERT_EQ(splitColumns(columns, second.data(), 3, ' '), 2);
    EXPECT_STREQ(columns[0], "x");
    EXPECT_STREQ(columns[1], "y");
}

struct LineCase {
    const char *name;
    std::string line;
    std::int32_t result;
    Entries entries;
};

class ClassifyLine : public ::testing::TestWithParam<LineCase> { };

TEST_P(ClassifyLine, GivesTheseEntries)
{
    TableCompiler compiler;
    TextBuffer buffer;
    buffer.set(GetParam().line.c_str());
    EXPECT_EQ(compiler.compileLine(buffer), GetParam().result);
    EXPECT_EQ(entriesOf(compiler), GetParam().entries);
    EXPECT_FALSE(compiler.idOverride().hasValue());
    EXPECT_FALSE(compiler.outputPathOverride().hasValue());
}

const std::string k32(32, 'k');
const std::string o64(64, 'o');

INSTANTIATE_TEST_SUITE_P(Compiler, ClassifyLine,
    ::testing::Values(LineCase { "TabSeparated", "hu-jik-zin\t" FU_ZIK_ZIN, 1, { { "hu-jik-zin", FU_ZIK_ZIN } } },
        LineCase { "ThirdColumnDropped", "tesing   " TE_SIN " two words", 1, { { "tesing", TE_SIN } } },
        LineCase { "OneColumn", JI_GUAN, 0, {} }, LineCase { "Empty", "", 0, {} },
        LineCase { "WhitespaceOnly", " \t  ", 0, {} }, LineCase { "OutputBeginsWithSlashes", "a  //" A_ZAI, 0, {} },
        LineCase { "OutputIsANote", "jugai?   //" ZU_GAI, 0, {} }, LineCase { "KeyEndingInSlashesAlone", "m//", 0, {} },
        LineCase { "KeyEndsInSlashes", "m// x", 0, {} }, LineCase { "KeyBeginsWithSlashes", "//a x", 0, {} },
        LineCase { "KeyIsOneSlash", "/ x", 0, {} }, LineCase { "KeyIsLetterAndSlash", "a/ x", 1, { { "a/", "x" } } },
        LineCase { "OutputBeginsWithOneSlash", "a /b", 1, { { "a", "/b" } } },
        LineCase { "SlashesInsideKeyAndAtOutputEnd", "a//b c//", 1, { { "a//b", "c//" } } },
        LineCase { "SlashesInThirdColumn", "a b //c", 1, { { "a", "b" } } },
        LineCase { "HashOtherWord", "#define x", 1, { { "#define", "x" } } },
        LineCase { "HashCapitalInclude", "#Include x", 1, { { "#Include", "x" } } },
        LineCase { "HashSevenBytes", "#includ x", 1, { { "#includ", "x" } } },
        LineCase { "HashKeyBig5", "#abc " A_ZAI, 1, { { "#abc", A_ZAI } } },
        LineCase { "IncludeNotAtKeyStart", "x#include y", 1, { { "x#include", "y" } } },
        LineCase { "IncludeKeywordAlone", "  #include  ", 0, {} },
        LineCase { "IncludeLongerKeyword", "#includes kpx-no-such-file.txt", 1, {} },
        LineCase { "IncludeOfMissingFile", "#include  <kpx-no-such-dir\\example.txt>", 1, {} },
        LineCase { "IndentedInclude", " \t #include <kpx-no-such-dir\\example.txt>", 1, {} },
        LineCase { "IncludeWithSlashesArgument", "#include //x", 1, {} },
        LineCase { "Key32", k32 + " v", 1, { { k32, "v" } } }, LineCase { "Key33", k32 + "k v", 0, {} },
        LineCase { "Output64", "k " + o64, 1, { { "k", o64 } } }, LineCase { "Output65", "k " + o64 + "o", 0, {} },
        LineCase { "Block96", k32 + " " + o64.substr(2), 1, { { k32, o64.substr(2) } } },
        LineCase { "Block97RefusedAfterClassification", k32.substr(1) + " " + o64, 1, {} },
        LineCase { "CrAndLfInsideTheLine", "a b\nc d\re f", 1, { { "a", "b" } } },
        LineCase { "OuterWhitespace", " \t a \t b \t ", 1, { { "a", "b" } } },
        LineCase { "FullWidthSpaceJoins", "a" FULL_SPACE "b c", 1, { { "a" FULL_SPACE "b", "c" } } },
        LineCase { "FullWidthSpaceOneColumn", "a" FULL_SPACE "b", 0, {} }),
    [](const auto &info) { return std::string(info.param.name); });

TEST(TableCompilerLines, AddLineLeavesTheCallersTextAlone)
{
    TableCompiler compiler;
    char line[] = "a\tb\r\nc d";
    const std::string before(line, sizeof line);
    compiler.addLine(line);
    EXPECT_EQ(std::string(line, sizeof line), before);
    EXPECT_EQ(entriesOf(compiler), (Entries { { "a", "b" } }));
}

TEST(TableCompilerLines, DuplicatesAreAllStoredWithRisingSequenceNumbers)
{
    TableCompiler compiler;
    compiler.addLine("a " A_ZAI);
    compiler.addLine("a " A_ZAI);
    compiler.addLine(("x " + o64.substr(1) + "oo").c_str()); // 65 bytes: ignored, no number used
    compiler.addLine("b c");
    ASSERT_EQ(compiler.count(), 3);
    EXPECT_EQ(compiler.entries()[0].sequence, 0);
    EXPECT_EQ(compiler.entries()[1].sequence, 1);
    EXPECT_EQ(compiler.entries()[2].sequence, 2);
}

TEST(TableCompilerLines, RefusedEntryLeavesItsSequenceNumberToTheNext)
{
    TableCompiler compiler;
    const std::string o62 = o64.substr(2);
    compiler.addEntry(k32.c_str(), o62.c_str()); // 96 bytes: stored
    compiler.addEntry(k32.c_str(), (o62 + "o").c_str()); // 97: refused
    compiler.addEntry(k32.c_str(), o64.c_str()); // 98: refused
    compiler.addEntry((k32 + "k").c_str(), "x"); // key of 33: refused
    compiler.addEntry("next", "x");
    ASSERT_EQ(entriesOf(compiler), (Entries { { k32, o62 }, { "next", "x" } }));
    EXPECT_EQ(compiler.entries()[0].sequence, 0);
    EXPECT_EQ(compiler.entries()[1].sequence, 1);
}

} // namespace
