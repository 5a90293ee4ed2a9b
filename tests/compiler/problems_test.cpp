// SPDX-License-Identifier: GPL-2.0-or-later
// What a run tells about its lines: every reason once, where (editor lines and nested include
// files), duplicates against an independent model, and that none of it touches the table.
#include <filesystem>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "compiler/table_compiler_object_p.h"
#include "tests/compiler/test_files.h"
#include <gtest/gtest.h>

using namespace kpx;

namespace {

using R = LineProblemReason;

std::string crlf(const std::vector<std::string> &lines)
{
    std::string bytes;
    for (const std::string &line : lines)
        bytes += line + "\r\n";
    return bytes;
}

// "file:line reason subject:subjectLine", one problem per line, for readable failures.
std::string listed(const RunProblems &run)
{
    static const char *const kNames[] = { "OneColumn", "KeyTooLong", "OutputTooLong", "EntryTooLong",
        "IncludeNotOpened", "IncludeCycle", "OverrideTooShort", "Duplicate", "IncludeIsDirectory", "IncludeIsDevice",
        "IncludeIsNamedPipe", "TableFull", "IncludeAtLineStart", "IncludeReadAgain" };
    std::ostringstream out;
    for (const LineProblem &problem : run.problems) {
        out << run.fileOf(problem) << ':' << problem.line << ' ' << kNames[static_cast<int>(problem.reason)];
        if (problem.subject != 0 || problem.reason == R::Duplicate)
            out << ' ' << run.files[static_cast<std::size_t>(problem.subject)] << ':' << problem.subjectLine;
        if (problem.reason == R::IncludeReadAgain)
            out << " first by " << run.files[static_cast<std::size_t>(problem.earlierFile)];
        out << '\n';
    }
    return out.str();
}

class Problems : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = std::filesystem::current_path();
        std::filesystem::current_path(dir.path());
    }
    void TearDown() override { std::filesystem::current_path(saved_); }

    void file(const std::string &name, const std::string &bytes) { kpxtest::writeFile(dir.path() / name, bytes); }
    void run(const std::vector<std::string> &lines, TableCompiler &into)
    {
        into.begin(0);
        for (const std::string &line : lines)
            into.addLine(line.c_str());
        into.orderAndSort('1');
    }

    kpxtest::TempDir dir;
    TableCompiler compiler;

private:
    std::filesystem::path saved_;
};

const std::string kKey33(33, 'k');
const std::string kOutput65(65, 'o');

TEST_F(Problems, EveryReasonOnceWhereItStands)
{
    // The include file's line numbers count the empty and "//" lines the reader passes over,
    // and its '#' lines, which are never classified.
    file("outer.txt",
        crlf({ "o1 x", "", "// note", "#include never.txt", "lonely", "\t#include inner.txt", "a b",
            "\t#include outer.txt" }));
    file("inner.txt", crlf({ "", "i1 y", std::string(32, 'k') + " " + std::string(63, 'o') }));
    const std::vector<std::string> editor = {
        "a b", // 1
        "", // 2: blank lines and comments are no problems
        "   \t ", "// comment", "//note", "note//", "/", "m// word", "x //c", "lone", // 3-10
        kKey33 + " x", // 11
        "x " + kOutput65, // 12
        std::string(32, 'k') + " " + std::string(62, 'o'), // 13: exactly the limit, stored
        std::string(32, 'k') + " " + std::string(63, 'o'), // 14
        "#include missing.txt", // 15
        " #include <o=x>", "#include \"id=\"", // 16, 17
        "#include outer.txt", // 18
        "#include \"", // 19
        "#include", // 20
        "a b", // 21
        "#include <o=out.zd>", "#include id=abcd", // 22, 23: overrides that take effect
    };
    run(editor, compiler);
    const RunProblems &problems = compiler.problems();
    EXPECT_EQ(listed(problems),
        ":10 OneColumn\n"
        ":11 KeyTooLong\n"
        ":12 OutputTooLong\n"
        ":14 EntryTooLong\n"
        ":15 IncludeNotOpened missing.txt:0\n"
        ":16 OverrideTooShort o=x:0\n"
        ":17 OverrideTooShort id=:0\n"
        "outer.txt:4 IncludeAtLineStart\n"
        "outer.txt:5 OneColumn\n"
        "inner.txt:3 EntryTooLong\n"
        "outer.txt:7 Duplicate :1\n"
        "outer.txt:8 IncludeCycle outer.txt:0\n"
        ":19 IncludeNotOpened :0\n"
        ":20 OneColumn\n"
        ":21 Duplicate :1\n");
    EXPECT_EQ(problems.linesWithoutEntry, 12);
    EXPECT_EQ(problems.warnings, 1);
    EXPECT_FALSE(problems.incomplete);
    EXPECT_EQ(compiler.count(), 6);

    // The next run starts afresh.
    run({ "a b", "a c", "b b" }, compiler);
    EXPECT_EQ(listed(compiler.problems()), "");
    EXPECT_EQ(compiler.problems().files.size(), 1u);
}

TEST_F(Problems, DuplicatesMatchAModelOfKeyAndOutputPairs)
{
    // Keys that the orders take as equal (tone digits, hyphens, "ch" and "c") but whose bytes
    // differ, and outputs that differ in one byte: only exact repeats are duplicates.
    const std::vector<std::string> keys
        = { "a", "a1", "a-b", "ab", "ab-", "cha", "ca", "hak", "h", "chhi", "chi", "a-b-c-d-e-f-g-h-i-j" };
    const std::vector<std::string> outputs = { "x", "y", "\xA4\x40", "\xA4\x41", "long-output-of-twenty" };
    std::mt19937 random(7);
    std::vector<std::string> sub;
    std::vector<std::string> editor;
    const auto line = [&] {
        return keys[random() % keys.size()] + (random() % 2 ? " " : "\t") + outputs[random() % outputs.size()];
    };
    for (int at = 0; at < 60; ++at)
        sub.push_back(line());
    file("sub.txt", crlf(sub));
    for (int at = 0; at < 300; ++at)
        editor.push_back(at == 150 ? "\t#include sub.txt" : line());

    // The model: the first place of every pair, in reading order.
    std::map<std::pair<std::string, std::string>, std::string> first;
    std::string expected;
    const auto see = [&](const std::string &text, const std::string &place) {
        const std::size_t split = text.find_first_of(" \t");
        const auto pair = std::make_pair(text.substr(0, split), text.substr(split + 1));
        const auto [known, added] = first.emplace(pair, place);
        if (!added)
            expected += place + " Duplicate " + known->second + "\n";
    };
    for (std::size_t at = 0; at < editor.size(); ++at) {
        if (at == 150) {
            for (std::size_t in = 0; in < sub.size(); ++in)
                see(sub[in], std::string("sub.txt:").append(std::to_string(in + 1)));
        } else {
            see(editor[at], std::string(":").append(std::to_string(at + 1)));
        }
    }
    for (const char order : { '1', '2', '3' }) {
        compiler.begin(0);
        for (const std::string &text : editor)
            compiler.addLine(text.c_str());
        compiler.orderAndSort(order);
        EXPECT_EQ(listed(compiler.problems()), expected) << "order " << order;
        EXPECT_EQ(compiler.problems().linesWithoutEntry, 0);
    }
}

TEST_F(Problems, TheTableIsTheSameWithoutTheLinesThatMadeNoEntry)
{
    // Recording changes nothing in the table: removing the lines reported as making no entry
    // gives the same bytes, and the duplicates stay in it.
    file("inc.txt", crlf({ "i x", "word", kKey33 + " y", "i x" }));
    const std::vector<std::string> editor = { "b 2", "single", "a 1", kKey33 + " z", "\t#include inc.txt",
        "#include gone.txt", "a 1", "c " + kOutput65, "b 2", "// c", "d 4" };
    run(editor, compiler);
    ASSERT_EQ(compiler.write((dir / "with.zd").c_str(), "dty"), 1);
    std::vector<std::string> kept;
    for (std::size_t at = 0; at < editor.size(); ++at) {
        bool made = true;
        for (const LineProblem &problem : compiler.problems().problems)
            made = made
                && !(problem.file == 0 && problem.line == static_cast<std::int32_t>(at + 1)
                    && problem.reason != R::Duplicate);
        if (made)
            kept.push_back(editor[at]);
    }
    EXPECT_EQ(kept.size(), 7u);
    TableCompiler clean;
    run(kept, clean);
    ASSERT_EQ(clean.write((dir / "without.zd").c_str(), "dty"), 1);
    EXPECT_EQ(kpxtest::readFile(dir / "with.zd"), kpxtest::readFile(dir / "without.zd"));
    EXPECT_EQ(clean.count(), compiler.count());
    EXPECT_EQ(compiler.problems().linesWithoutEntry, 6);
}

TEST_F(Problems, SilentSkipsAreWarningsAndAFileReadAgainListsNoDuplicatesOfItself)
{
    file("n-b.txt", crlf({ "b1 two", "#include <n-c.txt>", " #include <n-c.txt>", "#hash line" }));
    file("n-c.txt", crlf({ "c1 three", "lonely", "b1 two" }));
    // Read a second and a third time, once under another spelling; a real duplicate after them.
    const std::vector<std::string> editor
        = { "a1 one", " #include n-b.txt", " #include n-c.txt", " #include ./n-c.txt", "c1 three" };
    run(editor, compiler);
    EXPECT_EQ(listed(compiler.problems()),
        "n-b.txt:2 IncludeAtLineStart\n"
        "n-c.txt:2 OneColumn\n"
        "n-c.txt:3 Duplicate n-b.txt:1\n"
        ":3 IncludeReadAgain n-c.txt:3 first by n-b.txt\n"
        ":4 IncludeReadAgain ./n-c.txt:3 first by n-b.txt\n"
        ":5 Duplicate n-c.txt:1\n");
    EXPECT_EQ(compiler.problems().warnings, 3);
    EXPECT_EQ(compiler.problems().linesWithoutEntry, 1);
    // The warnings change nothing: the same entries as the files written out in full.
    ASSERT_EQ(compiler.write((dir / "with.zd").c_str(), "dty"), 1);
    TableCompiler flat;
    run({ "a1 one", "b1 two", "c1 three", "b1 two", "c1 three", "b1 two", "c1 three", "b1 two", "c1 three" }, flat);
    ASSERT_EQ(flat.write((dir / "flat.zd").c_str(), "dty"), 1);
    EXPECT_EQ(kpxtest::readFile(dir / "with.zd"), kpxtest::readFile(dir / "flat.zd"));
}

TEST_F(Problems, ARunStopsAtOnceWhenATableCouldHoldNoMore)
{
    std::vector<std::string> many;
    for (int at = 0; at < 1000; ++at)
        many.push_back(std::string("k").append(std::to_string(at)).append(" x"));
    file("many.txt", crlf(many));
    kpxtest::writeFile(dir / "old.zd", "old table");
    // Body bytes: "k0 x" takes 5; ten entries fill 50 bytes. Then three entries by count.
    for (const auto &[body, entries, stored] : { std::tuple { 53, 1000, 10 }, std::tuple { 1000000, 3, 3 } }) {
        compiler.setCapacity(static_cast<std::uint64_t>(body), entries);
        run({ "\t#include many.txt", "lonely", "\t#include many.txt" }, compiler);
        EXPECT_EQ(compiler.count(), stored);
        EXPECT_TRUE(compiler.stopped());
        EXPECT_EQ(listed(compiler.problems()), "many.txt:" + std::to_string(stored + 1) + " TableFull\n");
        EXPECT_EQ(compiler.write((dir / "old.zd").c_str(), "dty"), 0);
        EXPECT_EQ(compiler.lastWrite().failure, TableWriteFailure::TooLarge);
        EXPECT_EQ(kpxtest::readFile(dir / "old.zd"), "old table");
    }
}

} // namespace
