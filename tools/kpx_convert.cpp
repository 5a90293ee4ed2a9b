// SPDX-License-Identifier: GPL-2.0-or-later
// kpx-convert: the user's words to and from other input methods' word lists.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "compiler/run_inputs.h"
#include "compiler/table_order.h"
#include "exchange/exchange.h"
#include "io/file_handle.h"
#include "io/replacing_file.h"
#include "platform/native_path.h"
#include "platform/os_file.h"
#include "platform/standard_streams.h"
#include "tools/convert_import.h"
#include "tools/tool_support.h"

namespace {

using kpx::tools::kExitNotWritten;
using kpx::tools::kExitUsage;
using kpx::tools::kExitWritten;

constexpr const char *kTool = "kpx-convert";

void usage()
{
    kpx::tools::say(stdout,
        "Usage: kpx-convert [-q] INPUT -o OUTPUT [--from FORMAT] [--to FORMAT] [--syllables]\n"
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
        "  --syllables      to rime: write a hyphenated key (tai5-uan5) as syllables (tai5 uan5);\n"
        "                   reading always turns a code's spaces into hyphens\n"
        "  --order ORDER    the entries in the input's order (file, default) or sorted as a\n"
        "                   table of that order (ty, py or ib)\n"
        "  --text-first     from or to tsv: text<TAB>key\n"
        "  --name NAME      to rime: the dictionary's name (default: from OUTPUT's name, else kpx)\n"
        "  --encoding utf-8 from big5: input that is in fact UTF-8 text, converted to Big5 first\n"
        "  -q, --quiet      print only problems and errors\n");
    // Import: columns, the form of keys, variants.
    kpx::tools::say(stdout, kpx::tools::kImportOptionsUsage);
    kpx::tools::say(stdout,
        "  --help           this text\n"
        "An option for a format that is neither the input's nor the output's is a usage error.\n"
        "\n"
        "A big5 input is read as the table compiler reads it (include lines followed relative\n"
        "to the current directory): every entry it would make is written once; comment lines,\n"
        "include lines and lines that make no entry are counted, not written. Words with a\n"
        "character that has no Big5 form, and keys or texts over 32 or 64 bytes in Big5, are\n"
        "not taken into a big5 output. Every such line is printed as PATH:LINE: reason on\n"
        "standard error. Exit status 1: nothing was written.\n");
    kpx::tools::say(stdout, kpx::tools::commonHelp());
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

// 0 when the arguments are good, -1 after --help, else the exit status.
int parseArguments(int argc, char **argv, Options &options)
{
    static constexpr kpx::tools::ToolOption kOptions[] = {
        { "--quiet", "-q", false },
        { "-o", nullptr, true },
        { "--from", nullptr, true },
        { "--to", nullptr, true },
        { "--syllables", nullptr, false },
        { "--order", nullptr, true },
        { "--text-first", nullptr, false },
        { "--name", nullptr, true },
        { "--encoding", nullptr, true },
        { "--key", nullptr, true },
        { "--text", nullptr, true },
        { "--keys", nullptr, true },
        { "--blanks", nullptr, true },
        { "--keep-case", nullptr, false },
        { "--no-variants", nullptr, false },
    };
    kpx::tools::ParsedOptions given;
    if (!kpx::tools::parseOptions(kTool, argc, argv, kOptions, given))
        return kExitUsage;
    if (kpx::tools::answeredHelpOrVersion(kTool, given, usage))
        return -1;
    options.quiet = given.has("--quiet");
    for (const char *side : { "--from", "--to" }) {
        if (!given.has(side))
            continue;
        const std::optional<kpx::ExchangeFormat> format = kpx::exchangeFormatFromName(given.value(side));
        if (!format)
            return kpx::tools::usageError(
                kTool, "unknown format '" + given.value(side) + "' (big5, rime, fcitx5, tsv or csv)");
        (side[2] == 'f' ? options.from : options.to) = format;
    }
    if (given.has("--order") && given.value("--order") != "file") {
        options.order = kpx::TableOrder::fromLetters(given.value("--order"));
        if (!options.order)
            return kpx::tools::usageError(kTool, "unknown order '" + given.value("--order") + "' (file, ty, py or ib)");
    }
    if (given.has("--encoding")) {
        const std::string &encoding = given.value("--encoding");
        if (encoding != "utf-8" && encoding != "UTF-8" && encoding != "utf8")
            return kpx::tools::usageError(kTool, "unknown encoding '" + encoding + "' (utf-8)");
        options.utf8Input = true;
    }
    if (given.operands.size() > 1)
        return kpx::tools::usageError(kTool, "one input at a time, not '" + given.operands[1] + "' too");
    if (given.operands.empty() || given.value("-o").empty())
        return kpx::tools::usageError(kTool, "an input file and an output file (-o) are needed");
    options.input = given.operands[0];
    options.output = given.value("-o");
    if (!options.from && options.input != "-")
        options.from = kpx::exchangeFormatFromFileName(options.input);
    if (!options.to && options.output != "-")
        options.to = kpx::exchangeFormatFromFileName(options.output);
    if (!options.from || !options.to) {
        const bool input = !options.from;
        return kpx::tools::usageError(kTool,
            "the name '" + kpx::tools::shownPath(input ? options.input : options.output)
                + "' does not say its format: give " + (input ? "--from" : "--to") + " big5|rime|fcitx5|tsv|csv");
    }
    // An option for a format the conversion does not touch would do nothing.
    using kpx::ExchangeFormat;
    const auto refuse = [&](const char *option, const char *where) {
        return kpx::tools::usageError(kTool,
            std::string(option) + " applies " + where + ", not to "
                + std::string(kpx::exchangeFormatName(*options.from)) + " to "
                + std::string(kpx::exchangeFormatName(*options.to)));
    };
    if (given.has("--syllables") && *options.to != ExchangeFormat::Rime)
        return refuse("--syllables", "to rime only");
    if (given.has("--name") && *options.to != ExchangeFormat::Rime)
        return refuse("--name", "to rime only");
    if (given.has("--text-first") && *options.from != ExchangeFormat::Tsv && *options.to != ExchangeFormat::Tsv)
        return refuse("--text-first", "from or to tsv only");
    if (given.has("--encoding") && *options.from != ExchangeFormat::Big5)
        return refuse("--encoding", "from big5 only");
    if ((given.has("--key") || given.has("--text")) && *options.from != ExchangeFormat::Csv
        && *options.from != ExchangeFormat::Tsv)
        return refuse(given.has("--key") ? "--key" : "--text", "from csv or tsv only");
    if (const int status = kpx::tools::takeImportOptions(kTool, given, options.import); status != 0)
        return status;
    options.exchange.syllables = given.has("--syllables");
    options.exchange.textFirst = given.has("--text-first");
    options.exchange.dictionaryName = given.value("--name");
    if (options.exchange.dictionaryName.empty() && options.output != "-")
        options.exchange.dictionaryName = kpx::exchangeDictionaryName(options.output);
    return 0;
}

// An empty string when written, else why not.
std::string writeAll(const std::string &path, const std::string &bytes, kpx::ExchangeFormat format)
{
    if (path == "-") {
        // A console shows the words as characters; anywhere else they go byte for byte.
        const kpx::os::StreamText kind
            = format == kpx::ExchangeFormat::Big5 ? kpx::os::StreamText::Big5 : kpx::os::StreamText::Message;
        if (!kpx::os::writeStandardStream(stdout, bytes, kind) || std::fflush(stdout) != 0)
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
        problem.file = problem.file.empty() ? inputName : kpx::tools::shownPath(problem.file);
        kpx::tools::sayf(stderr, "%s\n", kpx::exchangeProblemLine(problem).c_str());
    }
}

// big5 to big5 with key options: the data file as it is, its keys put into form.
int respellDataFile(const std::string &big5Text, const Options &options, const std::string &inputName,
    const kpx::RunInputs &inputs, std::vector<kpx::ExchangeProblem> &problems)
{
    const kpx::ImportResult respelled = kpx::respellDataText(big5Text, options.exchange.keys, inputName);
    if (respelled.outOfMemory) {
        kpx::tools::say(stderr, "kpx-convert: out of memory: nothing written\n");
        return kExitNotWritten;
    }
    problems.insert(problems.end(), respelled.problems.begin(), respelled.problems.end());
    printProblems(problems, inputName);
    kpx::tools::printImportSummary(respelled, inputName, options.quiet);
    const std::string outputName = options.output == "-" ? "standard output" : kpx::tools::shownPath(options.output);
    if (options.output != "-" && inputs.inputAt(options.output.c_str())) {
        kpx::tools::sayf(stderr, "kpx-convert: nothing written to %s: it is an input of this conversion: %s\n",
            outputName.c_str(), inputName.c_str());
        return kExitNotWritten;
    }
    const std::string failure = writeAll(options.output, respelled.big5Lines, kpx::ExchangeFormat::Big5);
    if (!failure.empty()) {
        kpx::tools::sayf(stderr, "kpx-convert: nothing written to %s: %s\n", outputName.c_str(), failure.c_str());
        return kExitNotWritten;
    }
    if (!options.quiet) {
        std::FILE *to = options.output == "-" ? stderr : stdout;
        kpx::tools::sayf(to, "%d data lines written to %s (keys kept as they were: %d; big5)\n",
            static_cast<int>(respelled.entries), outputName.c_str(), static_cast<int>(respelled.problems.size()));
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
    kpx::tools::sayf(stderr, "%s:1: no column '%s' in the header (its columns: %s): nothing written\n",
        inputName.c_str(), missing.c_str(), names.c_str());
    return kExitUsage;
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
    kpx::os::setStandardStreamsBinary();
    Options options;
    options.import.exchange = &options.exchange;
    if (const int status = parseArguments(argc, argv, options); status != 0)
        return status < 0 ? 0 : status;
    const std::string inputName
        = options.input == "-" ? kpx::tools::kStandardInputName : kpx::tools::shownPath(options.input);

    std::string input;
    std::string reason;
    if (!kpx::tools::readWholeInput(options.input, input, reason)) {
        kpx::tools::sayf(
            stderr, "kpx-convert: cannot read %s%s\n", inputName.c_str(), kpx::tools::becauseOf(reason).c_str());
        return kExitNotWritten;
    }
    // The input and, from big5, its include files: the output replaces none of them.
    kpx::RunInputs inputs;
    if (kpx::os::FileIdentity identity; options.input != "-" && kpx::os::pathIdentity(options.input.c_str(), identity))
        inputs.add(identity, options.input);

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
            kpx::tools::sayf(stderr,
                "%s:%d: the file is UTF-8 text, not Big5: nothing written (--encoding utf-8 converts it)\n",
                inputName.c_str(), static_cast<int>(check.firstUtf8Line));
            return kExitNotWritten;
        } else {
            big5Text = std::move(input);
        }
        if (options.import.keyOptionGiven && *options.to == kpx::ExchangeFormat::Big5)
            return respellDataFile(big5Text, options, inputName, inputs, problems);
    } else {
        imported = kpx::importExchangeFile(input, *options.from, options.exchange, inputName);
        if (imported.outOfMemory) {
            kpx::tools::say(stderr, "kpx-convert: out of memory: nothing written\n");
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
    // The input is the first link of the include chain, as in kpx-make.
    if (fromBig5 && options.input != "-")
        request.sourceFile = options.input;
    request.importedLines = !fromBig5;
    const kpx::ExportResult exported = kpx::exportDataText(big5Text, request);
    big5Text = std::string();
    if (exported.outOfMemory) {
        kpx::tools::say(stderr, "kpx-convert: out of memory: nothing written\n");
        return kExitNotWritten;
    }
    printProblems(problems, inputName);
    if (fromBig5) {
        const kpx::RunProblems &run = exported.compiler;
        const kpx::tools::RunFileName pathOf
            = [&](std::int32_t file) { return file == 0 ? inputName : kpx::tools::shownPath(run.files[file]); };
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

    const std::string outputName = options.output == "-" ? "standard output" : kpx::tools::shownPath(options.output);
    if (exported.tooLarge) {
        kpx::tools::sayf(
            stderr, "kpx-convert: nothing written to %s: more entries than a table can hold\n", outputName.c_str());
        return kExitNotWritten;
    }
    const std::string *replaced = options.output == "-" ? nullptr : inputs.inputAt(options.output.c_str());
    if (!replaced && options.output != "-")
        replaced = exported.inputs.inputAt(options.output.c_str());
    if (replaced) {
        kpx::tools::sayf(stderr, "kpx-convert: nothing written to %s: it is an input of this conversion: %s\n",
            outputName.c_str(), kpx::tools::shownPath(*replaced).c_str());
        return kExitNotWritten;
    }
    const std::string failure = writeAll(options.output, exported.bytes, *options.to);
    if (!failure.empty()) {
        kpx::tools::sayf(stderr, "kpx-convert: nothing written to %s: %s\n", outputName.c_str(), failure.c_str());
        return kExitNotWritten;
    }
    if (!options.quiet) {
        // The report goes where it does not mix with the words.
        std::FILE *to = options.output == "-" ? stderr : stdout;
        kpx::tools::sayf(to, "%s written to %s (%s; %s)\n", kpx::tools::countedEntries(exported.counts.entries).c_str(),
            outputName.c_str(), summary.c_str(), std::string(kpx::exchangeFormatName(*options.to)).c_str());
    }
    return kExitWritten;
}
