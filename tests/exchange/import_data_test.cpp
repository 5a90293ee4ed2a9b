// SPDX-License-Identifier: GPL-2.0-or-later
// Import against real data: the public ChhoeTaigi word lists beside the repository (their tone
// marks, respellings and characters) and the Unihan database the variants table is made from.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <QString>

#include "exchange/exchange.h"
#include "exchange/unihan_variants_p.h"
#include <gtest/gtest.h>

namespace {

using namespace kpx;

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return in ? bytes.str() : std::string();
}

// A reading of RFC 4180 of the test's own: the rows as maps from the header's names.
std::vector<std::map<std::string, std::string>> csvRows(std::string text)
{
    if (text.rfind("\xEF\xBB\xBF", 0) == 0)
        text.erase(0, 3);
    std::vector<std::vector<std::string>> records(1, std::vector<std::string>(1));
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        std::string &field = records.back().back();
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"')
                field += text[++i];
            else if (c == '"')
                quoted = false;
            else
                field += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            records.back().emplace_back();
        } else if (c == '\n') {
            records.emplace_back(1);
        } else if (c != '\r') {
            field += c;
        }
    }
    std::vector<std::map<std::string, std::string>> rows;
    for (std::size_t r = 1; r < records.size(); ++r) {
        if (records[r].size() < records[0].size())
            continue;
        std::map<std::string, std::string> row;
        for (std::size_t c = 0; c < records[0].size(); ++c)
            row[records[0][c]] = records[r][c];
        rows.push_back(row);
    }
    return rows;
}

const std::string kDataDir = KPX_CHHOETAIGI_DIR;
const char *const kFiles[] = { "ChhoeTaigi_TaioanSitbutMialui.csv", "ChhoeTaigi_TaioanPehoeKichhooGiku.csv" };

std::vector<std::string> formed(const std::string &key, KeySpelling spelling = KeySpelling::AsGiven)
{
    KeyOptions options;
    options.spelling = spelling;
    std::vector<std::string> keys;
    normaliseKey(key, options, keys);
    return keys;
}

// How often two columns agree once put into form, with a few disagreements shown.
double agreement(const std::vector<std::map<std::string, std::string>> &rows, const std::string &from,
    const std::string &to, KeySpelling spelling, const std::string &what)
{
    int same = 0;
    int shown = 0;
    for (const auto &row : rows) {
        const std::vector<std::string> a = formed(row.at(from), spelling);
        const std::vector<std::string> b = formed(row.at(to));
        if (a == b) {
            ++same;
        } else if (shown++ < 8) {
            std::cout << "  " << what << ": " << row.at(from) << " -> " << (a.empty() ? "" : a[0]) << " | "
                      << row.at(to) << '\n';
        }
    }
    const double share = rows.empty() ? 0 : static_cast<double>(same) / static_cast<double>(rows.size());
    std::cout << what << ": " << same << " of " << rows.size() << " rows agree (" << share * 100 << "%)\n";
    return share;
}

class ChhoeTaigi : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char *name : kFiles) {
            const std::string bytes = readFile(kDataDir + "/" + name);
            if (bytes.empty())
                GTEST_SKIP() << "no ChhoeTaigi data at " << kDataDir << " (../shared/data/chhoetaigi)";
            files_.push_back({ name, bytes, csvRows(bytes) });
        }
    }

    struct File {
        std::string name;
        std::string bytes;
        std::vector<std::map<std::string, std::string>> rows;
    };
    std::vector<File> files_;
};

TEST_F(ChhoeTaigi, ToneMarksBecomeTheInputFormsDigits)
{
    for (const File &file : files_) {
        SCOPED_TRACE(file.name);
        ASSERT_GT(file.rows.size(), 1000u);
        EXPECT_GE(agreement(file.rows, "PojUnicode", "PojInput", KeySpelling::AsGiven, file.name + " POJ"), 0.99);
        EXPECT_GE(agreement(file.rows, "KipUnicode", "KipInput", KeySpelling::AsGiven, file.name + " KIP"), 0.99);
        // Decomposed marks (as Qt's NFD writes them) make the same keys as composed ones.
        for (const auto &row : file.rows) {
            for (const char *column : { "PojUnicode", "KipUnicode" }) {
                const std::string composed
                    = QString::fromStdString(row.at(column)).normalized(QString::NormalizationForm_C).toStdString();
                const std::string decomposed
                    = QString::fromStdString(row.at(column)).normalized(QString::NormalizationForm_D).toStdString();
                EXPECT_EQ(formed(composed), formed(decomposed)) << composed;
            }
        }
    }
}

TEST_F(ChhoeTaigi, RespellingBetweenPojAndTailoGivesTheOtherColumn)
{
    for (const File &file : files_) {
        SCOPED_TRACE(file.name);
        EXPECT_GE(agreement(file.rows, "KipInput", "PojInput", KeySpelling::Poj, file.name + " KIP->POJ"), 0.99);
        EXPECT_GE(agreement(file.rows, "PojInput", "KipInput", KeySpelling::Tailo, file.name + " POJ->KIP"), 0.99);
    }
}

TEST_F(ChhoeTaigi, ImportTakesTheWordsAndNamesEveryOneLeftOut)
{
    const File &file = files_.at(0);
    ExchangeOptions options;
    options.keyColumn = "PojInput";
    options.textColumn = "HanLoTaibunPoj";
    const ImportResult in = importExchangeFile(file.bytes, ExchangeFormat::Csv, options, file.name);
    ASSERT_FALSE(in.outOfMemory);
    EXPECT_EQ(in.words, static_cast<std::int32_t>(file.rows.size()));
    std::set<std::int32_t> refusedLines;
    for (const ExchangeProblem &problem : in.problems) {
        EXPECT_GT(problem.line, 1);
        refusedLines.insert(problem.line);
    }
    const double taken = 1.0 - static_cast<double>(refusedLines.size()) / in.words;
    std::cout << file.name << ": " << in.words - refusedLines.size() << " of " << in.words << " words taken ("
              << taken * 100 << "%), " << in.entries << " entries, " << in.replacements.size()
              << " characters replaced\n";
    EXPECT_GE(taken, 0.95);
    // Every refused word is one whose text keeps a character without a Big5 variant, or whose
    // key is too long: nothing else in this list stands in the way.
    for (const ExchangeProblem &problem : in.problems) {
        EXPECT_TRUE(
            problem.reason == ExchangeProblemReason::NoBig5Form || problem.reason == ExchangeProblemReason::KeyTooLong)
            << exchangeProblemLine(problem);
        if (problem.reason == ExchangeProblemReason::NoBig5Form) {
            EXPECT_EQ(big5Variant(problem.character), 0u) << exchangeProblemLine(problem);
        }
    }
    // Without variants, the words with a replaced character are refused instead.
    options.variants = false;
    const ImportResult plain = importExchangeFile(file.bytes, ExchangeFormat::Csv, options, file.name);
    std::set<std::int32_t> replacedLines;
    for (const ExchangeReplacement &replacement : in.replacements)
        replacedLines.insert(replacement.line);
    EXPECT_TRUE(plain.replacements.empty());
    EXPECT_EQ(plain.problems.size(), in.problems.size() + replacedLines.size());
}

// The same list imported by its Tâi-lô column with marks, respelled to POJ, and by its POJ input
// column: the same data lines but where the list's own columns disagree.
TEST_F(ChhoeTaigi, TailoWithMarksRespelledImportsAsThePojInputForm)
{
    const File &file = files_.at(0);
    ExchangeOptions fromTailo;
    fromTailo.keyColumn = "KipUnicode";
    fromTailo.textColumn = "HanLoTaibunPoj";
    fromTailo.keys.spelling = KeySpelling::Poj;
    ExchangeOptions fromPoj = fromTailo;
    fromPoj.keyColumn = "PojInput";
    fromPoj.keys.spelling = KeySpelling::AsGiven;
    const auto lines = [&](const ExchangeOptions &options) {
        std::vector<std::string> out;
        std::istringstream in(importExchangeFile(file.bytes, ExchangeFormat::Csv, options, file.name).big5Lines);
        for (std::string line; std::getline(in, line);)
            out.push_back(line);
        return out;
    };
    const std::vector<std::string> a = lines(fromTailo);
    const std::vector<std::string> b = lines(fromPoj);
    ASSERT_EQ(a.size(), b.size());
    std::size_t same = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        same += a[i] == b[i];
    std::cout << file.name << ": KipUnicode --keys poj = PojInput on " << same << " of " << a.size() << " lines\n";
    EXPECT_GE(same, a.size() * 99 / 100);
}

// The generated table holds exactly what Unihan_Variants.txt says, read here by a parser of the
// test's own from the compressed file itself.
TEST(UnihanVariants, TheTableIsTheDatabases)
{
    FILE *pipe = popen("bzcat '" KPX_UNIHAN_VARIANTS "'", "r");
    ASSERT_NE(pipe, nullptr);
    std::string text;
    char buffer[65536];
    for (std::size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        text.append(buffer, got);
    ASSERT_EQ(pclose(pipe), 0) << "bzcat " KPX_UNIHAN_VARIANTS;
    const std::vector<std::string> kinds
        = { "kTraditionalVariant", "kZVariant", "kSemanticVariant", "kSpecializedSemanticVariant" };
    std::map<char32_t, std::map<std::size_t, std::vector<char32_t>>> byKind;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string code;
        std::string kind;
        if (!(fields >> code >> kind) || code.rfind("U+", 0) != 0)
            continue;
        std::size_t rank = 0;
        while (rank < kinds.size() && kinds[rank] != kind)
            ++rank;
        if (rank == kinds.size())
            continue;
        const char32_t character = std::stoul(code.substr(2), nullptr, 16);
        for (std::string value; fields >> value;)
            byKind[character][rank].push_back(std::stoul(value.substr(2), nullptr, 16));
    }
    std::map<char32_t, std::vector<char32_t>> expected;
    for (const auto &[character, ranks] : byKind) {
        std::vector<char32_t> list;
        for (const auto &[rank, values] : ranks) {
            for (const char32_t value : values) {
                if (value != character && std::find(list.begin(), list.end(), value) == list.end())
                    list.push_back(value);
            }
        }
        if (!list.empty())
            expected[character] = list;
    }
    std::map<char32_t, std::vector<char32_t>> table;
    const auto values = exchange_detail::unihanVariantValues();
    for (const exchange_detail::UnihanVariantRow &row : exchange_detail::unihanVariantRows())
        table[row.character].assign(values.begin() + row.first, values.begin() + row.first + row.count);
    EXPECT_GT(expected.size(), 5000u);
    EXPECT_TRUE(table == expected) << table.size() << " characters in the table, " << expected.size()
                                   << " in the database";
    // The examples of characters Big5 writes another way, and ones it has no variant for.
    const std::pair<char32_t, char32_t> pairs[]
        = { { U'鷄', U'雞' }, { U'脚', U'腳' }, { U'猪', U'豬' }, { U'个', U'個' }, { U'綫', U'線' } };
    for (const auto &[from, to] : pairs)
        EXPECT_EQ(big5Variant(from), to) << static_cast<unsigned>(from);
    for (const char32_t none : { U'媠', U'𤆬', U'𪜶', U'刣' })
        EXPECT_EQ(big5Variant(none), 0u) << static_cast<unsigned>(none);
}

} // namespace
