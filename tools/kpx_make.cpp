// SPDX-License-Identifier: GPL-2.0-or-later
// kpx-make: compiles a data file into a lexicon table, as the window's make-table command does.
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "compiler/data_text.h"
#include "compiler/table_compiler.h"
#include "compiler/table_order.h"
#include "exchange/exchange.h"
#include "io/file_handle.h"
#include "platform/native_path.h"
#include "state/slot_names.h"

namespace {

constexpr int kExitWritten = 0;
constexpr int kExitNotWritten = 1;
constexpr int kExitUsage = 2;

void usage(std::FILE *to)
{
    std::fputs("Usage: kpx-make [-q] DATAFILE -o TABLE [--order ty|py|ib] [--id ID] [--encoding utf-8]\n"
               "       kpx-make [-q] --slot N\n"
               "\n"
               "Compiles a data file (Big5 text: one entry per line, input key and output text\n"
               "separated by blanks; comment and #include lines as in the editor) into a lexicon\n"
               "table (.zd) for the input method.\n"
               "\n"
               "  -o TABLE         the table file to write\n"
               "  --order ORDER    ty (romanisation, default), py (pinyin) or ib (byte order)\n"
               "  --id ID          the table's id; default dty, dpy or dib by order\n"
               "  --slot N         slot 1 to 30: its data file, order, id and table file in the\n"
               "                   vokelu directory of the system drive ($KPX_DRIVE, else $HOME)\n"
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
               "count and the path written. Exit status: 0 table written, 1 table not written,\n"
               "2 usage error or unreadable data file.\n",
        to);
}

struct Options {
    std::string dataFile;
    std::string tableFile;
    std::string id;
    kpx::TableOrder order;
    bool idGiven = false;
    bool quiet = false;
    bool fromUtf8 = false;
};

constexpr const char *kUtf8Found = "UTF-8 text, not Big5: the file is UTF-8";

bool parseOrder(const char *name, kpx::TableOrder &order)
{
    const std::optional<kpx::TableOrder> named = kpx::TableOrder::fromLetters(name);
    if (named)
        order = *named;
    return named.has_value();
}

bool parseSlot(const char *text, std::int32_t &slot)
{
    char *end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (!*text || *end || value < kpx::kFirstSlot || value > kpx::kLastSlot)
        return false;
    slot = static_cast<std::int32_t>(value);
    return true;
}

// 0 when the arguments are good, else the exit status.
int parseArguments(int argc, char **argv, Options &options)
{
    bool slotGiven = false;
    for (int at = 1; at < argc; ++at) {
        const char *argument = argv[at];
        const bool hasValue = at + 1 < argc;
        if (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0) {
            usage(stdout);
            return -1;
        }
        if (std::strcmp(argument, "-q") == 0 || std::strcmp(argument, "--quiet") == 0) {
            options.quiet = true;
        } else if (std::strcmp(argument, "-o") == 0 && hasValue) {
            options.tableFile = argv[++at];
        } else if (std::strcmp(argument, "--order") == 0 && hasValue) {
            if (!parseOrder(argv[++at], options.order)) {
                std::fprintf(stderr, "kpx-make: unknown order '%s' (ty, py or ib)\n", argv[at]);
                return kExitUsage;
            }
        } else if (std::strcmp(argument, "--encoding") == 0 && hasValue) {
            ++at;
            if (std::strcmp(argv[at], "utf-8") != 0 && std::strcmp(argv[at], "UTF-8") != 0
                && std::strcmp(argv[at], "utf8") != 0 && std::strcmp(argv[at], "big5") != 0) {
                std::fprintf(stderr, "kpx-make: unknown encoding '%s' (big5 or utf-8)\n", argv[at]);
                return kExitUsage;
            }
            options.fromUtf8 = argv[at][0] != 'b';
        } else if (std::strcmp(argument, "--id") == 0 && hasValue) {
            options.id = argv[++at];
            options.idGiven = true;
        } else if (std::strcmp(argument, "--slot") == 0 && hasValue) {
            std::int32_t slot = 0;
            if (!parseSlot(argv[++at], slot)) {
                std::fprintf(stderr, "kpx-make: slot must be a number from 1 to 30, not '%s'\n", argv[at]);
                return kExitUsage;
            }
            const char drive = kpx::os::systemDriveLetter();
            options.dataFile = kpx::DataFileName(slot, drive);
            options.tableFile = kpx::TableFileName(slot, drive);
            options.order = kpx::SlotOrder(slot);
            options.id = kpx::TableId(slot);
            options.idGiven = true;
            slotGiven = true;
        } else if (argument[0] == '-' && argument[1] != 0) {
            std::fprintf(stderr, "kpx-make: unknown or incomplete option '%s'\n", argument);
            usage(stderr);
            return kExitUsage;
        } else if (options.dataFile.empty() && !slotGiven) {
            options.dataFile = argument;
        } else {
            std::fprintf(stderr, "kpx-make: unexpected argument '%s'\n", argument);
            return kExitUsage;
        }
    }
    if (options.dataFile.empty() || options.tableFile.empty()) {
        std::fputs("kpx-make: a data file and a table file (-o), or --slot N, are needed\n", stderr);
        usage(stderr);
        return kExitUsage;
    }
    if (!options.idGiven)
        options.id = options.order.defaultId();
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
    case kpx::TableWriteFailure::None:
        break;
    }
    return "unknown failure";
}

// Why a line made no entry, in words; pathOf names a file of the run.
template <typename PathOf> std::string problemText(const kpx::LineProblem &problem, PathOf &&pathOf)
{
    switch (problem.reason) {
    case kpx::LineProblemReason::OneColumn:
        return "only one column: no output text";
    case kpx::LineProblemReason::KeyTooLong:
        return "key longer than 32 bytes";
    case kpx::LineProblemReason::OutputTooLong:
        return "output longer than 64 bytes";
    case kpx::LineProblemReason::EntryTooLong:
        return "key and output together longer than an entry may be (94 bytes)";
    case kpx::LineProblemReason::IncludeNotOpened:
        return "cannot open include file '" + pathOf(problem.subject) + "'";
    case kpx::LineProblemReason::IncludeCycle:
        return "include file '" + pathOf(problem.subject) + "' is already being read (include cycle): skipped";
    case kpx::LineProblemReason::OverrideTooShort:
        return "override too short to take effect: read as include file '" + pathOf(problem.subject)
            + "', which cannot be opened";
    case kpx::LineProblemReason::Duplicate:
        return "duplicate entry: same key and output as " + pathOf(problem.subject) + ":"
            + std::to_string(problem.subjectLine);
    }
    return "unknown problem";
}

// One line per problem, in the form compilers use, then how many there were. A clean run
// prints nothing here.
void printProblems(const kpx::RunProblems &run, const std::string &dataFile)
{
    if (run.problems.empty() && !run.incomplete)
        return;
    const std::string dataPath = kpx::os::nativePath(dataFile);
    // The editor's lines are the data file's.
    const auto pathOf = [&](std::int32_t file) { return file == 0 ? dataPath : kpx::os::nativePath(run.files[file]); };
    std::int32_t duplicates = 0;
    for (const kpx::LineProblem &problem : run.problems) {
        if (problem.reason == kpx::LineProblemReason::Duplicate)
            ++duplicates;
        std::fprintf(stderr, "%s:%d: %s\n", pathOf(problem.file).c_str(), static_cast<int>(problem.line),
            problemText(problem, pathOf).c_str());
    }
    std::fprintf(stderr, "kpx-make: %d entries; lines without an entry: %d; duplicates: %d%s\n",
        static_cast<int>(kpx::tc_count()), static_cast<int>(run.linesWithoutEntry), static_cast<int>(duplicates),
        run.incomplete ? " (out of memory: the list is incomplete)" : "");
}

// Reads a whole file. False when it cannot be read.
bool readFile(const std::string &path, std::string &bytes)
{
    kpx::FileHandle file;
    if (!file.openRead(path.c_str()))
        return false;
    // As large as a plain program reads: a larger block only costs its clearing at small sizes.
    std::vector<char> block(1 << 16);
    for (;;) {
        const std::int32_t got = file.readBytes(block.data(), static_cast<std::int32_t>(block.size()));
        if (got < 0)
            return false;
        bytes.append(block.data(), static_cast<std::size_t>(got));
        if (got < static_cast<std::int32_t>(block.size()))
            return true;
    }
}

void printConversionProblem(const char *path, std::int32_t line, kpx::ExchangeProblemReason reason, char32_t character)
{
    const kpx::ExchangeProblem problem { kpx::os::nativePath(path), line, reason, character };
    std::fprintf(stderr, "%s: line left out\n", kpx::exchangeProblemLine(problem).c_str());
}

// Hands every line of the data file to the compiler: converted from UTF-8 when asked, each line
// without a Big5 form left out and reported, include files' lines too. False when the file
// cannot be read; utf8Line is the first UTF-8 line of a data file that is UTF-8 and was not
// converted.
bool compileDataFile(const std::string &path, bool fromUtf8, std::int32_t &utf8Line)
{
    utf8Line = 0;
    if (fromUtf8) {
        std::string bytes;
        if (!readFile(path, bytes))
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
    kpx::FileHandle file;
    if (!file.openRead(path.c_str()))
        return false;
    kpx::DataTextToCompiler compiler;
    kpx::DataLineSplitter lines;
    kpx::Utf8Detector detector;
    const auto judge
        = [&detector](const char *line, std::size_t length) { detector.addLine(std::string_view(line, length)); };
    // As large as a plain program reads: a larger block only costs its clearing at small sizes.
    std::vector<char> block(1 << 16);
    for (;;) {
        const std::int32_t got = file.readBytes(block.data(), static_cast<std::int32_t>(block.size()));
        if (got < 0)
            return false;
        const std::string_view bytes(block.data(), static_cast<std::size_t>(got));
        compiler.feed(bytes);
        // A Big5 line settles it; the rest is not looked at twice.
        if (detector.result().big5Lines == 0)
            lines.feed(bytes.data(), bytes.size(), judge);
        if (got < static_cast<std::int32_t>(block.size()))
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
        if (!readFile(run.files[file], bytes))
            continue;
        if (const kpx::Utf8Check check = kpx::checkUtf8(bytes); check.isUtf8) {
            std::fprintf(stderr, "%s:%d: %s\n", kpx::os::nativePath(run.files[file]).c_str(),
                static_cast<int>(check.firstUtf8Line), kUtf8Found);
            ++found;
        }
    }
    return found;
}

} // namespace

int main(int argc, char **argv)
{
    Options options;
    if (const int status = parseArguments(argc, argv, options); status != 0)
        return status < 0 ? 0 : status;

    kpx::tc_begin(0);
    std::int32_t utf8Line = 0;
    if (!compileDataFile(options.dataFile, options.fromUtf8, utf8Line)) {
        std::fprintf(stderr, "kpx-make: cannot read data file %s\n", kpx::os::nativePath(options.dataFile).c_str());
        return kExitUsage;
    }
    kpx::tc_order_and_sort(options.order.digit());
    // UTF-8 text read as Big5 would make a table of garbled words.
    if (!options.fromUtf8) {
        int utf8Files = 0;
        if (utf8Line) {
            std::fprintf(stderr, "%s:%d: %s\n", kpx::os::nativePath(options.dataFile).c_str(),
                static_cast<int>(utf8Line), kUtf8Found);
            ++utf8Files;
        }
        utf8Files += reportUtf8IncludeFiles(kpx::tc_problems());
        if (utf8Files) {
            std::fputs("kpx-make: table not written: the input is UTF-8 text (--encoding utf-8 converts it)\n", stderr);
            return kExitNotWritten;
        }
    }
    if (!options.quiet)
        printProblems(kpx::tc_problems(), options.dataFile);
    const std::int32_t written = kpx::tc_write(options.tableFile.c_str(), options.id.c_str());
    const kpx::TableWriteReport &report = kpx::tc_last_write();
    const std::string shownPath = kpx::os::nativePath(report.path);
    if (!written) {
        std::fprintf(stderr, "kpx-make: table not written to %s: %s%s%s\n", shownPath.c_str(),
            failureText(report.failure), report.reason.empty() ? "" : ": ", report.reason.c_str());
        return kExitNotWritten;
    }
    if (!options.quiet)
        std::printf("%d entries written to %s\n", static_cast<int>(kpx::tc_count()), shownPath.c_str());
    return kExitWritten;
}
