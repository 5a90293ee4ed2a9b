// SPDX-License-Identifier: GPL-2.0-or-later
// kpx-convert: the user's words to and from other input methods' word lists.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "compiler/table_order.h"
#include "exchange/exchange.h"
#include "io/file_handle.h"
#include "io/replacing_file.h"
#include "platform/native_path.h"
#include "platform/standard_streams.h"
#include "tools/convert_import.h"
#include "tools/tool_support.h"

namespace {

using kpx::tools::kExitNotWritten;
using kpx::tools::kExitUsage;
using kpx::tools::kExitWritten;

void usage(std::FILE *to)
{
    std::fputs("Usage: kpx-convert [-q] INPUT -o OUTPUT [--from FORMAT] [--to FORMAT] [--syllables]\n"
               "                   [--order file|ty|py|ib] [--text-first] [--name NAME] [--encoding utf-8]\n"
               "\n"
               "Converts a word list between our data files and other input methods' word lists.\n"
               "FORMAT is one of\n"
               "  big5    our data file: Big5 text, \"key text\" lines, comment and #include lines\n"
               "  rime    a RIME dictionary (NAME.dict.yaml), UTF-8: text<TAB>code lines\n"
               "  fcitx5  an fcitx5 table source as libime_tabledict compiles it, UTF-8\n"
               "  tsv     a UTF-8 list: key<TAB>text lines (text<TAB>key with --text-first)\n"
               "  csv     comma-separated values with a header row, UTF-8: key,text (reading: any\n"
               "          columns, chosen with --key and --text)\n"
               "A format left out is taken from the file's name: *.dict.yaml rime, *.fcitx5.txt\n"
               "fcitx5, *.tsv tsv, *.csv csv, other *.txt big5; other names need --from or --to.\n"
               "'-' is standard input or output.\n"
               "\n"
               "  -o OUTPUT        the file to write (written whole or not at all)\n"
               "  --from FORMAT    the input's format\n"
               "  --to FORMAT      the output's format\n"
               "  --syllables      rime: write a hyphenated key (tai5-uan5) as syllables (tai5 uan5);\n"
               "                   reading always turns a code's spaces into hyphens\n"
               "  --order ORDER    from big5: the entries in the file's order (file, default) or\n"
               "                   sorted as a table of that order (ty, py or ib)\n"
               "  --text-first     tsv: text<TAB>key\n"
               "  --name NAME      rime: the dictionary's name (default: from OUTPUT's name, else kpx)\n"
               "  --encoding utf-8 big5 input that is in fact UTF-8 text: convert it to Big5 first\n"
               "  -q, --quiet      print only problems and errors\n",
        to);
    // Import: columns, the form of keys, variants.
    std::fputs(kpx::tools::kImportOptionsUsage, to);
    std::fputs("  --help           this text\n"
               "\n"
               "A big5 input is read as the table compiler reads it (include lines followed relative\n"
               "to the current directory): every entry it would make is written once; comment lines,\n"
               "include lines and lines that make no entry are counted, not written. Words with a\n"
               "character that has no Big5 form, and keys or texts over 32 or 64 bytes in Big5, are\n"
               "not taken into a big5 output. Every such line is printed as PATH:LINE: reason on\n"
               "standard error. Exit status: 0 written, 1 not written, 2 usage error or unreadable\n"
               "input.\n",
        to);
}

struct Options {
    std::string input;
    std::string output;
    std::optional<kpx::ExchangeFormat> from;
    std::optional<kpx::ExchangeFormat> to;
    std::optional<kpx::TableOrder> order; // none: the file's order
    kpx::ExchangeOptions exchange;
    bool utf8Input = false;
    bool quiet = false;
    kpx::tools::ImportChoices import;
};

bool parseFormat(const char *name, std::optional<kpx::ExchangeFormat> &format)
{
    format = kpx::exchangeFormatFromName(name);
    if (!format)
        std::fprintf(stderr, "kpx-convert: unknown format '%s' (big5, rime, fcitx5 or tsv)\n", name);
    return format.has_value();
}

// 0 when the arguments are good, -1 after --help, else the exit status.
int parseArguments(int argc, char **argv, Options &options)
{
    bool inputGiven = false;
    for (int at = 1; at < argc; ++at) {
        const char *argument = argv[at];
        const bool hasValue = at + 1 < argc;
        if (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0) {
            usage(stdout);
            return -1;
        }
        if (std::strcmp(argument, "-q") == 0 || std::strcmp(argument, "--quiet") == 0) {
            options.quiet = true;
        } else if (std::strcmp(argument, "--syllables") == 0) {
            options.exchange.syllables = true;
        } else if (std::strcmp(argument, "--text-first") == 0) {
            options.exchange.textFirst = true;
        } else if (std::strcmp(argument, "-o") == 0 && hasValue) {
            options.output = argv[++at];
        } else if (std::strcmp(argument, "--from") == 0 && hasValue) {
            if (!parseFormat(argv[++at], options.from))
                return kExitUsage;
        } else if (std::strcmp(argument, "--to") == 0 && hasValue) {
            if (!parseFormat(argv[++at], options.to))
                return kExitUsage;
        } else if (std::strcmp(argument, "--name") == 0 && hasValue) {
            options.exchange.dictionaryName = argv[++at];
        } else if (std::strcmp(argument, "--encoding") == 0 && hasValue) {
            ++at;
            if (std::strcmp(argv[at], "utf-8") != 0 && std::strcmp(argv[at], "UTF-8") != 0
                && std::strcmp(argv[at], "utf8") != 0) {
                std::fprintf(stderr, "kpx-convert: unknown encoding '%s' (utf-8)\n", argv[at]);
                return kExitUsage;
            }
            options.utf8Input = true;
        } else if (std::strcmp(argument, "--order") == 0 && hasValue) {
            ++at;
            if (std::strcmp(argv[at], "file") != 0) {
                options.order = kpx::TableOrder::fromLetters(argv[at]);
                if (!options.order) {
                    std::fprintf(stderr, "kpx-convert: unknown order '%s' (file, ty, py or ib)\n", argv[at]);
                    return kExitUsage;
                }
            }
        } else if (const int taken = kpx::tools::parseImportOption(argc, argv, at, options.import); taken != 0) {
            if (taken < 0)
                return kExitUsage;
        } else if (argument[0] == '-' && argument[1] != 0) {
            std::fprintf(stderr, "kpx-convert: unknown or incomplete option '%s'\n", argument);
            usage(stderr);
            return kExitUsage;
        } else if (!inputGiven) {
            options.input = argument;
            inputGiven = true;
        } else {
            std::fprintf(stderr, "kpx-convert: unexpected argument '%s'\n", argument);
            return kExitUsage;
        }
    }
    if (!inputGiven || options.output.empty()) {
        std::fputs("kpx-convert: an input file and an output file (-o) are needed\n", stderr);
        usage(stderr);
        return kExitUsage;
    }
    if (!options.from && options.input != "-")
        options.from = kpx::exchangeFormatFromFileName(options.input);
    if (!options.to && options.output != "-")
        options.to = kpx::exchangeFormatFromFileName(options.output);
    if (!options.from || !options.to) {
        const bool input = !options.from;
        std::fprintf(stderr, "kpx-convert: the name '%s' does not say its format: give %s big5|rime|fcitx5|tsv\n",
            (input ? options.input : options.output).c_str(), input ? "--from" : "--to");
        return kExitUsage;
    }
    if (options.exchange.dictionaryName.empty() && options.output != "-")
        options.exchange.dictionaryName = kpx::exchangeDictionaryName(options.output);
    return 0;
}

// An empty string when written, else why not.
std::string writeAll(const std::string &path, const std::string &bytes)
{
    if (path == "-") {
        if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() || std::fflush(stdout) != 0)
            return "writing to standard output failed";
        return {};
    }
    kpx::ReplacingFile file(path.c_str());
    if (file.begin() != kpx::ReplacingFile::Result::Done)
        return "cannot create the file" + (file.reason().empty() ? std::string() : ": " + file.reason());
    bool written = true;
    for (std::size_t at = 0; at < bytes.size() && written;) {
        const std::size_t piece = std::min<std::size_t>(bytes.size() - at, 1 << 20);
        written = file.file().writeBytes(bytes.data() + at, static_cast<std::int32_t>(piece))
            == static_cast<std::int32_t>(piece);
        at += piece;
    }
    if (file.finish(written) != kpx::ReplacingFile::Result::Done)
        return "writing failed" + (file.reason().empty() ? std::string() : ": " + file.reason());
    return {};
}

void printProblems(const std::vector<kpx::ExchangeProblem> &problems, const std::string &inputName)
{
    for (kpx::ExchangeProblem problem : problems) {
        problem.file = problem.file.empty() ? inputName : kpx::os::nativePath(problem.file);
        std::fprintf(stderr, "%s\n", kpx::exchangeProblemLine(problem).c_str());
    }
}

// big5 to big5 with key options: the data file as it is, its keys put into form.
int respellDataFile(const std::string &big5Text, const Options &options, const std::string &inputName,
    std::vector<kpx::ExchangeProblem> &problems)
{
    const kpx::ImportResult respelled = kpx::respellDataText(big5Text, options.exchange.keys, inputName);
    if (respelled.outOfMemory) {
        std::fputs("kpx-convert: out of memory: nothing written\n", stderr);
        return kExitNotWritten;
    }
    problems.insert(problems.end(), respelled.problems.begin(), respelled.problems.end());
    printProblems(problems, inputName);
    kpx::tools::printImportSummary(respelled, inputName, options.quiet);
    const std::string failure = writeAll(options.output, respelled.big5Lines);
    const std::string outputName = options.output == "-" ? "standard output" : kpx::os::nativePath(options.output);
    if (!failure.empty()) {
        std::fprintf(stderr, "kpx-convert: nothing written to %s: %s\n", outputName.c_str(), failure.c_str());
        return kExitNotWritten;
    }
    if (!options.quiet) {
        std::FILE *to = options.output == "-" ? stderr : stdout;
        std::fprintf(to, "%d data lines written to %s (keys kept as they were: %zu; big5)\n",
            static_cast<int>(respelled.entries), outputName.c_str(), respelled.problems.size());
    }
    return kExitWritten;
}

// A chosen column the header lacks: the header's names, nothing written.
int noColumn(const std::string &input, const Options &options, const std::string &inputName)
{
    const std::vector<std::string> header = kpx::exchangeHeader(input, *options.from);
    std::string names;
    for (const std::string &name : header)
        names += (names.empty() ? "" : ", ") + name;
    // The choice the header cannot answer: a number beyond it, or a name it lacks.
    const auto found = [&](const std::string &choice) {
        if (choice.empty())
            return true;
        if (choice.find_first_not_of("0123456789") == std::string::npos)
            return choice.size() < 7 && std::stoul(choice) >= 1 && std::stoul(choice) <= header.size();
        return std::any_of(header.begin(), header.end(), [&](const std::string &name) {
            return name.size() == choice.size()
                && std::equal(name.begin(), name.end(), choice.begin(), [](char a, char b) {
                       return std::tolower(static_cast<unsigned char>(a))
                           == std::tolower(static_cast<unsigned char>(b));
                   });
        });
    };
    const std::string &missing
        = found(options.exchange.keyColumn) ? options.exchange.textColumn : options.exchange.keyColumn;
    std::fprintf(stderr, "%s:1: no column '%s' in the header (its columns: %s): nothing written\n", inputName.c_str(),
        missing.c_str(), names.c_str());
    return kExitUsage;
}

} // namespace

int main(int systemArgc, char **systemArgv)
{
    // Arguments in the program's form of paths, whatever the system's code page.
    kpx::tools::CommandLine commandLine;
    if (!commandLine.read("kpx-convert", systemArgc, systemArgv))
        return kpx::tools::kExitUsage;
    const int argc = commandLine.count();
    char **argv = commandLine.values();
    kpx::os::setStandardStreamsBinary();
    Options options;
    options.import.exchange = &options.exchange;
    if (const int status = parseArguments(argc, argv, options); status != 0)
        return status < 0 ? 0 : status;
    const std::string inputName
        = options.input == "-" ? kpx::tools::kStandardInputName : kpx::os::nativePath(options.input);

    std::string input;
    if (!kpx::tools::readWholeInput(options.input, input)) {
        std::fprintf(stderr, "kpx-convert: cannot read %s\n", inputName.c_str());
        return kExitUsage;
    }

    std::vector<kpx::ExchangeProblem> problems;
    std::string summary;
    std::string big5Text;
    kpx::ImportResult imported;
    bool fromBig5 = *options.from == kpx::ExchangeFormat::Big5;
    if (fromBig5) {
        const kpx::Utf8Check check = kpx::checkUtf8(input);
        if (options.utf8Input) {
            kpx::ImportResult converted = kpx::utf8DataTextToBig5(input, inputName);
            problems = std::move(converted.problems);
            big5Text = std::move(converted.big5Lines);
        } else if (check.isUtf8) {
            std::fprintf(stderr,
                "%s:%d: the file is UTF-8 text, not Big5: nothing written (--encoding utf-8 converts it)\n",
                inputName.c_str(), static_cast<int>(check.firstUtf8Line));
            return kExitNotWritten;
        } else {
            big5Text = std::move(input);
        }
        if (options.import.keyOptionGiven && *options.to == kpx::ExchangeFormat::Big5)
            return respellDataFile(big5Text, options, inputName, problems);
    } else {
        imported = kpx::importExchangeFile(input, *options.from, options.exchange, inputName);
        if (imported.outOfMemory) {
            std::fputs("kpx-convert: out of memory: nothing written\n", stderr);
            return kExitNotWritten;
        }
        if (!imported.problems.empty() && imported.problems.front().reason == kpx::ExchangeProblemReason::NoColumn)
            return noColumn(input, options, inputName);
        problems = imported.problems;
        summary = "words read: " + std::to_string(imported.words) + "; not taken: " + std::to_string(problems.size());
        big5Text = std::move(imported.big5Lines);
    }

    kpx::ExportRequest request;
    request.format = *options.to;
    request.options = options.exchange;
    request.order = options.order ? kpx::ExportOrder::Compiler : kpx::ExportOrder::File;
    if (options.order)
        request.tableOrder = *options.order;
    request.importedLines = !fromBig5;
    const kpx::ExportResult exported = kpx::exportDataText(big5Text, request);
    big5Text = std::string();
    if (exported.outOfMemory) {
        std::fputs("kpx-convert: out of memory: nothing written\n", stderr);
        return kExitNotWritten;
    }
    printProblems(problems, inputName);
    if (fromBig5) {
        const kpx::RunProblems &run = exported.compiler;
        const kpx::tools::RunFileName pathOf
            = [&](std::int32_t file) { return file == 0 ? inputName : kpx::os::nativePath(run.files[file]); };
        for (const kpx::LineProblem &problem : run.problems)
            kpx::tools::printLineProblem(problem, pathOf);
        const kpx::ExportCounts &counts = exported.counts;
        summary = "duplicates: " + std::to_string(counts.duplicates) + "; comment lines: "
            + std::to_string(counts.commentLines) + "; include lines: " + std::to_string(counts.includeLines)
            + "; lines without an entry: " + std::to_string(counts.linesWithoutEntry);
    }
    printProblems(exported.problems, inputName);
    if (!fromBig5)
        kpx::tools::printImportSummary(imported, inputName, options.quiet);
    if (exported.counts.notBig5Text)
        summary += "; not Big5 text: " + std::to_string(exported.counts.notBig5Text);

    const std::string failure = writeAll(options.output, exported.bytes);
    const std::string outputName = options.output == "-" ? "standard output" : kpx::os::nativePath(options.output);
    if (!failure.empty()) {
        std::fprintf(stderr, "kpx-convert: nothing written to %s: %s\n", outputName.c_str(), failure.c_str());
        return kExitNotWritten;
    }
    if (!options.quiet) {
        // The report goes where it does not mix with the words.
        std::FILE *to = options.output == "-" ? stderr : stdout;
        std::fprintf(to, "%s written to %s (%s; %s)\n", kpx::tools::countedEntries(exported.counts.entries).c_str(),
            outputName.c_str(), summary.c_str(), std::string(kpx::exchangeFormatName(*options.to)).c_str());
    }
    return kExitWritten;
}
