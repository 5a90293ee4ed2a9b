// SPDX-License-Identifier: GPL-2.0-or-later
// kpx-make, kpx-dump and kpx-convert run as built: golden tables, options, exit codes, messages
// and broken tables.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "tests/compiler/test_files.h"
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;
using kpxtest::readFile;
using kpxtest::tableRecords;
using kpxtest::u32At;
using kpxtest::writeFile;
using namespace std::string_literals;

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Each test works in a copy of the data directory, where include lines and "o=" paths resolve.
class Tools : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::copy(KPX_TEST_DATA_DIR, data, fs::copy_options::recursive);
        const char *drive = std::getenv("KPX_DRIVE");
        savedDrive_ = drive ? std::optional<std::string>(drive) : std::nullopt;
    }
    void TearDown() override
    {
        if (savedDrive_)
            ::setenv("KPX_DRIVE", savedDrive_->c_str(), 1);
        else
            ::unsetenv("KPX_DRIVE");
    }

    ToolRun run(const std::string &program, const std::string &arguments)
    {
        const std::string out = temp / "stdout";
        const std::string err = temp / "stderr";
        const std::string command
            = "cd '" + data.string() + "' && '" + program + "' " + arguments + " >'" + out + "' 2>'" + err + "'";
        const int status = std::system(command.c_str());
        ToolRun result;
        EXPECT_TRUE(WIFEXITED(status)) << command;
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.out = readFile(out);
        result.err = readFile(err);
        return result;
    }
    ToolRun make(const std::string &arguments) { return run(KPX_MAKE_PATH, arguments); }
    ToolRun dump(const std::string &arguments) { return run(KPX_DUMP_PATH, arguments); }
    ToolRun convert(const std::string &arguments) { return run(KPX_CONVERT_PATH, arguments); }
    std::string file(const std::string &name) { return readFile(data / name); }

    kpxtest::TempDir temp;
    const fs::path data = temp.path() / "data";

private:
    std::optional<std::string> savedDrive_;
};

struct Golden {
    const char *name;
    const char *dataFile;
    const char *order;
    const char *expected;
    const char *summary; // the last line on standard error, after the problems; "" for none
};

constexpr const char *kWordsSummary = "kpx-make: 31 entries; lines without an entry: 3; duplicates: 1\n";
constexpr const char *kBigSummary = "kpx-make: 1500 entries; lines without an entry: 0; duplicates: 5\n";

class GoldenTables : public Tools, public ::testing::WithParamInterface<Golden> { };

TEST_P(GoldenTables, AreWrittenByteForByteAndDumpedBack)
{
    const Golden &golden = GetParam();
    const std::string expected = file(golden.expected);
    ASSERT_GE(expected.size(), 32u);
    const ToolRun made = make(std::string(golden.dataFile) + " -o out.zd --order " + golden.order);
    EXPECT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(made.out, std::to_string(u32At(expected, 12)) + " entries written to out.zd\n");
    const std::string summary = golden.summary;
    EXPECT_EQ(made.err.substr(made.err.size() - std::min(made.err.size(), summary.size())), summary) << made.err;
    EXPECT_EQ(made.err.empty(), summary.empty()) << made.err;
    EXPECT_EQ(file("out.zd"), expected);

    const ToolRun dumped = dump("out.zd");
    EXPECT_EQ(dumped.status, 0) << dumped.err;
    EXPECT_EQ(dumped.out, tableRecords(expected));
}

INSTANTIATE_TEST_SUITE_P(Tools, GoldenTables,
    ::testing::Values(Golden { "WorkedExample", "worked_example.txt", "ty", "worked_example.expected.zd", "" },
        Golden { "WordsTy", "words.txt", "ty", "words.ty.expected.zd", kWordsSummary },
        Golden { "WordsPy", "words.txt", "py", "words.py.expected.zd", kWordsSummary },
        Golden { "WordsIb", "words.txt", "ib", "words.ib.expected.zd", kWordsSummary },
        Golden { "BigTy", "big.txt", "ty", "big.ty.expected.zd", kBigSummary },
        Golden { "BigPy", "big.txt", "py", "big.py.expected.zd", kBigSummary },
        Golden { "BigIb", "big.txt", "ib", "big.ib.expected.zd", kBigSummary },
        Golden { "Includes", "includes.txt", "ty", "includes.expected.zd",
            "kpx-make: 10 entries; lines without an entry: 2; duplicates: 0; warnings: 1\n" }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(Tools, ProblemsAreListedAsCompilersListThem)
{
    fs::create_directory(data / "sub");
    writeFile(data / "sub/inner.txt", "//\r\n\r\ni1 y\r\nlonely\r\n\t#include sub/none.txt\r\nb 2\r\n");
    writeFile(data / "p.txt", "b 2\r\none\r\n #include sub/inner.txt\r\n" + std::string(33, 'k') + " x\r\n");
    const ToolRun made = make("p.txt -o t.zd");
    EXPECT_EQ(made.status, 0);
    EXPECT_EQ(made.out, "3 entries written to t.zd\n");
    EXPECT_EQ(made.err,
        "p.txt:2: only one column: no output text\n"
        "sub/inner.txt:4: only one column: no output text\n"
        "sub/inner.txt:5: cannot open include file 'sub/none.txt'\n"
        "sub/inner.txt:6: duplicate entry: same key and output as p.txt:1\n"
        "p.txt:4: key longer than 32 bytes\n"
        "kpx-make: 3 entries; lines without an entry: 4; duplicates: 1\n");
    const std::string table = file("t.zd");

    // Quiet: only errors, the same table and the same exit status.
    for (const char *quiet : { "-q", "--quiet" }) {
        const ToolRun hushed = make(std::string(quiet) + " p.txt -o t.zd");
        EXPECT_EQ(hushed.status, 0);
        EXPECT_EQ(hushed.out, "");
        EXPECT_EQ(hushed.err, "");
        EXPECT_EQ(file("t.zd"), table);
    }
    const ToolRun failed = make("p.txt -q -o missing/t.zd");
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.out, "");
    EXPECT_NE(failed.err.find("table not written to missing/t.zd"), std::string::npos) << failed.err;
    EXPECT_EQ(failed.err.find("p.txt:2"), std::string::npos) << failed.err;
}

TEST_F(Tools, DashIsAStandardStreamAndCountsAgreeInNumber)
{
    // kpx-make - -o -: data from standard input, table to standard output, messages to standard
    // error; kpx-dump - reads it back. Both say so in their help.
    ASSERT_EQ(make("worked_example.txt -o ref.zd").status, 0);
    const ToolRun piped = make("- -o - <worked_example.txt");
    EXPECT_EQ(piped.status, 0) << piped.err;
    EXPECT_EQ(piped.out, file("ref.zd"));
    EXPECT_NE(piped.err.find(" entries written to standard output\n"), std::string::npos) << piped.err;
    writeFile(data / "piped.zd", piped.out);
    const ToolRun dumped = dump("--header - <piped.zd");
    EXPECT_EQ(dumped.status, 0) << dumped.err;
    EXPECT_EQ(dumped.out, dump("--header ref.zd").out);
    for (const std::string &help : { make("--help").out, dump("--help").out })
        EXPECT_NE(help.find("- reads"), std::string::npos) << help;
    EXPECT_NE(make("--help").out.find("- writes the table to standard output"), std::string::npos);

    // "1 entry", as against "2 entries".
    writeFile(data / "one.txt", "a 1\r\nlonely\r\n");
    const ToolRun one = make("one.txt -o t.zd");
    EXPECT_EQ(one.out, "1 entry written to t.zd\n");
    EXPECT_EQ(one.err,
        "one.txt:2: only one column: no output text\n"
        "kpx-make: 1 entry; lines without an entry: 1; duplicates: 0\n");
    writeFile(data / "one.zd", "x");
    EXPECT_NE(dump("one.zd").err.find("truncated: 1 byte,"), std::string::npos);

    // The data file is the first link of the include chain: including it, directly or through
    // another file, is a cycle, not a repeat of its own lines.
    writeFile(data / "self.txt", "a 1\r\n #include self.txt\r\n #include other.txt\r\n");
    writeFile(data / "other.txt", "b 2\r\n #include self.txt\r\n");
    const ToolRun self = make("self.txt -o t.zd");
    EXPECT_EQ(self.out, "2 entries written to t.zd\n");
    EXPECT_EQ(self.err,
        "self.txt:2: include file 'self.txt' is already being read (include cycle): skipped\n"
        "other.txt:2: include file 'self.txt' is already being read (include cycle): skipped\n"
        "kpx-make: 2 entries; lines without an entry: 2; duplicates: 0\n");
}

TEST_F(Tools, OverridesSendTheTableElsewhereUnderAnotherId)
{
    writeFile(data / "slot.zd", "old");
    const ToolRun made = make("override.txt -o slot.zd --order py");
    EXPECT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(made.out, "2 entries written to override_out.zd\n");
    EXPECT_EQ(file("override_out.zd"), file("override.expected.zd"));
    EXPECT_EQ(file("slot.zd"), "old");
}

TEST_F(Tools, IdAndDefaultIdByOrder)
{
    const std::string example = file("worked_example.expected.zd");
    ASSERT_EQ(make("worked_example.txt -o t.zd --id abcd").status, 0);
    EXPECT_EQ(file("t.zd"), example.substr(0, 4) + "abcd" + example.substr(8));
    ASSERT_EQ(make("worked_example.txt -o t.zd --id ''").status, 0);
    EXPECT_EQ(file("t.zd").substr(4, 4), "\0\0\0\0"s) << "an empty id is the all-zero tag";
    ASSERT_EQ(make("worked_example.txt -o t.zd").status, 0);
    EXPECT_EQ(file("t.zd"), example) << "ty and dty when nothing is said";
    ASSERT_EQ(make("worked_example.txt -o t.zd --order ib").status, 0);
    EXPECT_EQ(file("t.zd").substr(4, 4), "dib\0"s);
    ASSERT_EQ(make("--id x --order py -o t.zd worked_example.txt").status, 0);
    EXPECT_EQ(file("t.zd").substr(4, 4), "x\0\0\0"s);
}

TEST_F(Tools, DataFilesAreSplitAsTheEditorLoadsThem)
{
    writeFile(data / "lf.txt", "b 2\na 1\rc 3\r\n\r\n");
    ToolRun made = make("lf.txt -o t.zd --order ib");
    EXPECT_EQ(made.out, "3 entries written to t.zd\n");
    EXPECT_EQ(tableRecords(file("t.zd")), "a\t1\nb\t2\nc\t3\n");

    writeFile(data / "zero.txt", "a 1\r\nb 2\0c 3\r\n"s);
    made = make("zero.txt -o t.zd");
    EXPECT_EQ(made.out, "2 entries written to t.zd\n") << "a zero byte ends the text";

    // The editor hands over at most 4096 bytes of a line.
    std::string lines = "k";
    lines.append(4094, ' ').append("v\r\nj").append(4095, ' ').append("w\r\n");
    writeFile(data / "long.txt", lines);
    made = make("long.txt -o t.zd");
    EXPECT_EQ(tableRecords(file("t.zd")), "k\tv\n");

    writeFile(data / "empty.txt", "");
    made = make("empty.txt -o t.zd");
    EXPECT_EQ(made.status, 0);
    EXPECT_EQ(made.out, "0 entries written to t.zd\n");
    EXPECT_EQ(file("t.zd"), kpxtest::tableHeader("dty\0"s, 0, 0));
}

TEST_F(Tools, SlotsLiveUnderKpxDrive)
{
    const fs::path drive = temp.path() / "drive";
    fs::create_directories(drive / "vokelu");
    ::setenv("KPX_DRIVE", drive.c_str(), 1);
    struct SlotCase {
        int slot;
        const char *stem;
        const char *expected;
    };
    for (const SlotCase &slot : { SlotCase { 1, "kpx-ty1", "words.ty.expected.zd" },
             SlotCase { 13, "kpx-py3", "words.py.expected.zd" }, SlotCase { 30, "kpx-ib0", "words.ib.expected.zd" } }) {
        fs::copy_file(data / "words.txt", drive / "vokelu" / (std::string(slot.stem) + ".txt"));
        const ToolRun made = make("--slot " + std::to_string(slot.slot));
        EXPECT_EQ(made.status, 0) << made.err;
        const fs::path table = drive / "vokelu" / (std::string(slot.stem) + ".zd");
        EXPECT_NE(made.out.find(table.string()), std::string::npos) << made.out;
        EXPECT_EQ(readFile(table), file(slot.expected)) << slot.slot;
    }
    const ToolRun missing = make("--slot 2");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("cannot read data file"), std::string::npos) << missing.err;
    EXPECT_NE(missing.err.find((drive / "vokelu" / "kpx-ty2.txt").string()), std::string::npos) << missing.err;
    EXPECT_FALSE(fs::exists(drive / "vokelu" / "kpx-ty2.zd"));
    for (const char *bad : { "0", "31", "-1", "x", "1x", "" }) {
        const ToolRun refused = make("--slot '"s + bad + "'");
        EXPECT_EQ(refused.status, 2) << bad;
        EXPECT_NE(refused.err.find("slot"), std::string::npos) << bad;
    }
}

TEST_F(Tools, NoOutputReplacesAnInputAndNoInputIsAFileThatNeverEnds)
{
    const std::string words = file("words.txt");
    writeFile(data / "inc.txt", "i1 x\r\n");
    writeFile(data / "over.txt", "a1 x\r\n #include inc.txt\r\n#include <o=./inc.txt>\r\n");
    for (const auto &[tool, arguments, named] : { std::tuple { KPX_MAKE_PATH, "words.txt -o ./words.txt", "words.txt" },
             std::tuple { KPX_CONVERT_PATH, "words.txt -o ./words.txt", "words.txt" },
             std::tuple { KPX_MAKE_PATH, "over.txt -o t.zd", "inc.txt" },
             std::tuple { KPX_CONVERT_PATH, "over.txt --from big5 -o inc.txt --to tsv", "inc.txt" } }) {
        const ToolRun refused = run(tool, arguments);
        EXPECT_EQ(refused.status, 1) << arguments;
        EXPECT_NE(refused.err.find("input of this"), std::string::npos) << refused.err;
        EXPECT_NE(refused.err.find(std::string(": ") + named + "\n"), std::string::npos) << refused.err;
    }
    EXPECT_EQ(file("words.txt"), words);
    EXPECT_EQ(file("inc.txt"), "i1 x\r\n");
    EXPECT_FALSE(fs::exists(data / "t.zd"));

    // Inputs that are no regular file: refused at once with what they are, and the run goes on.
    ASSERT_EQ(::mkfifo((data / "pipe").c_str(), 0600), 0);
    fs::create_directory(data / "folder");
    for (const auto &[input, why] : { std::pair { "folder", "not a regular file: a directory" },
             std::pair { "pipe", "not a regular file: a named pipe" },
             std::pair { "/dev/zero", "not a regular file: a device" },
             std::pair { "missing.txt", "No such file or directory" } }) {
        const ToolRun made = make(std::string(input) + " -o t.zd");
        EXPECT_EQ(made.status, 1);
        EXPECT_EQ(made.err, "kpx-make: cannot read data file "s + input + ": " + why + "\n");
        const ToolRun converted = convert(std::string(input) + " --from big5 -o t.tsv");
        EXPECT_EQ(converted.status, 1);
        EXPECT_EQ(converted.err, "kpx-convert: cannot read "s + input + ": " + why + "\n");
    }
    writeFile(data / "ends.txt", "a1 x\r\n #include </dev/urandom>\r\n #include <pipe>\r\nb1 y\r\n");
    const ToolRun made = make("ends.txt -o t.zd");
    EXPECT_EQ(made.status, 0);
    EXPECT_EQ(made.err,
        "ends.txt:2: include file '/dev/urandom' not read: not a regular file: a device\n"
        "ends.txt:3: include file 'pipe' not read: not a regular file: a named pipe\n"
        "kpx-make: 2 entries; lines without an entry: 2; duplicates: 0\n");
}

TEST_F(Tools, ConvertFollowsIncludeLinesByTheCompilersRule)
{
    // A data file that includes itself: a cycle, as in a table run; its other lines once.
    writeFile(data / "self.txt", "s1 x\r\n#include self.txt\r\ns2 y\r\n");
    const ToolRun made = make("self.txt -o t.zd");
    const ToolRun converted = convert("self.txt -o t.tsv");
    EXPECT_EQ(made.status, 0);
    EXPECT_EQ(converted.status, 0);
    EXPECT_EQ(file("t.tsv"), "s1\tx\ns2\ty\n");
    const std::string cycle = "self.txt:2: include file 'self.txt' is already being read (include cycle): skipped\n";
    EXPECT_EQ(made.err.substr(0, cycle.size()), cycle);
    EXPECT_EQ(converted.err, cycle);
}

TEST_F(Tools, TableNotWrittenExitsWithOne)
{
    ToolRun made = make("worked_example.txt -o missing/t.zd");
    EXPECT_EQ(made.status, 1);
    EXPECT_EQ(made.out, "");
    EXPECT_NE(made.err.find("table not written to missing/t.zd"), std::string::npos) << made.err;

    writeFile(data / "ro.zd", "old");
    ::chmod((data / "ro.zd").c_str(), 0444);
    made = make("worked_example.txt -o ro.zd");
    EXPECT_EQ(made.status, 1);
    EXPECT_NE(made.err.find("ro.zd"), std::string::npos) << made.err;
    EXPECT_EQ(file("ro.zd"), "old");

    fs::create_directory(data / "dir.zd");
    EXPECT_EQ(make("worked_example.txt -o dir.zd").status, 1);
    EXPECT_TRUE(fs::is_directory(data / "dir.zd"));
}

TEST_F(Tools, UsageErrorsExitWithTwo)
{
    for (const char *arguments :
        { "", "worked_example.txt", "-o t.zd", "worked_example.txt -o", "worked_example.txt -o t.zd --order xx",
            "worked_example.txt -o t.zd --bogus", "worked_example.txt words.txt -o t.zd" }) {
        const ToolRun made = make(arguments);
        EXPECT_EQ(made.status, 2) << arguments;
        EXPECT_EQ(made.out, "") << arguments;
        EXPECT_NE(made.err.find("kpx-make"), std::string::npos) << arguments;
        EXPECT_FALSE(fs::exists(data / "t.zd")) << arguments;
    }
    for (const char *arguments : { "", "--bogus", "a.zd b.zd" })
        EXPECT_EQ(dump(arguments).status, 2) << arguments;
}

// The three tools alike: a usage error is one line that points to --help, with status 2 and
// nothing written; an option that would do nothing here is such an error.
TEST_F(Tools, UsageErrorsAreOneLineInEveryTool)
{
    writeFile(data / "w.tsv", "a\tb\n");
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        { KPX_MAKE_PATH,
            { "worked_example.txt -o t.zd -o u.zd", "worked_example.txt -o t.zd --order ty --order py",
                "worked_example.txt -o t.zd --id toolongid", "worked_example.txt -o t.zd --id '\xa5\x78'",
                "worked_example.txt -o t.zd --id 'a\tb'", "--slot 1 -o t.zd", "--slot 1 --order py",
                "--slot 1 worked_example.txt", "worked_example.txt -o t.zd --encoding latin1", "-x" } },
        { KPX_DUMP_PATH, { "", "--utf8 --big5 t.zd", "--header --header t.zd", "-o t.zd t.zd" } },
        { KPX_CONVERT_PATH,
            { "w.tsv -o t.txt -o u.txt", "w.tsv -o t.txt --syllables", "w.tsv -o t.tsv --name x",
                "w.tsv -o t.dict.yaml --syllables --syllables", "words.txt -o t.dict.yaml --text-first",
                "w.tsv -o t.txt --encoding utf-8", "w.tsv", "w.tsv t.txt -o u.txt", "w.tsv -o t.txt --from xx" } },
    };
    for (const auto &[program, commandLines] : cases) {
        const std::string tool = fs::path(program).filename().string();
        for (const std::string &arguments : commandLines) {
            const ToolRun refused = run(program, arguments);
            EXPECT_EQ(refused.status, 2) << tool << " " << arguments;
            EXPECT_EQ(refused.out, "") << arguments;
            EXPECT_EQ(std::count(refused.err.begin(), refused.err.end(), '\n'), 1) << refused.err;
            EXPECT_EQ(refused.err.rfind(tool + ": ", 0), 0u) << refused.err;
            EXPECT_NE(refused.err.find("(see " + tool + " --help)\n"), std::string::npos) << refused.err;
            for (const char *output : { "t.zd", "u.zd", "t.txt", "u.txt", "t.tsv", "t.dict.yaml" })
                EXPECT_FALSE(fs::exists(data / output)) << arguments;
        }
        const ToolRun help = run(program, "--help");
        EXPECT_NE(help.out.find("Exit status: 0 done, 1 failed"), std::string::npos) << help.out;
        const ToolRun version = run(program, "--version");
        EXPECT_EQ(version.status, 0);
        EXPECT_EQ(version.out, tool + " " KPX_VERSION "\n");
    }
    EXPECT_NE(run(KPX_CONVERT_PATH, "w.tsv -o t.txt --syllables").err.find("--syllables applies to rime only"),
        std::string::npos);

    // An input that cannot be read fails with status 1 and the system's reason, in every tool.
    for (const auto &[program, arguments] : { std::pair<std::string, std::string> { KPX_MAKE_PATH, " -o t.zd" },
             { KPX_DUMP_PATH, "" }, { KPX_CONVERT_PATH, " -o t.tsv --from big5" } }) {
        for (const auto &[input, reason] : { std::pair<std::string, std::string> { "missing.txt", "No such file" },
                 { "inc", "not a regular file: a directory" } }) {
            const ToolRun failed = run(program, input + arguments);
            EXPECT_EQ(failed.status, 1) << program << " " << input;
            EXPECT_NE(failed.err.find("cannot read"), std::string::npos) << failed.err;
            EXPECT_NE(failed.err.find(input + ": " + reason), std::string::npos) << failed.err;
            EXPECT_FALSE(fs::exists(data / "t.zd") || fs::exists(data / "t.tsv")) << failed.err;
        }
    }

    // A list line of one column says what it lacks.
    writeFile(data / "one.tsv", "a\tb\nlonely\nc d\n");
    const ToolRun oneColumn = convert("-q one.tsv -o t.txt");
    EXPECT_EQ(oneColumn.status, 0) << oneColumn.err;
    EXPECT_EQ(oneColumn.err, "one.tsv:2: no TAB between key and text\n");
}

// A Big5 word that also reads as UTF-8 (撘河 is e5 bc aa 65, "弪e") makes its table.
TEST_F(Tools, Big5ThatAlsoReadsAsUtf8IsTakenAsBig5)
{
    writeFile(data / "c.txt", "ciah8 \xe5\xbc\xaa\x65\r\n");
    const ToolRun made = make("c.txt -o t.zd");
    EXPECT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(tableRecords(file("t.zd")), "ciah8\t\xe5\xbc\xaa\x65\n");
    writeFile(data / "u.txt", "ciah8 \xe5\xbc\xaa\x65\r\ntai5 \xe5\x8f\xb0\r\n");
    const ToolRun refused = make("u.txt -o t2.zd");
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("u.txt:2: UTF-8 text, not Big5"), std::string::npos) << refused.err;
}

// kpx-dump lists UTF-8 on a terminal that shows UTF-8 and the table's own bytes when redirected
// or on another terminal; --big5 and --utf8 choose.
TEST_F(Tools, DumpChoosesUtf8ForAUtf8Terminal)
{
    if (std::system("command -v script >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "no 'script' to give the program a terminal";
    const auto onTerminal = [&](const std::string &locale, const std::string &arguments) {
        return run("/usr/bin/env",
            "LC_ALL=" + locale + " script -qec \"'" + std::string(KPX_DUMP_PATH) + "' " + arguments
                + " worked_example.expected.zd\" /dev/null </dev/null");
    };
    EXPECT_EQ(onTerminal("C.UTF-8", "").out, "a1\t\u4E00\r\nba\t\u4E59\r\n");
    EXPECT_EQ(onTerminal("C.UTF-8", "--big5").out, "a1\t\xA4\x40\r\nba\t\xA4\x41\r\n");
    EXPECT_EQ(onTerminal("C", "").out, "a1\t\xA4\x40\r\nba\t\xA4\x41\r\n");
    EXPECT_EQ(onTerminal("C", "--utf8").out, "a1\t\u4E00\r\nba\t\u4E59\r\n");
    EXPECT_EQ(dump("worked_example.expected.zd").out, "a1\t\xA4\x40\nba\t\xA4\x41\n");
}

TEST_F(Tools, HelpGoesToStandardOutput)
{
    for (const char *program : { KPX_MAKE_PATH, KPX_DUMP_PATH, KPX_CONVERT_PATH }) {
        const ToolRun help = run(program, "--help");
        EXPECT_EQ(help.status, 0);
        EXPECT_EQ(help.out.rfind("Usage: kpx-", 0), 0u) << help.out;
        EXPECT_EQ(help.err, "");
    }
}

TEST_F(Tools, DumpHeaderAndUtf8)
{
    const ToolRun header = dump("--header worked_example.expected.zd");
    EXPECT_EQ(header.status, 0);
    EXPECT_EQ(header.out,
        "header record size: 24\ntag: dty\\x00\nentries: 2\nbody size: 12\n"
        "a1\t\xA4\x40\nba\t\xA4\x41\n");
    const ToolRun utf8 = dump("--utf8 worked_example.expected.zd");
    if (utf8.status == 2) {
        EXPECT_NE(utf8.err.find("--utf8 is not available"), std::string::npos);
    } else {
        EXPECT_EQ(utf8.status, 0);
        EXPECT_EQ(utf8.out, "a1\t\u4E00\nba\t\u4E59\n");
    }
}

TEST_F(Tools, DumpRejectsEveryBrokenTable)
{
    std::vector<std::string> names;
    for (const auto &entry : fs::directory_iterator(data / "broken"))
        names.push_back(entry.path().filename().string());
    ASSERT_GE(names.size(), 10u);
    for (const std::string &name : names) {
        const ToolRun dumped = dump("broken/" + name);
        EXPECT_EQ(dumped.status, 1) << name;
        EXPECT_EQ(dumped.out, "") << name;
        EXPECT_NE(dumped.err.find("not a well-formed table"), std::string::npos) << name << ": " << dumped.err;
    }
    EXPECT_EQ(dump("missing.zd").status, 1);
    EXPECT_EQ(dump("inc").status, 1) << "a directory";
}

TEST_F(Tools, DumpRejectsEveryTruncation)
{
    const std::string table = file("worked_example.expected.zd");
    for (std::size_t length = 0; length < table.size(); ++length) {
        writeFile(data / "cut.zd", table.substr(0, length));
        const ToolRun dumped = dump("cut.zd");
        EXPECT_EQ(dumped.status, 1) << length;
        EXPECT_EQ(dumped.out, "") << length;
    }
}

// One bit flipped at each byte: only the tag and the key and output bytes may change freely.
TEST_F(Tools, DumpChecksEveryLengthAndHeaderField)
{
    const std::string table = file("worked_example.expected.zd");
    const std::vector<std::size_t> free { 4, 5, 6, 7, 33, 34, 36, 37, 39, 40, 42, 43 };
    for (std::size_t offset = 0; offset < table.size(); ++offset) {
        std::string flipped = table;
        flipped[offset] = static_cast<char>(flipped[offset] ^ 1);
        writeFile(data / "flipped.zd", flipped);
        const bool stillValid = std::find(free.begin(), free.end(), offset) != free.end();
        EXPECT_EQ(dump("flipped.zd").status, stillValid ? 0 : 1) << "offset " << offset;
    }
}

} // namespace
