// SPDX-License-Identifier: GPL-2.0-or-later
// Other formats' words in: each word becomes a data line "key text" in Big5, or a problem.
#include <cstring>
#include <new>

#include "compiler/compiled_entries.h"
#include "exchange/exchange.h"
#include "exchange/utf8_p.h"

namespace kpx {
namespace {

using exchange_detail::appendUtf8AsBig5;

constexpr std::size_t kMaxKey = 32;
constexpr std::size_t kMaxText = 64;
constexpr std::size_t kMaxBlock = 96; // key, zero, text, zero

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (isBlank(text.front()) || text.front() == '\r'))
        text.remove_prefix(1);
    while (!text.empty() && (isBlank(text.back()) || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

// Calls onLine(line, number) for every line of text: LF ends a line, a CR before it is dropped.
template <typename OnLine> void forEachLine(std::string_view text, OnLine &&onLine)
{
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    std::int32_t number = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!onLine(line, ++number))
            return;
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
}

// A blank separates columns, a CR or LF ends a data line and a zero byte the whole text.
constexpr std::string_view kNotInAWord(" \t\r\n\0", 5);

// A key a data line can start with: no blank, no comment or include form.
bool usableKey(std::string_view key)
{
    if (key.empty() || key.find_first_of(kNotInAWord) != std::string_view::npos)
        return false;
    if (key.substr(0, 2) == "//" || key == "/" || key.substr(0, 8) == "#include")
        return false;
    return !(key.size() >= 2 && key.substr(key.size() - 2) == "//");
}

bool usableText(std::string_view text)
{
    return !text.empty() && text.find_first_of(kNotInAWord) == std::string_view::npos && text.substr(0, 2) != "//";
}

class Importer {
public:
    Importer(ImportResult &result, std::string_view fileName)
        : result_(result)
        , fileName_(fileName)
        , tables_(detail::big5Tables())
    {
    }

    void problem(std::int32_t line, ExchangeProblemReason reason, char32_t character = 0)
    {
        result_.problems.push_back(ExchangeProblem { std::string(fileName_), line, reason, character });
    }

    // One word from line: key and text in UTF-8.
    void add(std::int32_t line, std::string_view key, std::string_view text)
    {
        if (key.empty() || text.empty()) {
            problem(line, ExchangeProblemReason::NoText);
            return;
        }
        std::string &out = result_.big5Lines;
        const std::size_t mark = out.size();
        char32_t character = 0;
        if (!appendUtf8AsBig5(out, key, tables_, character)) {
            out.resize(mark);
            fail(line, character);
            return;
        }
        const std::size_t keyBytes = out.size() - mark;
        out.push_back(' ');
        if (!appendUtf8AsBig5(out, text, tables_, character)) {
            out.resize(mark);
            fail(line, character);
            return;
        }
        const std::string_view big5Key(out.data() + mark, keyBytes);
        const std::string_view big5Text(out.data() + mark + keyBytes + 1, out.size() - mark - keyBytes - 1);
        ExchangeProblemReason reason;
        if (!usableKey(big5Key))
            reason = ExchangeProblemReason::KeyNotUsable;
        else if (!usableText(big5Text))
            reason = ExchangeProblemReason::TextNotUsable;
        else if (big5Key.size() > kMaxKey)
            reason = ExchangeProblemReason::KeyTooLong;
        else if (big5Text.size() > kMaxText)
            reason = ExchangeProblemReason::TextTooLong;
        else if (big5Key.size() + big5Text.size() + 2 > kMaxBlock)
            reason = ExchangeProblemReason::EntryTooLong;
        else {
            out.append("\r\n");
            ++result_.entries;
            return;
        }
        out.resize(mark);
        problem(line, reason);
    }

private:
    void fail(std::int32_t line, char32_t character)
    {
        if (character == 0xFFFFFFFF)
            problem(line, ExchangeProblemReason::NotUtf8);
        else
            problem(line, ExchangeProblemReason::NoBig5Form, character);
    }

    ImportResult &result_;
    std::string_view fileName_;
    const detail::Big5Tables &tables_;
};

// Reading turns a code's spaces into hyphens: "tai5 uan5" is tai5-uan5.
std::string keyOfCode(std::string_view code)
{
    std::string key(code);
    for (char &c : key) {
        if (c == ' ')
            c = '-';
    }
    return key;
}

void importRime(std::string_view bytes, Importer &importer)
{
    bool inBody = false;
    bool comments = true;
    bool inColumns = false;
    // Column positions: text, code (the RIME default order unless the header says otherwise).
    int textColumn = 0;
    int codeColumn = 1;
    int columnsSeen = 0;
    forEachLine(bytes, [&](std::string_view line, std::int32_t number) {
        if (!inBody) {
            const std::string_view item = trimmed(line);
            if (item == "...") {
                inBody = true;
                return true;
            }
            // "columns:" as a block list or a flow list.
            if (inColumns && item.substr(0, 1) == "-") {
                const std::string_view name = trimmed(item.substr(1));
                if (name == "text")
                    textColumn = columnsSeen;
                else if (name == "code")
                    codeColumn = columnsSeen;
                ++columnsSeen;
                return true;
            }
            inColumns = false;
            if (item.substr(0, 8) == "columns:") {
                std::string_view rest = trimmed(item.substr(8));
                if (rest.empty()) {
                    inColumns = true;
                    textColumn = codeColumn = -1;
                    return true;
                }
                if (rest.front() == '[' && rest.back() == ']') {
                    rest = rest.substr(1, rest.size() - 2);
                    int column = 0;
                    textColumn = codeColumn = -1;
                    while (!rest.empty()) {
                        const std::size_t comma = rest.find(',');
                        const std::string_view name = trimmed(rest.substr(0, comma));
                        if (name == "text")
                            textColumn = column;
                        else if (name == "code")
                            codeColumn = column;
                        ++column;
                        if (comma == std::string_view::npos)
                            break;
                        rest.remove_prefix(comma + 1);
                    }
                }
            }
            return true;
        }
        if (comments && line.substr(0, 12) == "# no comment") {
            comments = false;
            return true;
        }
        if (line.empty() || (comments && line.front() == '#'))
            return true;
        std::string_view fields[8];
        int count = 0;
        std::string_view rest = line;
        while (count < 8) {
            const std::size_t tab = rest.find('\t');
            fields[count++] = rest.substr(0, tab);
            if (tab == std::string_view::npos)
                break;
            rest.remove_prefix(tab + 1);
        }
        if (textColumn < 0 || codeColumn < 0 || textColumn >= count || codeColumn >= count) {
            importer.problem(number, ExchangeProblemReason::NoText);
            return true;
        }
        importer.add(number, keyOfCode(fields[codeColumn]), fields[textColumn]);
        return true;
    });
    if (!inBody)
        importer.problem(0, ExchangeProblemReason::NoDataSection);
}

void importFcitx5(std::string_view bytes, Importer &importer)
{
    bool inData = false;
    char prompt = 0;
    char constructPhrase = 0;
    char pinyin = 0;
    forEachLine(bytes, [&](std::string_view line, std::int32_t number) {
        if (!inData) {
            const std::string_view item = trimmed(line);
            if (item == "[Data]")
                inData = true;
            else if (item.substr(0, 7) == "Prompt=" && item.size() > 7)
                prompt = item[7];
            else if (item.substr(0, 16) == "ConstructPhrase=" && item.size() > 16)
                constructPhrase = item[16];
            else if (item.substr(0, 7) == "Pinyin=" && item.size() > 7)
                pinyin = item[7];
            return true;
        }
        const std::string_view item = trimmed(line);
        if (item.empty())
            return true;
        // Prompts and phrase-construction codes are no words.
        if ((prompt && item.front() == prompt) || (constructPhrase && item.front() == constructPhrase))
            return true;
        std::string_view code = item;
        if (pinyin && code.front() == pinyin)
            code.remove_prefix(1);
        const std::size_t blank = code.find_first_of(" \t");
        if (blank == std::string_view::npos) {
            importer.problem(number, ExchangeProblemReason::NoText);
            return true;
        }
        importer.add(number, code.substr(0, blank), trimmed(code.substr(blank)));
        return true;
    });
    if (!inData)
        importer.problem(0, ExchangeProblemReason::NoDataSection);
}

void importTsv(std::string_view bytes, const ExchangeOptions &options, Importer &importer)
{
    forEachLine(bytes, [&](std::string_view line, std::int32_t number) {
        std::size_t split = line.find('\t');
        // A line without a tab that begins with '#' is a comment; our keys never hold a tab.
        if (split == std::string_view::npos) {
            const std::string_view item = trimmed(line);
            if (item.empty() || item.front() == '#')
                return true;
            split = item.find(' ');
            if (split == std::string_view::npos) {
                importer.problem(number, ExchangeProblemReason::NoTab);
                return true;
            }
            line = item;
        }
        std::string_view first = line.substr(0, split);
        std::string_view second = line.substr(split + 1);
        // Further columns (a weight, say) are not ours.
        second = second.substr(0, second.find('\t'));
        if (split < line.size() && line[split] == ' ')
            second = trimmed(second);
        if (options.textFirst)
            std::swap(first, second);
        importer.add(number, first, second);
        return true;
    });
}

void importBig5(std::string_view bytes, ImportResult &result)
{
    CompiledEntries entries;
    entries.feed(bytes);
    entries.finish();
    const std::int32_t count = entries.count();
    for (std::int32_t index = 0; index < count; ++index) {
        result.big5Lines.append(entries.key(index));
        result.big5Lines.push_back(' ');
        result.big5Lines.append(entries.output(index));
        result.big5Lines.append("\r\n");
    }
    result.entries = count;
}

void convertLines(std::string_view utf8Text, std::string_view fileName, ImportResult &result);

} // namespace

ImportResult importExchangeFile(
    std::string_view bytes, ExchangeFormat format, const ExchangeOptions &options, std::string_view fileName)
{
    ImportResult result;
    try {
        result.big5Lines.reserve(bytes.size());
        Importer importer(result, fileName);
        switch (format) {
        case ExchangeFormat::Big5:
            importBig5(bytes, result);
            break;
        case ExchangeFormat::Rime:
            importRime(bytes, importer);
            break;
        case ExchangeFormat::Fcitx5:
            importFcitx5(bytes, importer);
            break;
        case ExchangeFormat::Tsv:
            importTsv(bytes, options, importer);
            break;
        }
    } catch (const std::bad_alloc &) {
        result = ImportResult {};
        result.outOfMemory = true;
    }
    return result;
}

bool utf8LineToBig5(std::string_view line, std::string &big5, ExchangeProblemReason &reason, char32_t &character)
{
    if (appendUtf8AsBig5(big5, line, detail::big5Tables(), character))
        return true;
    reason = character == 0xFFFFFFFF ? ExchangeProblemReason::NotUtf8 : ExchangeProblemReason::NoBig5Form;
    return false;
}

ImportResult utf8DataTextToBig5(std::string_view utf8Text, std::string_view fileName)
{
    ImportResult result;
    try {
        convertLines(utf8Text, fileName, result);
    } catch (const std::bad_alloc &) {
        result = ImportResult {};
        result.outOfMemory = true;
    }
    return result;
}

namespace {

void convertLines(std::string_view utf8Text, std::string_view fileName, ImportResult &result)
{
    result.big5Lines.reserve(utf8Text.size());
    const detail::Big5Tables &tables = detail::big5Tables();
    Importer importer(result, fileName);
    forEachLine(utf8Text, [&](std::string_view line, std::int32_t number) {
        const std::size_t mark = result.big5Lines.size();
        char32_t character = 0;
        if (exchange_detail::appendUtf8AsBig5(result.big5Lines, line, tables, character)) {
            result.big5Lines.append("\r\n");
            ++result.entries;
        } else {
            result.big5Lines.resize(mark);
            if (character == 0xFFFFFFFF)
                importer.problem(number, ExchangeProblemReason::NotUtf8);
            else
                importer.problem(number, ExchangeProblemReason::NoBig5Form, character);
        }
        return true;
    });
}

} // namespace
} // namespace kpx
