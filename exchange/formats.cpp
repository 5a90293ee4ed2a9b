// SPDX-License-Identifier: GPL-2.0-or-later
// The formats' names and file names, and the problems in words.
#include <cstdio>
#include <iterator>

#include "exchange/exchange.h"
#include "exchange/utf8_p.h"

namespace kpx {
namespace {

struct FormatTraits {
    ExchangeFormat format;
    std::string_view name;
    std::string_view pattern;
    std::string_view extension;
};

// The longer endings first: "words.fcitx5.txt" is fcitx5, not big5.
constexpr FormatTraits kTraits[] = {
    { ExchangeFormat::Rime, "rime", "*.dict.yaml", ".dict.yaml" },
    { ExchangeFormat::Fcitx5, "fcitx5", "*.fcitx5.txt", ".fcitx5.txt" },
    { ExchangeFormat::Tsv, "tsv", "*.tsv", ".tsv" },
    { ExchangeFormat::Csv, "csv", "*.csv", ".csv" },
    { ExchangeFormat::Big5, "big5", "*.txt", ".txt" },
};

const FormatTraits &traitsOf(ExchangeFormat format)
{
    for (const FormatTraits &traits : kTraits) {
        if (traits.format == format)
            return traits;
    }
    return kTraits[std::size(kTraits) - 1];
}

bool endsWithIgnoringCase(std::string_view text, std::string_view ending)
{
    if (text.size() < ending.size())
        return false;
    text.remove_prefix(text.size() - ending.size());
    for (std::size_t i = 0; i < ending.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != ending[i])
            return false;
    }
    return true;
}

// The name without its directories (either slash: Windows paths come through here too).
std::string_view baseName(std::string_view path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

} // namespace

std::string_view exchangeFormatName(ExchangeFormat format)
{
    return traitsOf(format).name;
}

std::optional<ExchangeFormat> exchangeFormatFromName(std::string_view name)
{
    for (const FormatTraits &traits : kTraits) {
        if (traits.name == name)
            return traits.format;
    }
    return std::nullopt;
}

std::optional<ExchangeFormat> exchangeFormatFromFileName(std::string_view path)
{
    const std::string_view name = baseName(path);
    for (const FormatTraits &traits : kTraits) {
        // A name that is nothing but the ending names no file of the format.
        if (name.size() > traits.extension.size() && endsWithIgnoringCase(name, traits.extension))
            return traits.format;
    }
    return std::nullopt;
}

std::string_view exchangeFormatPattern(ExchangeFormat format)
{
    return traitsOf(format).pattern;
}

std::string_view exchangeFormatExtension(ExchangeFormat format)
{
    return traitsOf(format).extension;
}

std::string exchangeDictionaryName(std::string_view path)
{
    std::string_view name = baseName(path);
    if (!endsWithIgnoringCase(name, ".dict.yaml"))
        return {};
    name.remove_suffix(std::string_view(".dict.yaml").size());
    return std::string(name);
}

std::string exchangeProblemText(const ExchangeProblem &problem)
{
    switch (problem.reason) {
    case ExchangeProblemReason::NoBig5Form: {
        std::string text;
        exchange_detail::appendUtf8(text, problem.character);
        char code[16];
        std::snprintf(code, sizeof code, "%04X", static_cast<unsigned>(problem.character));
        return text + " (U+" + code + ") has no Big5 form";
    }
    case ExchangeProblemReason::KeyTooLong:
        return "key longer than 32 bytes in Big5";
    case ExchangeProblemReason::TextTooLong:
        return "text longer than 64 bytes in Big5";
    case ExchangeProblemReason::EntryTooLong:
        return "key and text together longer than an entry may be (94 bytes)";
    case ExchangeProblemReason::KeyNotUsable:
        return "key empty, with a blank, or read as a comment or include line";
    case ExchangeProblemReason::TextNotUsable:
        return "text with a blank, or read as a comment";
    case ExchangeProblemReason::NoText:
        return "no text or no key";
    case ExchangeProblemReason::NotUtf8:
        return "not UTF-8 text";
    case ExchangeProblemReason::NotBig5Text:
        return "entry's bytes are not Big5 text: not exported";
    case ExchangeProblemReason::NoTab:
        return "no TAB between key and text";
    case ExchangeProblemReason::NoDataSection:
        return "no word section (RIME: a header ending in '...'; fcitx5: a '[Data]' line)";
    case ExchangeProblemReason::NoColumn:
        return "the header has no column named as --key or --text asks";
    case ExchangeProblemReason::ShortRow:
        return "the row has no key column or no text column";
    case ExchangeProblemReason::UnclosedQuote:
        return "a quoted field is not closed before the end of the file";
    }
    return "unknown problem";
}

namespace {

std::string namedCharacter(char32_t character)
{
    std::string text;
    exchange_detail::appendUtf8(text, character);
    char code[16];
    std::snprintf(code, sizeof code, "%04X", static_cast<unsigned>(character));
    return text + " (U+" + code + ")";
}

} // namespace

std::string exchangeReplacementLine(const ExchangeReplacement &replacement)
{
    return replacement.file + ":" + std::to_string(replacement.line) + ": " + namedCharacter(replacement.from) + " -> "
        + namedCharacter(replacement.to);
}

std::u16string exchangeUtf16(std::string_view utf8)
{
    std::u16string text;
    for (std::size_t at = 0; at < utf8.size();) {
        char32_t code = 0;
        const std::size_t length = exchange_detail::decodeUtf8(utf8, at, code);
        if (length == 0) {
            code = 0xFFFD;
            ++at;
        } else {
            at += length;
        }
        if (code >= 0x10000) {
            text.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
            text.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
        } else {
            text.push_back(static_cast<char16_t>(code));
        }
    }
    return text;
}

std::string_view keyChangeName(KeyChange change)
{
    switch (change) {
    case KeyChange::ToneMarks:
        return "tone marks to digits";
    case KeyChange::Letters:
        return "o͘, ⁿ, ı to letters";
    case KeyChange::Alternatives:
        return "alternatives split";
    case KeyChange::Blanks:
        return "blanks between words";
    case KeyChange::Case:
        return "lower-cased";
    case KeyChange::Respelled:
        return "respelled";
    }
    return "changed";
}

std::string exchangeProblemLine(const ExchangeProblem &problem)
{
    return problem.file + ":" + std::to_string(problem.line) + ": " + exchangeProblemText(problem);
}

} // namespace kpx
