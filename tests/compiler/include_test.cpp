// SPDX-License-Identifier: GPL-2.0-or-later
// Include lines: override forms, included files, nesting, cycles and progress steps.
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "compiler/table_compiler_object_p.h"
#include "tests/compiler/test_files.h"
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace kpx;

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;
using namespace std::string_literals;

Entries entriesOf(const TableCompiler &compiler)
{
    Entries result;
    for (const Entry &entry : compiler.entries())
        result.emplace_back(entry.key(), entry.output());
    return result;
}

std::string crlf(const std::vector<std::string> &lines)
{
    std::string bytes;
    for (const std::string &line : lines)
        bytes += line + "\r\n";
    return bytes;
}

// Include paths are relative to the working directory, so each test runs inside its own.
class IncludeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = std::filesystem::current_path();
        std::filesystem::current_path(dir.path());
    }
    void TearDown() override { std::filesystem::current_path(saved_); }

    void file(const std::string &name, const std::string &bytes) { kpxtest::writeFile(dir.path() / name, bytes); }

    kpxtest::TempDir dir;
    TableCompiler compiler;

private:
    std::filesystem::path saved_;
};

struct ArgumentCase {
    const char *name;
    const char *argument;
    std::int32_t result;
    const char *outputPath; // expected override, "" when none
    const char *id;
    Entries entries;
};

class IncludeArgument : public IncludeTest, public ::testing::WithParamInterface<ArgumentCase> { };

TEST_P(IncludeArgument, HasThisEffect)
{
    // Files named like arguments that are too short or wrongly cased for an override.
    for (const char *name : { "o=x", "id=", "O=abc", "ID=abcd", "f.txt" })
        file(name, crlf({ "from " + std::string(name) }));
    TextBuffer line;
    line.set((" #include "s + GetParam().argument + " ignored third column").c_str());
    EXPECT_EQ(compiler.compileLine(line), GetParam().result);
    EXPECT_STREQ(
        compiler.outputPathOverride().hasValue() ? compiler.outputPathOverride().get() : "", GetParam().outputPath);
    EXPECT_STREQ(compiler.idOverride().hasValue() ? compiler.idOverride().get() : "", GetParam().id);
    EXPECT_EQ(entriesOf(compiler), GetParam().entries);
}

INSTANTIATE_TEST_SUITE_P(Include, IncludeArgument,
    ::testing::Values(ArgumentCase { "OutputAngled", "<o=out/t.zd>", 0, "out/t.zd", "", {} },
        ArgumentCase { "OutputQuoted", "\"o=out/t.zd\"", 0, "out/t.zd", "", {} },
        ArgumentCase { "OutputBare", "o=out/t.zd", 0, "out/t.zd", "", {} },
        ArgumentCase { "OutputQuoteThenAngle", "\"o=out/t.zd>", 0, "out/t.zd", "", {} },
        ArgumentCase { "OutputAngleThenQuote", "<o=C:\\t.zd\"", 0, "C:\\t.zd", "", {} },
        ArgumentCase { "OutputOnlyClosingMark", "o=ab>", 0, "ab", "", {} },
        ArgumentCase { "OutputOfTwoBytes", "o=ab", 0, "ab", "", {} },
        ArgumentCase { "IdLong", "id=abcdef", 0, "", "abcdef", {} },
        ArgumentCase { "IdAngled", "<id=ab>", 0, "", "ab", {} },
        ArgumentCase { "IdOneByte", "\"id=x\"", 0, "", "x", {} },
        ArgumentCase { "OutputOfOneByteIsAFile", "<o=x>", 1, "", "", { { "from", "o=x" } } },
        ArgumentCase { "BareOutputOfOneByteIsAFile", "o=x", 1, "", "", { { "from", "o=x" } } },
        ArgumentCase { "IdWithoutValueIsAFile", "id=", 1, "", "", { { "from", "id=" } } },
        ArgumentCase { "CapitalOutputIsAFile", "O=abc", 1, "", "", { { "from", "O=abc" } } },
        ArgumentCase { "CapitalIdIsAFile", "<ID=abcd>", 1, "", "", { { "from", "ID=abcd" } } },
        ArgumentCase { "PlainFile", "\"f.txt\"", 1, "", "", { { "from", "f.txt" } } },
        ArgumentCase { "FileMarksNeedNotMatch", "\"f.txt>", 1, "", "", { { "from", "f.txt" } } },
        ArgumentCase { "OpeningMarkAlone", "<", 0, "", "", {} }, ArgumentCase { "QuoteAlone", "\"", 0, "", "", {} },
        ArgumentCase { "EmptyMarksNameAnEmptyPath", "<>", 1, "", "", {} },
        ArgumentCase { "MissingFile", "<missing.txt>", 1, "", "", {} }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(IncludeTest, OnlyTheFirstWordAfterTheKeywordIsThePath)
{
    file("a.txt", crlf({ "a x" }));
    file("b.txt", crlf({ "b x" }));
    compiler.addLine("#include a.txt b.txt");
    EXPECT_EQ(entriesOf(compiler), (Entries { { "a", "x" } }));
}

TEST_F(IncludeTest, IndentedIncludesNestAndUnindentedOnesAreIgnored)
{
    file("main.txt",
        crlf({ "m1 x", "", "// top comment", "  //indented comment", "\t#include sub.txt", "#include skipped.txt",
            "#hash y", "  #include <id=abcd>", "#include <o=ignored.zd>", "#include <id=wxyz>", "m2 x" }));
    file("sub.txt", crlf({ "s1 x", " #include deeper.txt", "s2 y" }));
    file("deeper.txt", "d1 z");
    file("skipped.txt", crlf({ "no x" }));
    int steps = 0;
    compiler.setProgressStep([&steps] { ++steps; });
    compiler.addLine("m0 x");
    EXPECT_EQ(steps, 0) << "editor lines are stepped by the window, not by the compiler";
    EXPECT_EQ(compiler.includeFile("main.txt"), 5);
    EXPECT_EQ(entriesOf(compiler),
        (Entries { { "m0", "x" }, { "m1", "x" }, { "s1", "x" }, { "d1", "z" }, { "s2", "y" }, { "m2", "x" } }));
    // Classified: main's m1, indented comment, include, id line, m2; sub's three; deeper's one.
    EXPECT_EQ(steps, 9);
    EXPECT_STREQ(compiler.idOverride().get(), "abcd");
    EXPECT_FALSE(compiler.outputPathOverride().hasValue());
    EXPECT_EQ(compiler.includeFile("missing.txt"), 0);
    EXPECT_EQ(compiler.includeFile(""), 0);
}

TEST_F(IncludeTest, LineEndsOfIncludedFiles)
{
    file("crlf.txt", "a 1\r\nb 2\r\n");
    file("cr.txt", "a 1\rb 2");
    file("lf.txt", "a 1 c 3\nb 2\n");
    // Not "nul.txt": on Windows NUL is a device, whatever the extension.
    file("zeros.txt", "a\0b x\r\nc d"s);
    file("empty.txt", "");
    file("comments.txt", "// a b\r\n\r\n//\r");
    EXPECT_EQ(compiler.includeFile("empty.txt"), 0);
    EXPECT_EQ(compiler.includeFile("comments.txt"), 0);
    EXPECT_EQ(compiler.includeFile("crlf.txt"), 2);
    EXPECT_EQ(compiler.includeFile("cr.txt"), 2);
    EXPECT_EQ(compiler.includeFile("lf.txt"), 2);
    EXPECT_EQ(compiler.includeFile("zeros.txt"), 2);
    EXPECT_EQ(entriesOf(compiler),
        (Entries { { "a", "1" }, { "b", "2" }, { "a", "1" }, { "b", "2" }, { "a", "1" }, { "b", "2" }, { "ab", "x" },
            { "c", "d" } }));
}

TEST_F(IncludeTest, ALaterOverrideReplacesAnEarlierOne)
{
    file("ids.txt", crlf({ "\t#include id=second", "\t#include <o=second.zd>" }));
    compiler.addLine("#include <id=first>");
    compiler.addLine("#include \"o=first.zd\"");
    compiler.addLine("#include ids.txt");
    EXPECT_STREQ(compiler.idOverride().get(), "second");
    EXPECT_STREQ(compiler.outputPathOverride().get(), "second.zd");
}

TEST_F(IncludeTest, CyclesEndWithEveryFileReadOnce)
{
    std::filesystem::create_directory(dir.path() / "sub");
    file("self.txt", crlf({ "self1 x", "\t#include self.txt", "self2 x" }));
    file("p.txt", crlf({ "p x", " #include q.txt" }));
    file("q.txt", crlf({ "q x", " #include ./p.txt" }));
    file("r1.txt", crlf({ "r1 x", " #include sub/r2.txt" }));
    file("sub/r2.txt", crlf({ "r2 x", " #include sub/../r3.txt" }));
    file("r3.txt", crlf({ "r3 x", " #include r1.txt", "r3b x" }));

    compiler.addLine("#include self.txt");
    EXPECT_EQ(entriesOf(compiler), (Entries { { "self1", "x" }, { "self2", "x" } }));
    TableCompiler two;
    EXPECT_EQ(two.includeFile("p.txt"), 2);
    EXPECT_EQ(entriesOf(two), (Entries { { "p", "x" }, { "q", "x" } }));
    TableCompiler three;
    EXPECT_EQ(three.includeFile("r1.txt"), 4);
    EXPECT_EQ(entriesOf(three), (Entries { { "r1", "x" }, { "r2", "x" }, { "r3", "x" }, { "r3b", "x" } }));
    // Once a cycle is done, the same file may be read again.
    EXPECT_EQ(three.includeFile("r3.txt"), 4);
}

TEST_F(IncludeTest, AFileIncludedTwiceSideBySideIsReadTwice)
{
    file("leaf.txt", crlf({ "leaf x" }));
    file("twice.txt", crlf({ "\t#include leaf.txt", "\t#include \"leaf.txt\"" }));
    EXPECT_EQ(compiler.includeFile("twice.txt"), 2);
}

TEST_F(IncludeTest, WhatIsNoRegularFileIsNamedAndNotRead)
{
    // Each would never end: endless bytes, a reader waiting for a writer, no lines at all.
    using R = LineProblemReason;
    std::filesystem::create_directory(dir.path() / "folder");
#ifdef _WIN32
    const std::vector<std::pair<R, std::string>> named = { { R::IncludeIsDevice, "CON" },
        { R::IncludeIsDevice, "folder\\nul.txt" }, { R::IncludeIsDirectory, "folder" } };
#else
    ASSERT_EQ(::mkfifo((dir.path() / "pipe").c_str(), 0600), 0);
    const std::vector<std::pair<R, std::string>> named
        = { { R::IncludeIsDevice, "/dev/zero" }, { R::IncludeIsDevice, "/dev/urandom" },
              { R::IncludeIsNamedPipe, "pipe" }, { R::IncludeIsDirectory, "folder" } };
#endif
    compiler.begin(0);
    for (const auto &include : named)
        compiler.addLine((" #include " + include.second).c_str());
    compiler.addLine("a x");
    EXPECT_EQ(entriesOf(compiler), (Entries { { "a", "x" } }));
    const RunProblems &run = compiler.problems();
    std::vector<std::pair<R, std::string>> got;
    for (const LineProblem &problem : run.problems)
        got.emplace_back(problem.reason, run.files[static_cast<std::size_t>(problem.subject)]);
    EXPECT_EQ(got, named);
    EXPECT_EQ(run.linesWithoutEntry, static_cast<std::int32_t>(named.size()));
}

TEST_F(IncludeTest, TheTableNeverReplacesAFileTheRunRead)
{
    std::filesystem::create_directory(dir.path() / "sub");
    file("data.txt", crlf({ "d x", " #include sub/inc.txt" }));
    file("sub/inc.txt", crlf({ "i x" }));
    std::vector<std::string> outputs = { "data.txt", "./sub/../data.txt", "sub/inc.txt", "o=sub/./inc.txt" };
#ifndef _WIN32
    std::filesystem::create_symlink("data.txt", dir.path() / "link.txt");
    outputs.push_back("link.txt");
#endif
    const std::string data = kpxtest::readFile(dir.path() / "data.txt");
    // Every spelling of either input, directly and through an "o=" line, is refused.
    for (const std::string &output : outputs) {
        compiler.begin(0);
        compiler.setSourceFile("data.txt");
        compiler.addLine("d x");
        compiler.addLine(" #include sub/inc.txt");
        const bool viaOverride = output.starts_with("o=");
        if (viaOverride)
            compiler.addLine(("#include <" + output + ">").c_str());
        compiler.orderAndSort('1');
        EXPECT_EQ(compiler.write(viaOverride ? "t.zd" : output.c_str(), "dty"), 0) << output;
        EXPECT_EQ(compiler.lastWrite().failure, TableWriteFailure::OutputIsInput) << output;
        EXPECT_EQ(compiler.lastWrite().input, output.find("inc") != std::string::npos ? "sub/inc.txt" : "data.txt");
    }
    EXPECT_EQ(kpxtest::readFile(dir.path() / "data.txt"), data);
    EXPECT_EQ(kpxtest::readFile(dir.path() / "sub/inc.txt"), crlf({ "i x" }));
    // Any other path is written, and a data file not saved yet keeps its name from the table.
    compiler.begin(0);
    compiler.setSourceFile("data.txt");
    compiler.addLine(" #include sub/inc.txt");
    EXPECT_EQ(compiler.write("t.zd", "dty"), 1);
    compiler.begin(0);
    compiler.setSourceFile("new.txt");
    compiler.addLine("n x");
    EXPECT_EQ(compiler.write("new.txt", "dty"), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "new.txt"));
}

} // namespace
