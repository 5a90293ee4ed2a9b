// SPDX-License-Identifier: GPL-2.0-or-later
// kpx-make: compiles a data file into a lexicon table, as the window's make-table command does.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "compiler/data_text.h"
#include "compiler/table_compiler.h"
#include "compiler/table_order.h"
#include "exchange/exchange.h"
#include "io/file_handle.h"
#include "platform/native_path.h"
#include "platform/os_file.h"
#include "platform/standard_streams.h"
#include "state/slot_names.h"
#include "tools/tool_support.h"

namespace {

using kpx::tools::kExitNotWritten;
using kpx::tools::kExitUsage;
using kpx::tools::kExitWritten;
using kpx::tools::kStandardStream;

constexpr const char *kTool = "kpx-make";

void usage()
{
    kpx::tools::say(stdout,
        "Usage: kpx-make [-q] DATAFILE -o TABLE [--order ty|py|ib] [--id ID] [--encoding utf-8]\n"
        "       kpx-make [-q] --slot N [--encoding utf-8]\n"
        "\n"
        "Compiles a data file (Big5 text: one entry per line, input key and output text\n"
        "separated by blanks; comment and #include lines as in the editor) into a lexicon\n"
        "table (.zd) for the input method.\n"
        "\n"
        "  DATAFILE         the data file; - reads it from standard input\n"
        "  -o TABLE         the table file to write; - writes the table to standard output\n"
        "                   (the messages then all go to standard error)\n"
        "  --order ORDER    ty (romanisation, default), py (pinyin) or ib (byte order)\n"
        "  --id ID          the table's id: up to 4 printable ASCII characters; default dty, dpy, dib\n"
        "                   by order; an empty id leaves the id's bytes zero\n"
        "  --slot N         slot 1 to 30: its data file, order, id and table file in the\n"
        "                   vokelu directory ("
            + kpx::os::systemDriveDescription()
            + ");\n"
              "                   it takes no DATAFILE, -o, --order or --id\n"
              "  --encoding utf-8 the data file and its include files are UTF-8 text: convert them\n"
              "                   to Big5 (a line with a character without a Big5 form is left\n"
              "                   out and reported). Without it, UTF-8 input is reported and no\n"
              "                   table is written\n"
              "  -q, --quiet      print only errors\n"
              "  --help           this text\n"
              "\n"
              "Lines are read as the editor loads them (CR LF, CR or LF end a line, a zero byte\n"
              "ends the text) and cut to 4096 bytes. Include lines name files relative to the\n"
              "current directory; their o= and id= forms override the table path and id.\n"
              "\n"
              "Prints every line that made no entry and every entry that repeats an earlier one\n"
              "as PATH:LINE: reason on standard error, then how many there were, and the entry\n"
              "count and the path written. Exit status 1: the table was not written.\n");
    kpx::tools::say(stdout, kpx::tools::commonHelp());
}

struct Options {
    std::string dataFile;
    std::string tableFile;
    std::string id;
    kpx::TableOrder order;
    bool quiet = false;
    bool fromUtf8 = false;
};

constexpr const char *kUtf8Found = "UTF-8 text, not Big5: the file is UTF-8";

bool parseSlot(const std::string &text, std::int32_t &slot)
{
    char *end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end || value < kpx::kFirstSlot || value > kpx::kLastSlot)
        return false;
    slot = static_cast<std::int32_t>(value);
    return true;
}

// A table's id fills 4 bytes of its header: ASCII, so that it reads the same on every system.
bool idFits(const std::string &id)
{
    return id.size() <= 4 && std::all_of(id.begin(), id.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

// 0 when the arguments are good, -1 after --help, else the exit status.
int parseArguments(int argc, char **argv, Options &options)
{
    static constexpr kpx::tools::ToolOption kOptions[] = {
        { "--quiet", "-q", false },
        { "-o", nullptr, true },
        { "--order", nullptr, true },
        { "--encoding", nullptr, true },
        { "--id", nullptr, true },
        { "--slot", nullptr, true },
    };
    kpx::tools::ParsedOptions given;
    if (!kpx::tools::parseOptions(kTool, argc, argv, kOptions, given))
        return kExitUsage;
    if (kpx::tools::answeredHelpOrVersion(kTool, given, usage))
        return -1;
    options.quiet = given.has("--quiet");
    if (given.has("--encoding")) {
        const std::string &encoding = given.value("--encoding");
        if (encoding != "utf-8" && encoding != "UTF-8" && encoding != "utf8" && encoding != "big5")
            return kpx::tools::usageError(kTool, "unknown encoding '" + encoding + "' (big5 or utf-8)");
        options.fromUtf8 = encoding[0] != 'b';
    }
    if (given.has("--slot")) {
        for (const char *other : { "-o", "--order", "--id" }) {
            if (given.has(other))
                return kpx::tools::usageError(
                    kTool, std::string("--slot names the table, its order and id: ") + other + " does not apply");
        }
        if (!given.operands.empty())
            return kpx::tools::usageError(
                kTool, "--slot names the data file: '" + given.operands[0] + "' does not apply");
        std::int32_t slot = 0;
        if (!parseSlot(given.value("--slot"), slot))
            return kpx::tools::usageError(
                kTool, "slot must be a number from 1 to 30, not '" + given.value("--slot") + "'");
        const char drive = kpx::os::systemDriveLetter();
        options.dataFile = kpx::DataFileName(slot, drive);
        options.tableFile = kpx::TableFileName(slot, drive);
        options.order = kpx::SlotOrder(slot);
        options.id = kpx::TableId(slot);
        return 0;
    }
    if (given.has("--order")) {
        const std::optional<kpx::TableOrder> named = kpx::TableOrder::fromLetters(given.value("--order"));
        if (!named)
            return kpx::tools::usageError(kTool, "unknown order '" + given.value("--order") + "' (ty, py or ib)");
        options.order = *named;
    }
    if (given.operands.size() > 1)
        return kpx::tools::usageError(kTool, "one data file at a time, not '" + given.operands[1] + "' too");
    if (given.operands.empty() || !given.has("-o") || given.value("-o").empty())
        return kpx::tools::usageError(kTool, "a data file and a table file (-o), or --slot N, are needed");
    options.dataFile = given.operands[0];
    options.tableFile = given.value("-o");
    if (given.has("--id") && !idFits(given.value("--id")))
        return kpx::tools::usageError(
            kTool, "the id '" + given.value("--id") + "' is not up to 4 printable ASCII characters");
    options.id = given.has("--id") ? given.value("--id") : options.order.defaultId();
    return 0;
}

const char *failureText(kpx::TableWriteFailure failure)
{
    switch (failure) {
    case kpx::TableWriteFailure::NoPath:
        return "no path";
    case kpx::TableWriteFailure::ReadOnly:
        return "the file there is read-only or not a file";
    case kpx::TableWriteFailure::CannotCreate:
        return "cannot create the file";
    case kpx::TableWriteFailure::WriteFailed:
        return "writing failed";
    case kpx::TableWriteFailure::CannotReplace:
        return "cannot replace the old file";
    case kpx::TableWriteFailure::OutOfMemory:
        return "out of memory";
    case kpx::TableWriteFailure::TooLarge:
        return "more entries than a table can hold (4 GiB of entries, or 2147483647 entries)";
    case kpx::TableWriteFailure::OutputIsInput:
        return "it is an input of this run, which the table would replace";
    case kpx::TableWriteFailure::None:
        break;
    }
    return "unknown failure";
}

// A data file's path as the messages name it.
std::string shownDataPath(const std::string &path)
{
    return path == kStandardStream ? kpx::tools::kStandardInputName : kpx::tools::shownPath(path);
}

// One line per problem, in the form compilers use, then how many there were. A clean run
// prints nothing here.
void printProblems(const kpx::RunProblems &run, const std::string &dataFile)
{
    if (run.problems.empty() && !run.incomplete)
        return;
    const std::string dataPath = shownDataPath(dataFile);
    // The editor's lines are the data file's.
    const kpx::tools::RunFileName pathOf
        = [&](std::int32_t file) { return file == 0 ? dataPath : kpx::tools::shownPath(run.files[file]); };
    std::int32_t duplicates = 0;
    for (const kpx::LineProblem &problem : run.problems) {
        if (problem.reason == kpx::LineProblemReason::Duplicate)
            ++duplicates;
        kpx::tools::printLineProblem(problem, pathOf);
    }
    const std::string warnings = run.warnings ? "; warnings: " + std::to_string(run.warnings) : std::string();
    kpx::tools::sayf(stderr, "kpx-make: %s; lines without an entry: %d; duplicates: %d%s%s\n",
        kpx::tools::countedEntries(kpx::tc_count()).c_str(), static_cast<int>(run.linesWithoutEntry),
        static_cast<int>(duplicates), warnings.c_str(),
        run.incomplete ? " (out of memory: the list is incomplete)" : "");
}

// A file, or standard input for "-", read block by block.
class DataSource {
public:
    bool open(const std::string &path, kpx::os::FileKind &kind)
    {
        standardInput_ = path == kStandardStream;
        return standardInput_ || file_.openRead(path.c_str(), &kind) != 0;
    }
    // The bytes read into block (fewer than size at the end), -1 on a read error.
    std::int32_t read(char *block, std::int32_t size)
    {
        if (!standardInput_)
            return file_.readBytes(block, size);
        const std::size_t got = std::fread(block, 1, static_cast<std::size_t>(size), stdin);
        return std::ferror(stdin) ? -1 : static_cast<std::int32_t>(got);
    }

private:
    kpx::FileHandle file_;
    bool standardInput_ = false;
};

void printConversionProblem(const char *path, std::int32_t line, kpx::ExchangeProblemReason reason, char32_t character)
{
    const kpx::ExchangeProblem problem { kpx::tools::shownPath(path), line, reason, character };
    kpx::tools::sayf(stderr, "%s: line left out\n", kpx::exchangeProblemLine(problem).c_str());
}

// Hands every line of the data file to the compiler: converted from UTF-8 when asked, each line
// without a Big5 form left out and reported, include files' lines too. False when the file
// cannot be read; utf8Line is the first UTF-8 line of a data file that is UTF-8 and was not
// converted.
bool compileDataFile(const std::string &path, bool fromUtf8, std::int32_t &utf8Line, std::string &why)
{
    utf8Line = 0;
    // The data file is the first link of the include chain.
    if (path != kStandardStream)
        kpx::tc_set_source_file(path.c_str());
    if (fromUtf8) {
        std::string bytes;
        if (!kpx::tools::readWholeInput(path, bytes, why))
            return false;
        const kpx::ImportResult converted = kpx::utf8DataTextToBig5(bytes, path);
        for (const kpx::ExchangeProblem &problem : converted.problems)
            printConversionProblem(path.c_str(), problem.line, problem.reason, problem.character);
        kpx::tc_set_include_line_filter([](const char *file, std::int32_t line, std::string &text) {
            // A byte-order mark starts a file, not a word.
            if (line == 1 && text.compare(0, 3, "\xEF\xBB\xBF") == 0)
                text.erase(0, 3);
            std::string big5;
            kpx::ExchangeProblemReason reason {};
            char32_t character = 0;
            if (!kpx::utf8LineToBig5(text, big5, reason, character)) {
                printConversionProblem(file, line, reason, character);
                return false;
            }
            text.swap(big5);
            return true;
        });
        kpx::addDataText(converted.big5Lines);
        return true;
    }

    // Read block by block, as the lines go to the compiler they are also judged Big5 or UTF-8.
    DataSource file;
    kpx::os::FileKind kind = kpx::os::FileKind::Regular;
    if (!file.open(path, kind)) {
        why = kpx::tools::notReadReason(kind);
        return false;
    }
    kpx::DataTextToCompiler compiler;
    kpx::DataLineSplitter lines;
    kpx::Utf8Detector detector;
    const auto judge
        = [&detector](const char *line, std::size_t length) { detector.addLine(std::string_view(line, length)); };
    // As large as a plain program reads: a larger block only costs its clearing at small sizes.
    std::vector<char> block(1 << 16);
    for (;;) {
        const std::int32_t got = file.read(block.data(), static_cast<std::int32_t>(block.size()));
        if (got < 0) {
            why = kpx::tools::notReadReason(kpx::os::FileKind::Regular);
            return false;
        }
        const std::string_view bytes(block.data(), static_cast<std::size_t>(got));
        compiler.feed(bytes);
        // A Big5 line settles it; the rest is not looked at twice.
        if (detector.result().big5Lines == 0)
            lines.feed(bytes.data(), bytes.size(), judge);
        // A run that stopped (no table can hold its entries) reads no further.
        if (got < static_cast<std::int32_t>(block.size()) || kpx::tc_stopped())
            break;
    }
    compiler.finish();
    lines.finish(judge);
    if (detector.result().isUtf8)
        utf8Line = detector.result().firstUtf8Line;
    return true;
}

// Include files that are UTF-8 text, each reported with its first UTF-8 line. The number found.
int reportUtf8IncludeFiles(const kpx::RunProblems &run)
{
    int found = 0;
    for (std::size_t file = 1; file < run.files.size(); ++file) {
        std::string bytes;
        if (!kpx::tools::readWholeInput(run.files[file], bytes))
            continue;
        if (const kpx::Utf8Check check = kpx::checkUtf8(bytes); check.isUtf8) {
            kpx::tools::sayf(stderr, "%s:%d: %s\n", kpx::tools::shownPath(run.files[file]).c_str(),
                static_cast<int>(check.firstUtf8Line), kUtf8Found);
            ++found;
        }
    }
    return found;
}

// A new file name in the system's temporary directory.
std::string temporaryTablePath()
{
    std::random_device random;
    const unsigned long long tag = (static_cast<unsigned long long>(random()) << 32) | random();
    char name[64];
    std::snprintf(name, sizeof name, "kpx-make-%016llx.zd", tag);
    const std::string directory = kpx::os::temporaryDirectory();
    // Without one the table is made in the current directory, and removed there.
    return directory.empty() ? std::string(name) : kpx::os::nativePath(directory + "\\" + name);
}

// Copies the file to standard output and removes it. False when a read or write failed.
bool copyToStandardOutput(const std::string &path)
{
    std::string bytes;
    const bool read = kpx::tools::readWholeInput(path, bytes);
    kpx::os::removeFile(path.c_str());
    if (!read)
        return false;
    const bool copied = std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
    return std::fflush(stdout) == 0 && copied;
}

} // namespace

int main(int systemArgc, char **systemArgv)
{
    // Arguments in the program's form of paths, whatever the system's code page.
    kpx::tools::CommandLine commandLine;
    if (!commandLine.read(kTool, systemArgc, systemArgv))
        return kpx::tools::kExitUsage;
    const int argc = commandLine.count();
    char **argv = commandLine.values();
    Options options;
    if (const int status = parseArguments(argc, argv, options); status != 0)
        return status < 0 ? 0 : status;

    kpx::os::setStandardStreamsBinary();
    kpx::tc_begin(0);
    std::int32_t utf8Line = 0;
    std::string reason;
    if (!compileDataFile(options.dataFile, options.fromUtf8, utf8Line, reason)) {
        kpx::tools::sayf(stderr, "kpx-make: cannot read data file %s%s\n", shownDataPath(options.dataFile).c_str(),
            kpx::tools::becauseOf(reason).c_str());
        return kExitNotWritten;
    }
    kpx::tc_order_and_sort(options.order.digit());
    // UTF-8 text read as Big5 would make a table of garbled words.
    if (!options.fromUtf8) {
        int utf8Files = 0;
        if (utf8Line) {
            kpx::tools::sayf(
                stderr, "%s:%d: %s\n", shownDataPath(options.dataFile).c_str(), static_cast<int>(utf8Line), kUtf8Found);
            ++utf8Files;
        }
        utf8Files += reportUtf8IncludeFiles(kpx::tc_problems());
        if (utf8Files) {
            kpx::tools::say(
                stderr, "kpx-make: table not written: the input is UTF-8 text (--encoding utf-8 converts it)\n");
            return kExitNotWritten;
        }
    }
    if (!options.quiet)
        printProblems(kpx::tc_problems(), options.dataFile);
    // A table for standard output is made in a file of its own first, which is then copied.
    const bool toStandardOutput = options.tableFile == kStandardStream;
    const std::string tablePath = toStandardOutput ? temporaryTablePath() : options.tableFile;
    const std::int32_t written = kpx::tc_write(tablePath.c_str(), options.id.c_str());
    const kpx::TableWriteReport &report = kpx::tc_last_write();
    // An o= line in the data sends the table to a file of its own instead.
    const bool copied = toStandardOutput && report.path == tablePath;
    const std::string shownPath = copied ? "standard output" : kpx::tools::shownPath(report.path);
    if (!written) {
        const bool input = report.failure == kpx::TableWriteFailure::OutputIsInput;
        const std::string reason = input ? shownDataPath(report.input) : report.reason;
        kpx::tools::sayf(stderr, "kpx-make: table not written to %s: %s%s%s\n", shownPath.c_str(),
            failureText(report.failure), reason.empty() ? "" : ": ", reason.c_str());
        return kExitNotWritten;
    }
    if (copied && !copyToStandardOutput(tablePath)) {
        kpx::tools::say(stderr, "kpx-make: table not written to standard output\n");
        return kExitNotWritten;
    }
    if (!options.quiet)
        kpx::tools::sayf(toStandardOutput ? stderr : stdout, "%s written to %s\n",
            kpx::tools::countedEntries(kpx::tc_count()).c_str(), shownPath.c_str());
    return kExitWritten;
}
