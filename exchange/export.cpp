// SPDX-License-Identifier: GPL-2.0-or-later
// Our entries out: the compiler's entries, each once, written in another input method's format.
#include <algorithm>
#include <new>
#include <set>
#include <vector>

#include "compiler/compiled_entries.h"
#include "exchange/exchange.h"
#include "exchange/utf8_p.h"

namespace kpx {
namespace {

using exchange_detail::appendBig5AsUtf8;
using exchange_detail::appendUtf8;

std::string yamlQuoted(std::string_view text)
{
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            quoted.push_back('\\');
        quoted.push_back(c);
    }
    quoted.push_back('"');
    return quoted;
}

// The UTF-8 formats, entry by entry into one body; a header goes in front at the end.
class Writer {
public:
    Writer(const ExportRequest &request, std::size_t expectedBytes)
        : request_(request)
        , tables_(detail::big5Tables())
    {
        body_.reserve(expectedBytes);
    }

    // False when the entry is not Big5 text (nothing of it stays written).
    bool add(std::string_view key, std::string_view output)
    {
        const std::size_t mark = body_.size();
        bool ok = true;
        switch (request_.format) {
        case ExchangeFormat::Big5:
            body_.append(key);
            body_.push_back(' ');
            body_.append(output);
            body_.append("\r\n");
            return true;
        case ExchangeFormat::Rime:
            ok = appendBig5AsUtf8(body_, output, tables_);
            body_.push_back('\t');
            ok = ok && appendCode(key);
            break;
        case ExchangeFormat::Fcitx5:
            ok = appendCode(key);
            body_.push_back(' ');
            ok = ok && appendBig5AsUtf8(body_, output, tables_);
            if (ok)
                noteCodeCharacters(std::string_view(body_.data() + mark, body_.find(' ', mark) - mark));
            break;
        case ExchangeFormat::Csv:
            ok = appendCsvField(request_.options.textFirst ? output : key);
            body_.push_back(',');
            ok = ok && appendCsvField(request_.options.textFirst ? key : output);
            break;
        case ExchangeFormat::Tsv:
            if (request_.options.textFirst) {
                ok = appendBig5AsUtf8(body_, output, tables_);
                body_.push_back('\t');
                ok = ok && appendBig5AsUtf8(body_, key, tables_);
            } else {
                ok = appendBig5AsUtf8(body_, key, tables_);
                body_.push_back('\t');
                ok = ok && appendBig5AsUtf8(body_, output, tables_);
            }
            break;
        }
        if (!ok) {
            body_.resize(mark);
            return false;
        }
        body_.push_back('\n');
        return true;
    }

    std::string finish()
    {
        switch (request_.format) {
        case ExchangeFormat::Big5:
        case ExchangeFormat::Tsv:
            return std::move(body_);
        case ExchangeFormat::Rime:
            return rimeHeader() + body_;
        case ExchangeFormat::Fcitx5:
            return fcitx5Header() + body_;
        case ExchangeFormat::Csv:
            return (request_.options.textFirst ? "text,key\n" : "key,text\n") + body_;
        }
        return std::move(body_);
    }

private:
    // A key as a code: in UTF-8, and for RIME with --syllables each hyphen a space.
    bool appendCode(std::string_view key)
    {
        const std::size_t start = body_.size();
        if (!appendBig5AsUtf8(body_, key, tables_))
            return false;
        // Only hyphens between syllables: RIME drops empty syllables, so a key with a hyphen at
        // an end or two together stays one code, which RIME keeps as it is.
        const std::string_view code(body_.data() + start, body_.size() - start);
        if (request_.format == ExchangeFormat::Rime && request_.options.syllables && code.front() != '-'
            && code.back() != '-' && code.find("--") == std::string_view::npos)
            std::replace(body_.begin() + static_cast<std::ptrdiff_t>(start), body_.end(), '-', ' ');
        return true;
    }

    // A csv field in UTF-8, quoted when it holds a quote or a comma.
    bool appendCsvField(std::string_view big5)
    {
        const std::size_t start = body_.size();
        if (!appendBig5AsUtf8(body_, big5, tables_))
            return false;
        if (body_.find_first_of("\",", start) == std::string::npos)
            return true;
        std::string field = "\"";
        for (std::size_t at = start; at < body_.size(); ++at) {
            if (body_[at] == '"')
                field.push_back('"');
            field.push_back(body_[at]);
        }
        field.push_back('"');
        body_.replace(start, std::string::npos, field);
        return true;
    }

    // fcitx5: the characters a written code uses go into KeyCode, its length into Length.
    void noteCodeCharacters(std::string_view code)
    {
        std::int32_t characters = 0;
        for (std::size_t at = 0; at < code.size(); ++characters) {
            const unsigned char byte = static_cast<unsigned char>(code[at]);
            if (byte < 0x80) {
                asciiUsed_[byte] = true;
                ++at;
                continue;
            }
            char32_t character = 0;
            const std::size_t length = exchange_detail::decodeUtf8(code, at, character);
            otherUsed_.insert(character);
            at += length ? length : 1;
        }
        longestCode_ = std::max(longestCode_, characters);
    }

    std::string rimeHeader() const
    {
        std::string name = request_.options.dictionaryName.empty() ? "kpx" : request_.options.dictionaryName;
        // "# no comment" lets a word that begins with '#' through as a word.
        return "# Rime dictionary\n"
               "# encoding: utf-8\n"
               "# Exported from a data file of the 鷺笙輸入法 by kpx-convert.\n"
               "\n"
               "---\n"
               "name: "
            + yamlQuoted(name)
            + "\n"
              "version: \"1.0\"\n"
              "sort: original\n"
              "...\n"
              "# no comment\n";
    }

    std::string fcitx5Header() const
    {
        std::string keyCode;
        for (unsigned byte = 0x21; byte < 0x80; ++byte) {
            if (asciiUsed_[byte])
                keyCode.push_back(static_cast<char>(byte));
        }
        for (const char32_t character : otherUsed_)
            appendUtf8(keyCode, character);
        return "KeyCode=" + keyCode + "\nLength=" + std::to_string(std::max(longestCode_, 1)) + "\n[Data]\n";
    }

    const ExportRequest &request_;
    const detail::Big5Tables &tables_;
    std::string body_;
    bool asciiUsed_[128] = {};
    std::set<char32_t> otherUsed_;
    std::int32_t longestCode_ = 0;
};

} // namespace

namespace {

// An import's lines, each once, in their order: an open-addressing table of the lines kept
// (their offsets in the output), as there can be a million of them.
void writeDistinctLines(std::string_view lines, ExportResult &result)
{
    const std::size_t count = static_cast<std::size_t>(std::count(lines.begin(), lines.end(), '\n')) + 1;
    std::size_t slots = 16;
    while (slots < count * 2)
        slots *= 2;
    struct Slot {
        std::uint32_t hash = 0;
        std::uint32_t length = 0; // 0: empty
        std::size_t offset = 0;
    };
    std::vector<Slot> table(slots);
    std::string &out = result.bytes;
    out.reserve(lines.size());
    for (std::size_t at = 0; at < lines.size();) {
        std::size_t end = lines.find('\n', at);
        end = end == std::string_view::npos ? lines.size() : end + 1;
        const std::string_view line = lines.substr(at, end - at);
        at = end;
        std::uint32_t hash = 2166136261u;
        for (const char c : line)
            hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
        std::size_t index = hash & (slots - 1);
        bool repeated = false;
        while (table[index].length != 0) {
            const Slot &slot = table[index];
            if (slot.hash == hash && slot.length == line.size()
                && std::string_view(out).substr(slot.offset, slot.length) == line) {
                repeated = true;
                break;
            }
            index = (index + 1) & (slots - 1);
        }
        if (repeated) {
            ++result.counts.duplicates;
            continue;
        }
        table[index] = Slot { hash, static_cast<std::uint32_t>(line.size()), out.size() };
        out.append(line);
        ++result.counts.entries;
    }
}

} // namespace

ExportResult exportDataText(std::string_view big5Text, const ExportRequest &request)
{
    ExportResult result;
    try {
        if (request.importedLines && request.format == ExchangeFormat::Big5 && request.order == ExportOrder::File) {
            writeDistinctLines(big5Text, result);
            return result;
        }
        CompiledEntries entries;
        if (!request.sourceFile.empty())
            entries.setSourceFile(request.sourceFile.c_str());
        entries.feed(big5Text);
        entries.finish();
        if (request.order == ExportOrder::Compiler)
            entries.sort(request.tableOrder);
        // An entry that repeats an earlier one is written once, where its first appearance goes.
        std::vector<bool> repeat(static_cast<std::size_t>(entries.count()), false);
        for (const std::int32_t sequence : entries.repeatedSequences())
            repeat[static_cast<std::size_t>(sequence)] = true;
        result.counts.duplicates = static_cast<std::int32_t>(entries.repeatedSequences().size());
        result.outOfMemory = entries.outOfMemory();
        result.tooLarge = entries.tableFull();
        result.compiler = entries.problems();
        result.inputs = entries.inputs();
        const CompiledLineCounts &lines = entries.lineCounts();
        result.counts.commentLines = lines.commentLines;
        result.counts.includeLines = lines.includeLines;
        result.counts.linesWithoutEntry = result.compiler.linesWithoutEntry;

        // The sort lists duplicates among the problems; the export reports them as its count.
        std::erase_if(result.compiler.problems,
            [](const LineProblem &problem) { return problem.reason == LineProblemReason::Duplicate; });

        Writer writer(request, big5Text.size() + big5Text.size() / 4 + 256);
        const std::int32_t count = entries.count();
        for (std::int32_t index = 0; index < count; ++index) {
            if (repeat[static_cast<std::size_t>(entries.sequence(index))])
                continue;
            if (writer.add(entries.key(index), entries.output(index))) {
                ++result.counts.entries;
                continue;
            }
            ++result.counts.notBig5Text;
            const std::int32_t file = entries.file(index);
            result.problems.push_back(ExchangeProblem { result.compiler.files[static_cast<std::size_t>(file)],
                entries.line(index), ExchangeProblemReason::NotBig5Text });
        }
        // The text's own lines are named "" (the caller knows their name); sorted by place.
        std::stable_sort(
            result.problems.begin(), result.problems.end(), [](const ExchangeProblem &a, const ExchangeProblem &b) {
                return a.file == b.file ? a.line < b.line : a.file < b.file;
            });
        result.bytes = writer.finish();
    } catch (const std::bad_alloc &) {
        result = ExportResult {};
        result.outOfMemory = true;
    }
    return result;
}

} // namespace kpx
