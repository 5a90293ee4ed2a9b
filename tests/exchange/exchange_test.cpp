// SPDX-License-Identifier: GPL-2.0-or-later
// Words in and out: round trips through every format, export against the compiler's own
// table, import problems by line, and the UTF-8 test on real files of both encodings.
#include <algorithm>
#include <filesystem>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "compiler/data_text.h"
#include "compiler/table_compiler.h"
#include "compiler/table_reader.h"
#include "exchange/exchange.h"
#include "platform/text/big5_codec.h"
#include "platform/text/big5_tables.h"
#include "tests/compiler/test_files.h"
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using namespace kpx;

// Random data lines within the limits: keys of letters, tone digits, hyphens (doubled or at an
// end too), now and then a '#' or a Big5 character; texts of Big5 characters (private-use ones
// included) and ASCII; some entries exactly at the limits, some repeated.
class EntryMaker {
public:
    explicit EntryMaker(unsigned seed)
        : random_(seed)
    {
        const detail::Big5Tables &tables = detail::big5Tables();
        for (unsigned code = 0x8140; code <= 0xFEFE; ++code) {
            if (tables.pairUnit[code])
                big5_.push_back(static_cast<std::uint16_t>(code));
        }
    }

    std::string key(std::size_t limit)
    {
        std::string key;
        if (pick(10) == 0)
            key = "#";
        const std::size_t wanted = 1 + pick(pick(4) == 0 ? limit : 12);
        while (key.size() < wanted) {
            const unsigned kind = pick(10);
            if (kind < 6)
                key.push_back(static_cast<char>("abcdefghijklmnopqrstuvwxyzABCHT"[pick(31)]));
            else if (kind < 8)
                key.push_back(static_cast<char>('0' + pick(10)));
            else if (kind < 9)
                key.push_back('-');
            else if (key.size() + 2 <= wanted)
                appendBig5(key);
        }
        return key.substr(0, wanted);
    }

    std::string text(std::size_t limit)
    {
        std::string text;
        const std::size_t wanted = 1 + pick(pick(4) == 0 ? limit : 12);
        while (text.size() < wanted) {
            if (pick(5) == 0 && text.size() + 1 <= wanted)
                text.push_back(static_cast<char>("xyz0123456789-!?.,()#@"[pick(22)]));
            else if (text.size() + 2 <= wanted)
                appendBig5(text);
            else
                break;
        }
        return text.empty() ? std::string("x") : text;
    }

    unsigned pick(unsigned below) { return std::uniform_int_distribution<unsigned>(0, below - 1)(random_); }

private:
    void appendBig5(std::string &to)
    {
        const std::uint16_t code = big5_[pick(static_cast<unsigned>(big5_.size()))];
        to.push_back(static_cast<char>(code >> 8));
        to.push_back(static_cast<char>(code & 0xFF));
    }

    std::mt19937 random_;
    std::vector<std::uint16_t> big5_;
};

TEST(ExchangeRoundTrip, RandomEntriesComeBackUnchangedThroughEveryFormat)
{
    for (unsigned seed = 1; seed <= 6; ++seed) {
        EntryMaker maker(seed);
        std::string data;
        std::string expected;
        std::set<std::string> seen;
        for (int i = 0; i < 400; ++i) {
            std::string key = maker.key(32);
            std::string text = maker.text(64);
            if (key.size() + text.size() + 2 > 96)
                text.resize(94 - key.size() - (key.size() % 2 == 1 && text.size() % 2 == 1 ? 1 : 0));
            // Some lines twice: an entry is exported once.
            const int times = maker.pick(20) == 0 ? 2 : 1;
            for (int t = 0; t < times; ++t)
                data += key + (maker.pick(2) ? "\t" : "   ") + text + "\r\n";
            if (seen.insert(key + '\0' + text).second)
                expected += key + " " + text + "\r\n";
        }
        struct Case {
            ExchangeFormat format;
            bool syllables;
            bool textFirst;
        };
        for (const Case &c : { Case { ExchangeFormat::Big5, false, false }, Case { ExchangeFormat::Rime, false, false },
                 Case { ExchangeFormat::Rime, true, false }, Case { ExchangeFormat::Fcitx5, false, false },
                 Case { ExchangeFormat::Tsv, false, false }, Case { ExchangeFormat::Tsv, false, true },
                 Case { ExchangeFormat::Csv, false, false }, Case { ExchangeFormat::Csv, false, true } }) {
            SCOPED_TRACE(std::string(exchangeFormatName(c.format)) + (c.syllables ? " syllables" : "")
                + (c.textFirst ? " text first" : "") + " seed " + std::to_string(seed));
            ExportRequest request;
            request.format = c.format;
            request.order = ExportOrder::File;
            request.options.syllables = c.syllables;
            request.options.textFirst = c.textFirst;
            // Keys in our form come back as they went; their capitals only when asked.
            request.options.keys.keepCase = true;
            const ExportResult out = exportDataText(data, request);
            ASSERT_TRUE(out.problems.empty());
            const ImportResult back = importExchangeFile(out.bytes, c.format, request.options, "x");
            for (const ExchangeProblem &problem : back.problems)
                ADD_FAILURE() << exchangeProblemLine(problem);
            EXPECT_EQ(back.big5Lines, expected);
            EXPECT_EQ(back.entries, out.counts.entries);
        }
    }
}

// The table the compiler writes for a text, as data lines in its order, each entry once.
std::string tableAsLines(std::string_view text, TableOrder order, const std::string &tablePath)
{
    tc_begin(0);
    addDataText(text);
    tc_order_and_sort(order.digit());
    EXPECT_NE(tc_write(tablePath.c_str(), "t"), 0);
    const std::string bytes = kpxtest::readFile(tablePath);
    TableContents table;
    std::string error;
    EXPECT_TRUE(readTable(bytes, table, error)) << error;
    std::set<std::string> seen;
    std::string lines;
    for (const TableRecord &record : table.records) {
        if (seen.insert(std::string(record.key) + '\0' + std::string(record.output)).second)
            lines += std::string(record.key) + " " + std::string(record.output) + "\r\n";
    }
    return lines;
}

TEST(ExchangeExport, CompilerOrderIsTheTablesOrderAndIncludesAreFollowed)
{
    kpxtest::TempDir dir;
    fs::copy(KPX_TEST_DATA_DIR, dir.path() / "data", fs::copy_options::recursive);
    const fs::path before = fs::current_path();
    fs::current_path(dir.path() / "data");
    for (const char *name : { "big.txt", "includes.txt", "words.txt" }) {
        const std::string text = kpxtest::readFile(name);
        for (const TableOrder order :
            { TableOrder(TableOrder::Kind::Ty), TableOrder(TableOrder::Kind::Py), TableOrder(TableOrder::Kind::Ib) }) {
            SCOPED_TRACE(std::string(name) + " " + std::string(order.letters()));
            ExportRequest request;
            request.format = ExchangeFormat::Big5;
            request.tableOrder = order;
            const ExportResult out = exportDataText(text, request);
            EXPECT_EQ(out.bytes, tableAsLines(text, order, dir / "t.zd"));
            EXPECT_EQ(out.counts.entries + out.counts.duplicates, tc_count());
            EXPECT_EQ(out.counts.linesWithoutEntry, tc_problems().linesWithoutEntry);
        }
    }
    fs::current_path(before);
}

TEST(ExchangeExport, CountsWhatIsNotWrittenAndKeepsTheFilesOrder)
{
    kpxtest::TempDir dir;
    kpxtest::writeFile(dir / "inc.txt", "b2 \xa4\x41\r\n// note\r\n#x skipped\r\na1 \xa4\x40\r\n");
    const std::string text = "// list\r\nz9 \xa4\x42\r\nsolo\r\n\t#include <" + (dir / "inc.txt")
        + ">\r\nm//\r\na1 \xa4\x40\r\n#include id=abcd\r\nq \xa3\xc0\r\nkey //c\r\n";
    ExportRequest request;
    request.format = ExchangeFormat::Tsv;
    request.order = ExportOrder::File;
    const ExportResult out = exportDataText(text, request);
    EXPECT_EQ(out.bytes, "z9\t丁\nb2\t乙\na1\t一\n");
    EXPECT_EQ(out.counts.entries, 3);
    EXPECT_EQ(out.counts.duplicates, 1);
    // "// list", "m//", "key //c" in the text; the include file's "// note" is dropped unread.
    EXPECT_EQ(out.counts.commentLines, 3);
    // The include line, "id=", and the include file's '#' line.
    EXPECT_EQ(out.counts.includeLines, 3);
    EXPECT_EQ(out.counts.linesWithoutEntry, 1);
    // A3C0 is no character of code page 950.
    EXPECT_EQ(out.counts.notBig5Text, 1);
    ASSERT_EQ(out.problems.size(), 1u);
    EXPECT_EQ(out.problems[0].line, 8);
    EXPECT_EQ(out.problems[0].reason, ExchangeProblemReason::NotBig5Text);

    request.order = ExportOrder::Compiler;
    request.format = ExchangeFormat::Fcitx5;
    EXPECT_EQ(exportDataText(text, request).bytes, "KeyCode=129abz\nLength=2\n[Data]\na1 一\nb2 乙\nz9 丁\n");
}

// The maker's Big5 as the UTF-8 of a peer's file (its characters are all in the BMP).
std::string utf8(const std::string &big5)
{
    std::string out;
    for (const char16_t unit : decodeBig5(big5)) {
        if (unit < 0x80) {
            out.push_back(static_cast<char>(unit));
        } else if (unit < 0x800) {
            out.push_back(static_cast<char>(0xC0 | unit >> 6));
            out.push_back(static_cast<char>(0x80 | (unit & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | unit >> 12));
            out.push_back(static_cast<char>(0x80 | (unit >> 6 & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (unit & 0x3F)));
        }
    }
    return out;
}

TEST(ExchangeImport, ReportsExactlyTheLinesThatCannotComeIn)
{
    EntryMaker maker(7);
    std::string tsv;
    std::string expected;
    std::vector<ExchangeProblem> wanted;
    for (int line = 1; line <= 300; ++line) {
        std::string key = maker.key(12);
        std::string text = maker.text(20);
        const unsigned kind = maker.pick(12);
        std::string textUtf8 = utf8(text);
        if (kind == 0) {
            const std::string bad[] = { "\xF0\xAA\x9C\xB6", "\xF0\x9F\x98\x80", "\xE1\xB9\xB3", "\xE2\x81\xBF" };
            const char32_t codes[] = { 0x2A736, 0x1F600, 0x1E73, 0x207F };
            const unsigned which = maker.pick(4);
            textUtf8 += bad[which];
            wanted.push_back({ "w.tsv", line, ExchangeProblemReason::NoBig5Form, codes[which] });
        } else if (kind == 1) {
            key = std::string(33, 'k');
            wanted.push_back({ "w.tsv", line, ExchangeProblemReason::KeyTooLong });
        } else if (kind == 2) {
            textUtf8 = std::string(65, 't');
            wanted.push_back({ "w.tsv", line, ExchangeProblemReason::TextTooLong });
        } else if (kind == 3) {
            key = std::string(32, 'k');
            textUtf8 = std::string(63, 't');
            wanted.push_back({ "w.tsv", line, ExchangeProblemReason::EntryTooLong });
        } else if (kind == 4) {
            textUtf8 += " two";
            wanted.push_back({ "w.tsv", line, ExchangeProblemReason::TextNotUsable });
        } else {
            expected += key + " " + text + "\r\n";
        }
        tsv += utf8(key) + "\t" + textUtf8 + "\n";
    }
    ExchangeOptions keepCase;
    keepCase.keys.keepCase = true;
    const ImportResult in = importExchangeFile(tsv, ExchangeFormat::Tsv, keepCase, "w.tsv");
    EXPECT_EQ(in.big5Lines, expected);
    ASSERT_EQ(in.problems.size(), wanted.size());
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        EXPECT_EQ(in.problems[i].line, wanted[i].line);
        EXPECT_EQ(in.problems[i].reason, wanted[i].reason) << exchangeProblemLine(in.problems[i]);
        EXPECT_EQ(in.problems[i].character, wanted[i].character);
    }
    EXPECT_EQ(exchangeProblemLine({ "w.tsv", 4, ExchangeProblemReason::NoBig5Form, 0x2A736 }),
        "w.tsv:4: 𪜶 (U+2A736) has no Big5 form");
}

TEST(ExchangeImport, ReadsThePeersOwnSpellings)
{
    // Columns in another order, weights, comments, a code in syllables, a word without a code.
    const std::string rime = "# comment\n---\nname: x\ncolumns:\n  - code\n  - weight\n  - text\n...\n"
                             "# comment\ntai5 uan5\t10\t台灣\n\nabc\t1\t甲\nnocode\n";
    const ImportResult fromRime = importExchangeFile(rime, ExchangeFormat::Rime, {}, "x.dict.yaml");
    EXPECT_EQ(fromRime.big5Lines, "tai5-uan5 \xa5x\xc6W\r\nabc \xa5\xd2\r\n");
    ASSERT_EQ(fromRime.problems.size(), 1u);
    EXPECT_EQ(fromRime.problems[0].line, 13);
    EXPECT_EQ(fromRime.problems[0].reason, ExchangeProblemReason::NoText);

    const std::string fcitx5 = "KeyCode=abc\nLength=4\nPrompt=&\nConstructPhrase=^\n[Data]\n&a 日\n^ab 甲\nab 甲\n"
                               "ab  乙 \n";
    const ImportResult fromFcitx5 = importExchangeFile(fcitx5, ExchangeFormat::Fcitx5, {}, "x");
    EXPECT_EQ(fromFcitx5.big5Lines, "ab \xa5\xd2\r\nab \xa4\x41\r\n");
    EXPECT_TRUE(fromFcitx5.problems.empty());

    EXPECT_EQ(importExchangeFile("no header\n", ExchangeFormat::Rime, {}, "x").problems.at(0).reason,
        ExchangeProblemReason::NoDataSection);
}

// A csv file written by the test with every quoting RFC 4180 allows (quotes where needed and where
// not, doubled quotes, commas and line breaks inside quotes, CR LF or LF, a byte-order mark) reads
// back as the words it holds, by column name or number, with problems on the lines rows start on.
TEST(ExchangeImport, ReadsCsvAsWritten)
{
    for (unsigned seed = 1; seed <= 4; ++seed) {
        EntryMaker maker(seed);
        const std::string end = seed % 2 ? "\r\n" : "\n";
        const auto field = [&](const std::string &value) {
            if (value.find_first_of("\",\n") == std::string::npos && maker.pick(2))
                return value;
            std::string quoted = "\"";
            for (const char c : value)
                quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
            return quoted + "\"";
        };
        std::string csv = std::string(seed > 2 ? "\xEF\xBB\xBF" : "") + "id,\"Note, long\",Key,text" + end;
        std::string expected;
        std::vector<std::pair<std::int32_t, ExchangeProblemReason>> wanted;
        std::int32_t line = 2;
        for (int row = 0; row < 200; ++row) {
            std::string key;
            for (std::size_t i = 1 + maker.pick(8); i > 0; --i)
                key += static_cast<char>('a' + maker.pick(26));
            const std::string text = maker.text(20);
            // A note with the quote's troubles: quotes, commas and line breaks.
            std::string note = maker.pick(3) ? "a \"b\", c" : "line\nbreak" + end + "\"x\"";
            const std::int32_t breaks = static_cast<std::int32_t>(std::count(note.begin(), note.end(), '\n'));
            if (maker.pick(15) == 0) {
                csv += field(std::to_string(row)) + "," + field(note) + end;
                wanted.emplace_back(line, ExchangeProblemReason::ShortRow);
            } else {
                csv += field(std::to_string(row)) + "," + field(note) + "," + field(key) + "," + field(utf8(text))
                    + end;
                expected += key + " " + text + "\r\n";
            }
            line += 1 + breaks;
        }
        for (const auto &[keyColumn, textColumn] :
            { std::pair("Key", "text"), std::pair("key", "4"), std::pair("3", "TEXT") }) {
            SCOPED_TRACE(std::string(keyColumn) + " " + textColumn + " seed " + std::to_string(seed));
            ExchangeOptions options;
            options.keyColumn = keyColumn;
            options.textColumn = textColumn;
            const ImportResult in = importExchangeFile(csv, ExchangeFormat::Csv, options, "w.csv");
            EXPECT_EQ(in.big5Lines, expected);
            ASSERT_EQ(in.problems.size(), wanted.size());
            for (std::size_t i = 0; i < wanted.size(); ++i) {
                EXPECT_EQ(in.problems[i].line, wanted[i].first);
                EXPECT_EQ(in.problems[i].reason, wanted[i].second);
            }
        }
        EXPECT_EQ(
            exchangeHeader(csv, ExchangeFormat::Csv), (std::vector<std::string> { "id", "Note, long", "Key", "text" }));
    }
    // A column the header lacks, a quote left open, and a wide tsv by name and by number.
    ExchangeOptions options;
    options.keyColumn = "PojInput";
    EXPECT_EQ(importExchangeFile("a,b\nx,y\n", ExchangeFormat::Csv, options, "w").problems.at(0).reason,
        ExchangeProblemReason::NoColumn);
    const ImportResult open = importExchangeFile("a,b\nx,y\n\"u,v\n", ExchangeFormat::Csv, {}, "w");
    EXPECT_EQ(open.big5Lines, "x y\r\n");
    ASSERT_EQ(open.problems.size(), 1u);
    EXPECT_EQ(open.problems[0].line, 3);
    EXPECT_EQ(open.problems[0].reason, ExchangeProblemReason::UnclosedQuote);
    options.keyColumn = "3";
    options.textColumn = "1";
    EXPECT_EQ(
        importExchangeFile("\xE7\x94\xB2\t9\tkah\n", ExchangeFormat::Tsv, options, "w").big5Lines, "kah \xA5\xD2\r\n");
    options.keyColumn = "k";
    EXPECT_EQ(importExchangeFile("t\tw\tk\n\xE7\x94\xB2\t9\tkah\n", ExchangeFormat::Tsv, options, "w").big5Lines,
        "kah \xA5\xD2\r\n");
}

std::vector<std::string> formedKeys(std::string_view key, const KeyOptions &options = {})
{
    std::vector<std::string> keys;
    normaliseKey(key, options, keys);
    return keys;
}

// Keys as the issue's real lists give them; the changes each kind of them makes are counted.
TEST(ExchangeKeys, PutsTypistsKeysIntoForm)
{
    using Keys = std::vector<std::string>;
    EXPECT_EQ(formedKeys("kau5-sí-gín-á"), Keys { "kau5-si2-gin2-a2" });
    EXPECT_EQ(formedKeys("chhenn-hoe/chhinn-hoe"), (Keys { "chhenn-hoe", "chhinn-hoe" }));
    EXPECT_EQ(formedKeys("toa7-lang5 chhoa7  gin2-a2"), Keys { "toa7-lang5-chhoa7-gin2-a2" });
    EXPECT_EQ(formedKeys("Kut-chhùi-pò͘"), Keys { "kut-chhui3-poo3" });
    EXPECT_EQ(formedKeys("Soaⁿ-neh / sóaⁿ"), (Keys { "soann-neh", "soann2" }));
    EXPECT_EQ(formedKeys("Tsio̍h-kia̋m ı"), Keys { "tsioh8-kiam9-i" });
    EXPECT_EQ(formedKeys("khì--lâi"), Keys { "khi3--lai5" });
    EXPECT_EQ(formedKeys("a/a//"), Keys { "a" });
    EXPECT_TRUE(formedKeys("/").empty());
    KeyOptions options;
    options.dropBlanks = true;
    options.keepCase = true;
    EXPECT_EQ(formedKeys("Tâi-oân  Lâng", options), Keys { "Tai5-oan5Lang5" });
    // Respelling: each syllable's initial, medial and rime, capitals kept where they were.
    options = {};
    options.keepCase = true;
    options.spelling = KeySpelling::Tailo;
    EXPECT_EQ(formedKeys("Chhiū-lêng-chek-koa-hoe-hahⁿ", options), Keys { "Tshiu7-ling5-tsik-kua-hue-hannh" });
    options.spelling = KeySpelling::Poj;
    EXPECT_EQ(formedKeys("Tshiū-lîng-tsik-kua-hue-hannh", options), Keys { "Chhiu7-leng5-chek-koa-hoe-hannh" });

    const std::string tsv = "kau5-sí\t甲\nChhenn/chhinn\t甲\nA B\t甲\nb\t甲\n";
    const ImportResult in = importExchangeFile(tsv, ExchangeFormat::Tsv, {}, "w.tsv");
    EXPECT_EQ(
        in.big5Lines, "kau5-si2 \xA5\xD2\r\nchhenn \xA5\xD2\r\nchhinn \xA5\xD2\r\na-b \xA5\xD2\r\nb \xA5\xD2\r\n");
    EXPECT_EQ(in.words, 4);
    EXPECT_EQ(in.entries, 5);
    const int expectedChanges[kKeyChangeKinds] = { 1, 0, 1, 1, 2, 0 };
    for (int kind = 0; kind < kKeyChangeKinds; ++kind)
        EXPECT_EQ(in.keyChanges[kind], expectedChanges[kind]) << keyChangeName(static_cast<KeyChange>(kind));
    // A key whose form has no Big5 form, or is too long, is refused and named.
    const ImportResult refused = importExchangeFile(
        "a\xCC\x83\t甲\n" + std::string(20, 'a') + " " + std::string(20, 'b') + "\t甲\n", ExchangeFormat::Tsv, {}, "w");
    ASSERT_EQ(refused.problems.size(), 2u);
    EXPECT_EQ(refused.problems[0].character, 0x303u);
    EXPECT_EQ(refused.problems[1].reason, ExchangeProblemReason::KeyTooLong);
}

// A text character without a Big5 form comes in as its variant, reported where it was; without
// variants it is refused and named.
TEST(ExchangeImport, ReplacesVariantsAndSaysWhere)
{
    const std::string tsv = "ke\t鷄\nkha\t脚猪\nsui2\t媠\n";
    const ImportResult in = importExchangeFile(tsv, ExchangeFormat::Tsv, {}, "w.tsv");
    EXPECT_EQ(in.big5Lines, "ke \xC2\xFB\r\nkha \xB8}\xBD\xDE\r\n");
    ASSERT_EQ(in.replacements.size(), 3u);
    EXPECT_EQ(exchangeReplacementLine(in.replacements[2]), "w.tsv:2: 猪 (U+732A) -> 豬 (U+8C6C)");
    ASSERT_EQ(in.problems.size(), 1u);
    EXPECT_EQ(in.problems[0].character, U'媠');
    ExchangeOptions options;
    options.variants = false;
    EXPECT_EQ(importExchangeFile(tsv, ExchangeFormat::Tsv, options, "w").problems.size(), 3u);
}

// A data file's keys respelled: every other byte stays, alternatives make a line each, and a key
// that cannot be put into form (an alternative no data line can start with) keeps its line.
TEST(ExchangeKeys, RespellsADataFileKeepingEverythingElse)
{
    const std::string data = "// chh kept\r\n#include \"chh.txt\"\r\n  Chhiu7-leng5\t\xBE\xF0  // x\r\n"
                             "chhenn/chhinn \xA5\xD2\nchhiu/#include \xA5\xD2\rtsa \xA5\xD2";
    KeyOptions options;
    options.spelling = KeySpelling::Tailo;
    const ImportResult out = respellDataText(data, options, "d.txt");
    EXPECT_EQ(out.big5Lines,
        "// chh kept\r\n#include \"chh.txt\"\r\n  tshiu7-ling5\t\xBE\xF0  // x\r\n"
        "tshenn \xA5\xD2\ntshinn \xA5\xD2\n"
        "chhiu/#include \xA5\xD2\rtsa \xA5\xD2");
    ASSERT_EQ(out.problems.size(), 1u);
    EXPECT_EQ(out.problems[0].line, 5);
    EXPECT_EQ(out.problems[0].reason, ExchangeProblemReason::KeyNotUsable);
    EXPECT_EQ(out.words, 4);
}

TEST(ExchangeFormats, TheFilesNameSaysTheFormat)
{
    EXPECT_EQ(exchangeFormatFromFileName("dir.txt/Words.Dict.YAML"), ExchangeFormat::Rime);
    EXPECT_EQ(exchangeFormatFromFileName("c:\\x\\w.fcitx5.txt"), ExchangeFormat::Fcitx5);
    EXPECT_EQ(exchangeFormatFromFileName("w.tsv"), ExchangeFormat::Tsv);
    EXPECT_EQ(exchangeFormatFromFileName("ChhoeTaigi.CSV"), ExchangeFormat::Csv);
    EXPECT_EQ(exchangeFormatFromFileName("kpx-ty1.txt"), ExchangeFormat::Big5);
    EXPECT_EQ(exchangeFormatFromFileName("w.yaml"), std::nullopt);
    EXPECT_EQ(exchangeFormatFromFileName(".tsv"), std::nullopt);
    EXPECT_EQ(exchangeDictionaryName("a/b/taigi.dict.yaml"), "taigi");
}

std::vector<std::string> linesOf(const std::string &text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Real files of both kinds: the project's Big5 data files and its UTF-8 Chinese texts, and each
// Chinese line of those texts alone in either encoding.
TEST(ExchangeUtf8Check, TellsRealUtf8FilesFromRealBig5Files)
{
    for (const char *big5 : { "tests/data/big.txt", "tests/data/words.txt", "tests/data/includes.txt",
             "tests/data/worked_example.txt", "data/example-words.txt", "data/example.txt" }) {
        const Utf8Check check = checkUtf8(kpxtest::readFile(fs::path(KPX_TEST_DATA_DIR) / "../.." / big5));
        EXPECT_FALSE(check.isUtf8) << big5;
        EXPECT_GT(check.big5Lines, 0) << big5;
    }
    int lines = 0;
    int bothWays = 0;
    for (const char *utf8 : { "README.md", "workbench/handbook_text.cpp", "workbench/program_texts.cpp" }) {
        const std::string text = kpxtest::readFile(fs::path(KPX_TEST_DATA_DIR) / "../.." / utf8);
        const Utf8Check check = checkUtf8(text);
        EXPECT_TRUE(check.isUtf8) << utf8;
        EXPECT_EQ(check.big5Lines, 0) << utf8;
        for (const std::string &line : linesOf(text)) {
            std::string big5;
            ExchangeProblemReason reason;
            char32_t character;
            const bool nonAscii = std::any_of(line.begin(), line.end(), [](char c) { return c & 0x80; });
            if (!nonAscii || !utf8LineToBig5(line, big5, reason, character))
                continue;
            ++lines;
            // Alone, a line that code page 950 also decodes (鹿港 is e9 b9 bf e6 b8 af) decides nothing.
            const std::u16string asBig5 = decodeBig5(line);
            const bool big5Too = std::none_of(asBig5.begin(), asBig5.end(), [](char16_t u) { return u == 0xDB80; });
            bothWays += big5Too;
            EXPECT_EQ(checkUtf8(line).isUtf8, !big5Too) << line;
            EXPECT_FALSE(checkUtf8(big5).isUtf8) << line;
        }
    }
    EXPECT_GT(lines, 100);
    EXPECT_LT(bothWays, lines / 10);
    // Romanised words with marks are UTF-8 once a line reads only so (C5 8D "ō" is no Big5); "â"
    // is also the Big5 character C3 A2, so a line of it alone decides nothing, and the Big5
    // characters stay Big5 when they stand as words of their own.
    EXPECT_FALSE(checkUtf8("tai5-uan5 T\xc3\xa2i-o\xc3\xa2n\r\n").isUtf8);
    EXPECT_EQ(checkUtf8("tai5-uan5 T\xc3\xa2i-o\xc3\xa2n\r\nto7 t\xc5\x8d\r\n").firstUtf8Line, 2);
    EXPECT_TRUE(checkUtf8("tai5-uan5 T\xc3\xa2i-o\xc3\xa2n\r\nto7 t\xc5\x8d\r\n").isUtf8);
    EXPECT_FALSE(checkUtf8("ab \xc3\xa2\xc3\xa2\r\n").isUtf8);
    // A file with a Big5 line is not UTF-8, whatever its other lines.
    EXPECT_FALSE(checkUtf8("a \xe5\x8f\xb0\r\nb \xa5x\r\n").isUtf8);
    EXPECT_EQ(checkUtf8("x\r\na \xe5\x8f\xb0\xe7\x81\xa3\r\n").firstUtf8Line, 2);
}

// Short Big5 words whose bytes are also plausible UTF-8 (撘河 is e5 bc aa 65, "弪e"): a line that
// code page 950 decodes is never the evidence that makes a file UTF-8.
TEST(ExchangeUtf8Check, Big5LinesThatAlsoReadAsUtf8AreNoEvidenceOfUtf8)
{
    for (const char *line :
        { "ciah8 \xe5\xbc\xaa\x65", "\xe8\xa7\xbb\x6b", "\xe3\xb4\xb9\x4a", "\xe3\xa3\xbe\x52", "H\xc8\xa7" }) {
        EXPECT_FALSE(checkUtf8(line).isUtf8) << line;
        EXPECT_FALSE(checkUtf8(std::string(line) + "\r\nab cd\r\n" + line + "\r\n").isUtf8) << line;
        // Beside a line that reads only as UTF-8 the file is UTF-8, and that line is named.
        const Utf8Check mixed = checkUtf8(std::string(line) + "\r\ntai5 \xe5\x8f\xb0\r\n");
        EXPECT_TRUE(mixed.isUtf8) << line;
        EXPECT_EQ(mixed.firstUtf8Line, 2) << line;
    }

    // Files of one to three random lines of ASCII and codes that the platform's codec decodes
    // to characters: never UTF-8. Short lines are the likely ones to read as UTF-8 too.
    std::vector<std::string> characters;
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            const std::string code { static_cast<char>(lead), static_cast<char>(trail) };
            const std::u16string text = decodeBig5(code);
            if (text.size() == 1 && (text[0] < 0xD800 || text[0] > 0xDFFF))
                characters.push_back(code);
        }
    }
    ASSERT_GT(characters.size(), 19000u);
    std::mt19937 random(4);
    const auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
    int readAsUtf8Too = 0;
    for (int file = 0; file < 200000; ++file) {
        std::string text;
        for (std::size_t line = 0, lines = 1 + pick(3); line < lines; ++line) {
            std::string words = pick(2) ? "ka" : "";
            for (std::size_t at = 0, length = 1 + pick(4); at < length; ++at)
                words += pick(4) ? characters[pick(characters.size())] : std::string(1, "aZ -"[pick(4)]);
            // Valid UTF-8 as the import reads it.
            std::string big5;
            ExchangeProblemReason reason {};
            char32_t character = 0;
            const bool utf8
                = utf8LineToBig5(words, big5, reason, character) || reason != ExchangeProblemReason::NotUtf8;
            readAsUtf8Too += utf8 && std::any_of(words.begin(), words.end(), [](char c) { return c & 0x80; });
            text += words + (pick(2) ? "\r\n" : "\n");
        }
        const Utf8Check check = checkUtf8(text);
        ASSERT_FALSE(check.isUtf8) << ::testing::PrintToString(text);
        ASSERT_EQ(check.utf8Lines, 0) << ::testing::PrintToString(text);
    }
    // The case the rule is for did come up.
    EXPECT_GT(readAsUtf8Too, 100);
}

TEST(ExchangeUtf8Check, ConvertsAUtf8DataTextLineByLine)
{
    const ImportResult out
        = utf8DataTextToBig5("// 註解\r\ntai5 台\n\t#include <a.txt>\nin5 \xF0\xAA\x9C\xB6\nbad \xff\n", "d.txt");
    EXPECT_EQ(out.big5Lines, "// \xb5\xf9\xb8\xd1\r\ntai5 \xa5x\r\n\t#include <a.txt>\r\n");
    ASSERT_EQ(out.problems.size(), 2u);
    EXPECT_EQ(exchangeProblemLine(out.problems[0]), "d.txt:4: 𪜶 (U+2A736) has no Big5 form");
    EXPECT_EQ(out.problems[1].reason, ExchangeProblemReason::NotUtf8);
}

} // namespace
