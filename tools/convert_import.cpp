// SPDX-License-Identifier: GPL-2.0-or-later
// kpx-convert's import options and summary.
#include "tools/convert_import.h"

#include <cstring>
#include <map>

#include "platform/native_path.h"

namespace kpx::tools {

const char *const kImportOptionsUsage
    = "  --key COLUMN     csv, wider tsv: the key column, a header name or a number from 1\n"
      "  --text COLUMN    csv, wider tsv: the text column (default: columns 1 and 2); a csv\n"
      "                   file starts with a header row, a tsv file when a column is a name\n"
      "  --keys poj|tailo respell keys into Pe\xCC\x8Dh-\xC5\x8D"
      "e-j\xC4\xAB or T\xC3\xA2i-l\xC3\xB4 (also big5 to big5: a data\n"
      "                   file's keys respelled, every other byte kept)\n"
      "  --blanks drop    drop the blanks between the words of a key (default: hyphens)\n"
      "  --keep-case      keep capital letters in keys (default: lower-cased)\n"
      "  --no-variants    no Unihan variant for a text character without a Big5 form\n"
      "On import, keys are put into the numeric-tone form of a data file: tone marks become\n"
      "digits at the end of the syllable, o\xCD\x98 oo, \xE2\x81\xBF nn; 'a/b' makes one entry each.\n";

int takeImportOptions(const char *tool, const ParsedOptions &given, ImportChoices &choices)
{
    ExchangeOptions &exchange = *choices.exchange;
    exchange.keys.keepCase = given.has("--keep-case");
    exchange.variants = !given.has("--no-variants");
    for (const char *column : { "--key", "--text" }) {
        if (!given.has(column))
            continue;
        if (given.value(column).empty())
            return usageError(tool, std::string(column) + " needs a column name or number");
        (std::strcmp(column, "--key") == 0 ? exchange.keyColumn : exchange.textColumn) = given.value(column);
    }
    if (given.has("--keys")) {
        const std::string &value = given.value("--keys");
        if (value == "poj")
            exchange.keys.spelling = KeySpelling::Poj;
        else if (value == "tailo")
            exchange.keys.spelling = KeySpelling::Tailo;
        else
            return usageError(tool, "unknown spelling '" + value + "' (poj or tailo)");
    }
    if (given.has("--blanks")) {
        const std::string &value = given.value("--blanks");
        if (value != "drop" && value != "hyphen")
            return usageError(tool, "unknown --blanks '" + value + "' (drop or hyphen)");
        exchange.keys.dropBlanks = value == "drop";
    }
    choices.keyOptionGiven = given.has("--keys") || given.has("--blanks") || given.has("--keep-case");
    return 0;
}

void printImportSummary(const ImportResult &result, const std::string &inputName, bool quiet)
{
    if (quiet)
        return;
    for (ExchangeReplacement replacement : result.replacements) {
        replacement.file = replacement.file.empty() ? inputName : os::nativePath(replacement.file);
        sayf(stderr, "%s\n", exchangeReplacementLine(replacement).c_str());
    }
    std::string changes;
    for (int kind = 0; kind < kKeyChangeKinds; ++kind) {
        if (result.keyChanges[kind] == 0)
            continue;
        changes += (changes.empty() ? "" : ", ") + std::string(keyChangeName(static_cast<KeyChange>(kind))) + " "
            + std::to_string(result.keyChanges[kind]);
    }
    std::map<std::string, int> reasons;
    for (const ExchangeProblem &problem : result.problems) {
        ExchangeProblem kind = problem;
        kind.character = 0; // counted together, whatever the character
        const std::string text = problem.reason == ExchangeProblemReason::NoBig5Form ? "a character without a Big5 form"
                                                                                     : exchangeProblemText(kind);
        ++reasons[text];
    }
    std::string refused;
    for (const auto &[reason, count] : reasons)
        refused += (refused.empty() ? "" : "; ") + reason + ": " + std::to_string(count);
    sayf(stderr,
        "%s: words read: %d; entries made: %d; keys changed: %s; characters replaced: %d; words refused: %d%s%s%s\n",
        inputName.c_str(), static_cast<int>(result.words), static_cast<int>(result.entries),
        changes.empty() ? "none" : changes.c_str(), static_cast<int>(result.replacements.size()),
        static_cast<int>(result.problems.size()), refused.empty() ? "" : " (", refused.c_str(),
        refused.empty() ? "" : ")");
    const std::size_t shown = std::min<std::size_t>(result.problems.size(), 5);
    for (std::size_t i = 0; i < shown; ++i) {
        ExchangeProblem problem = result.problems[i];
        problem.file = problem.file.empty() ? inputName : os::nativePath(problem.file);
        sayf(stderr, "  refused: %s\n", exchangeProblemLine(problem).c_str());
    }
}

} // namespace kpx::tools
