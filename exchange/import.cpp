// SPDX-License-Identifier: GPL-2.0-or-later
// Other formats' words in: each word becomes a data line "key text" in Big5, or a problem.
#include <algorithm>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "compiler/compiled_entries.h"
#include "compiler/data_lines.h"
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
    Importer(ImportResult &result, std::string_view fileName, ExchangeOptions options = {})
        : result_(result)
        , fileName_(fileName)
        , tables_(detail::big5Tables())
        , options_(std::move(options))
    {
    }

    // A word read that cannot even be split into key and text.
    void countWord() { ++result_.words; }

    void problem(std::int32_t line, ExchangeProblemReason reason, char32_t character = 0)
    {
        result_.problems.push_back(ExchangeProblem { std::string(fileName_), line, reason, character });
    }

    // One word from line: key and text in UTF-8. The key is put into form first; a key with
    // alternatives makes one entry each.
    void add(std::int32_t line, std::string_view key, std::string_view text)
    {
        ++result_.words;
        if (key.empty() || text.empty()) {
            problem(line, ExchangeProblemReason::NoText);
            return;
        }
        keys_.clear();
        const KeyChangeSet changes = normaliseKey(key, options_.keys, keys_);
        if (keys_.empty()) {
            problem(line, ExchangeProblemReason::KeyNotUsable);
            return;
        }
        // The text once, in Big5, with its replacements.
        big5Text_.clear();
        replaced_.clear();
        char32_t character = 0;
        if (!appendText(big5Text_, text, character)) {
            fail(line, character);
            return;
        }
        bool taken = false;
        for (const std::string &alternative : keys_)
            taken = addEntry(line, alternative, big5Text_) || taken;
        if (!taken)
            return;
        for (int kind = 0; kind < kKeyChangeKinds; ++kind) {
            if (changes & (1u << kind))
                ++result_.keyChanges[kind];
        }
        for (const auto &[from, to] : replaced_)
            result_.replacements.push_back(ExchangeReplacement { std::string(fileName_), line, from, to });
    }

private:
    // One data line from a key in form (UTF-8) and the text (Big5); false, with the problem
    // reported, when it cannot be one.
    bool addEntry(std::int32_t line, std::string_view key, std::string_view big5Text)
    {
        std::string &out = result_.big5Lines;
        const std::size_t mark = out.size();
        char32_t character = 0;
        if (!appendUtf8AsBig5(out, key, tables_, character)) {
            out.resize(mark);
            fail(line, character);
            return false;
        }
        const std::size_t keyBytes = out.size() - mark;
        out.push_back(' ');
        out.append(big5Text);
        const std::string_view big5Key(out.data() + mark, keyBytes);
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
            return true;
        }
        out.resize(mark);
        problem(line, reason);
        return false;
    }

    // The text in Big5; a character without a Big5 form replaced by its variant when allowed.
    bool appendText(std::string &out, std::string_view utf8, char32_t &code)
    {
        for (std::size_t at = 0; at < utf8.size();) {
            const unsigned char byte = static_cast<unsigned char>(utf8[at]);
            if (byte < 0x80) {
                out.push_back(static_cast<char>(byte));
                ++at;
                continue;
            }
            const std::size_t length = exchange_detail::decodeUtf8(utf8, at, code);
            if (length == 0) {
                code = 0xFFFFFFFF;
                return false;
            }
            std::uint16_t big5 = code < 0x10000 ? tables_.codeOfUnit[code] : 0;
            if (big5 == 0 && options_.variants) {
                if (const char32_t variant = big5Variant(code)) {
                    replaced_.emplace_back(code, variant);
                    big5 = tables_.codeOfUnit[variant];
                }
            }
            if (big5 == 0)
                return false;
            exchange_detail::appendBig5Code(out, big5);
            at += length;
        }
        return true;
    }

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
    const ExchangeOptions options_;
    std::vector<std::string> keys_;
    std::string big5Text_;
    std::vector<std::pair<char32_t, char32_t>> replaced_;
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

// The records of a csv (RFC 4180: quoted fields, doubled quotes, separators and line breaks inside
// quotes) or of a tab-separated file (no quoting). onRecord(fields, line) gets each record's
// fields and the line it starts on; it returns false to stop. False when a quote is left open.
class RecordReader {
public:
    RecordReader(std::string_view bytes, char separator)
        : bytes_(bytes)
        , separator_(separator)
    {
        if (bytes_.substr(0, 3) == "\xEF\xBB\xBF")
            bytes_.remove_prefix(3);
    }

    template <typename OnRecord> bool read(OnRecord &&onRecord)
    {
        std::size_t at = 0;
        std::int32_t line = 1;
        const bool quoting = separator_ == ',';
        while (at < bytes_.size()) {
            const std::int32_t first = line;
            buffer_.clear();
            ends_.clear();
            bool more = true;
            while (more) {
                // One field.
                if (quoting && at < bytes_.size() && bytes_[at] == '"') {
                    ++at;
                    while (true) {
                        const std::size_t quote = bytes_.find('"', at);
                        if (quote == std::string_view::npos) {
                            unclosedLine_ = first;
                            return false;
                        }
                        const std::string_view piece = bytes_.substr(at, quote - at);
                        line += static_cast<std::int32_t>(std::count(piece.begin(), piece.end(), '\n'));
                        buffer_.append(piece);
                        at = quote + 1;
                        if (at < bytes_.size() && bytes_[at] == '"') {
                            buffer_.push_back('"');
                            ++at;
                            continue;
                        }
                        break;
                    }
                }
                // Unquoted bytes (or what follows a closing quote) up to the field's end.
                std::size_t end = at;
                while (end < bytes_.size() && bytes_[end] != separator_ && bytes_[end] != '\n')
                    ++end;
                std::string_view rest = bytes_.substr(at, end - at);
                if (end == bytes_.size() || bytes_[end] == '\n') {
                    if (!rest.empty() && rest.back() == '\r')
                        rest.remove_suffix(1);
                    more = false;
                }
                buffer_.append(rest);
                ends_.push_back(buffer_.size());
                at = end + 1;
            }
            if (at - 1 < bytes_.size() && bytes_[at - 1] == '\n')
                ++line;
            // A blank line is no record.
            if (ends_.size() == 1 && ends_[0] == 0)
                continue;
            fields_.clear();
            std::size_t start = 0;
            for (const std::size_t end : ends_) {
                fields_.emplace_back(buffer_.data() + start, end - start);
                start = end;
            }
            if (!onRecord(fields_, first))
                return true;
        }
        return true;
    }

    std::int32_t unclosedLine() const { return unclosedLine_; }

private:
    std::string_view bytes_;
    char separator_;
    std::string buffer_;
    std::vector<std::size_t> ends_;
    std::vector<std::string_view> fields_;
    std::int32_t unclosedLine_ = 0;
};

bool allDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool sameIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return (x >= 'A' && x <= 'Z' ? x - 'A' + 'a' : x) == (y >= 'A' && y <= 'Z' ? y - 'A' + 'a' : y);
    });
}

// A column chosen by number (from 1) or header name (exact, else ignoring case); -1 when none.
int columnIndex(std::string_view choice, const std::vector<std::string_view> &header)
{
    if (allDigits(choice)) {
        const int number = choice.size() > 6 ? 0 : std::stoi(std::string(choice));
        return number >= 1 ? number - 1 : -1;
    }
    for (std::size_t i = 0; i < header.size(); ++i) {
        if (header[i] == choice)
            return static_cast<int>(i);
    }
    for (std::size_t i = 0; i < header.size(); ++i) {
        if (sameIgnoringCase(header[i], choice))
            return static_cast<int>(i);
    }
    return -1;
}

std::string_view trimmedField(std::string_view field)
{
    while (!field.empty() && (field.front() == ' ' || field.front() == '\t'))
        field.remove_prefix(1);
    while (!field.empty() && (field.back() == ' ' || field.back() == '\t'))
        field.remove_suffix(1);
    return field;
}

// A csv file, or a tsv file with chosen columns: a header row (csv always; tsv when a column is
// chosen by name), then one word per row.
void importColumns(std::string_view bytes, char separator, const ExchangeOptions &options, Importer &importer)
{
    const std::string keyChoice = options.keyColumn.empty() ? (options.textFirst ? "2" : "1") : options.keyColumn;
    const std::string textChoice = options.textColumn.empty() ? (options.textFirst ? "1" : "2") : options.textColumn;
    bool header = separator == ',' || options.headerRow || !allDigits(keyChoice) || !allDigits(textChoice);
    int keyColumn = header ? -1 : columnIndex(keyChoice, {});
    int textColumn = header ? -1 : columnIndex(textChoice, {});
    if (!header && (keyColumn < 0 || textColumn < 0)) {
        importer.problem(1, ExchangeProblemReason::NoColumn);
        return;
    }
    RecordReader reader(bytes, separator);
    const bool closed = reader.read([&](const std::vector<std::string_view> &fields, std::int32_t line) {
        if (header) {
            header = false;
            keyColumn = columnIndex(keyChoice, fields);
            textColumn = columnIndex(textChoice, fields);
            if (keyColumn < 0 || textColumn < 0
                || static_cast<std::size_t>(std::max(keyColumn, textColumn)) >= fields.size()) {
                importer.problem(line, ExchangeProblemReason::NoColumn);
                return false;
            }
            return true;
        }
        if (static_cast<std::size_t>(std::max(keyColumn, textColumn)) >= fields.size()) {
            importer.countWord();
            importer.problem(line, ExchangeProblemReason::ShortRow);
            return true;
        }
        importer.add(line, trimmedField(fields[keyColumn]), trimmedField(fields[textColumn]));
        return true;
    });
    if (!closed)
        importer.problem(reader.unclosedLine(), ExchangeProblemReason::UnclosedQuote);
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
    result.words = count;
}

void convertLines(std::string_view utf8Text, std::string_view fileName, ImportResult &result);
void respellLines(
    std::string_view big5Text, const KeyOptions &options, std::string_view fileName, ImportResult &result);

} // namespace

ImportResult importExchangeFile(
    std::string_view bytes, ExchangeFormat format, const ExchangeOptions &options, std::string_view fileName)
{
    ImportResult result;
    try {
        result.big5Lines.reserve(bytes.size());
        Importer importer(result, fileName, options);
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
            if (options.keyColumn.empty() && options.textColumn.empty())
                importTsv(bytes, options, importer);
            else
                importColumns(bytes, '\t', options, importer);
            break;
        case ExchangeFormat::Csv:
            importColumns(bytes, ',', options, importer);
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

std::vector<std::string> exchangeHeader(std::string_view bytes, ExchangeFormat format)
{
    std::vector<std::string> names;
    if (format != ExchangeFormat::Csv && format != ExchangeFormat::Tsv)
        return names;
    RecordReader reader(bytes, format == ExchangeFormat::Csv ? ',' : '\t');
    reader.read([&](const std::vector<std::string_view> &fields, std::int32_t) {
        for (const std::string_view field : fields)
            names.emplace_back(trimmedField(field));
        return false;
    });
    return names;
}

ImportResult respellDataText(std::string_view big5Text, const KeyOptions &options, std::string_view fileName)
{
    ImportResult result;
    try {
        respellLines(big5Text, options, fileName, result);
    } catch (const std::bad_alloc &) {
        result = ImportResult {};
        result.outOfMemory = true;
    }
    return result;
}

namespace {

void respellLines(std::string_view big5Text, const KeyOptions &options, std::string_view fileName, ImportResult &result)
{
    std::string &out = result.big5Lines;
    out.reserve(big5Text.size() + big5Text.size() / 8);
    const detail::Big5Tables &tables = detail::big5Tables();
    std::string utf8Key;
    std::vector<std::string> keys;
    std::string big5Keys;
    std::vector<std::size_t> keyEnds;
    std::int32_t number = 0;
    std::size_t at = 0;
    while (at < big5Text.size()) {
        // One line with its own line break, which goes out as it came.
        std::size_t end = big5Text.find_first_of("\r\n", at);
        std::size_t next = end;
        if (end == std::string_view::npos) {
            end = next = big5Text.size();
        } else {
            next = end + 1;
            if (big5Text[end] == '\r' && next < big5Text.size() && big5Text[next] == '\n')
                ++next;
        }
        ++number;
        const std::string_view line = big5Text.substr(at, end - at);
        const std::string_view lineBreak = big5Text.substr(end, next - end);
        at = next;
        std::size_t keyAt = 0;
        std::size_t keyLength = 0;
        if (!dataLineKey(line, keyAt, keyLength)) {
            out.append(line);
            out.append(lineBreak);
            continue;
        }
        ++result.words;
        const std::string_view key = line.substr(keyAt, keyLength);
        const std::string_view before = line.substr(0, keyAt);
        const std::string_view after = line.substr(keyAt + keyLength);
        // The key in form, each alternative in Big5; the line stays as it was when any cannot be.
        utf8Key.clear();
        keys.clear();
        big5Keys.clear();
        keyEnds.clear();
        bool ok = exchange_detail::appendBig5AsUtf8(utf8Key, key, tables);
        const KeyChangeSet changes = ok ? normaliseKey(utf8Key, options, keys) : 0;
        ExchangeProblem problem { std::string(fileName), number, ExchangeProblemReason::KeyNotUsable };
        ok = ok && !keys.empty();
        for (const std::string &formed : keys) {
            const std::size_t mark = big5Keys.size();
            char32_t character = 0;
            if (!exchange_detail::appendUtf8AsBig5(big5Keys, formed, tables, character)) {
                problem.reason = ExchangeProblemReason::NoBig5Form;
                problem.character = character;
                ok = false;
                break;
            }
            const std::string_view big5Key(big5Keys.data() + mark, big5Keys.size() - mark);
            if (!usableKey(big5Key) || big5Key.size() > kMaxKey) {
                problem.reason
                    = usableKey(big5Key) ? ExchangeProblemReason::KeyTooLong : ExchangeProblemReason::KeyNotUsable;
                ok = false;
                break;
            }
            keyEnds.push_back(big5Keys.size());
        }
        if (!ok) {
            result.problems.push_back(problem);
            out.append(line);
            out.append(lineBreak);
            ++result.entries;
            continue;
        }
        for (int kind = 0; kind < kKeyChangeKinds; ++kind) {
            if (changes & (1u << kind))
                ++result.keyChanges[kind];
        }
        std::size_t start = 0;
        for (const std::size_t keyEnd : keyEnds) {
            out.append(before);
            out.append(big5Keys, start, keyEnd - start);
            out.append(after);
            // A last line without a line break gets the file's own between its alternatives.
            out.append(lineBreak.empty() && keyEnd != keyEnds.back() ? std::string_view("\r\n") : lineBreak);
            start = keyEnd;
            ++result.entries;
        }
    }
}

} // namespace
} // namespace kpx
