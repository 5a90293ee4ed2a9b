// SPDX-License-Identifier: GPL-2.0-or-later
// The three key orders and the quicksort that puts entries into table order.
#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "compiler/collation.h"
#include "compiler/entry_order_p.h"
#include "compiler/entry_sort_p.h"
#include "compiler/table_compiler_object_p.h"
#include "tests/compiler/reference_quicksort.h"
#include <gtest/gtest.h>

using namespace kpx;

namespace {

int sign(int value)
{
    return (value > 0) - (value < 0);
}

struct SignCase {
    const char *a;
    const char *b;
    int ty, py, ib; // -1 before, 0 same, 1 after
};

class KeyOrderSigns : public ::testing::TestWithParam<SignCase> { };

TEST_P(KeyOrderSigns, MatchTheTable)
{
    const SignCase &c = GetParam();
    EXPECT_EQ(sign(compareKeysTy(c.a, c.b)), c.ty) << "ty";
    EXPECT_EQ(sign(compareKeysPy(c.a, c.b)), c.py) << "py";
    EXPECT_EQ(sign(compareKeysIb(c.a, c.b)), c.ib) << "ib";
}

INSTANTIATE_TEST_SUITE_P(Collation, KeyOrderSigns,
    ::testing::Values(SignCase { "cha1", "ca", 0, 1, 1 }, SignCase { "ca", "cha1", 0, -1, -1 },
        SignCase { "a1", "a2", 0, 0, -1 }, SignCase { "ab", "a-b", 0, 0, 0 }, SignCase { "a-b", "ab", -1, -1, -1 },
        SignCase { "kokchiong", "kok-chiong", 0, 0, 0 }, SignCase { "kok-chiong", "kokchiong", -1, -1, -1 },
        SignCase { "ha", "a", 1, 1, 1 }, SignCase { "a", "ha", -1, -1, -1 }, SignCase { "hh", "h1h", 0, 0, 1 },
        SignCase { "h1h", "hh", -1, 0, -1 }, SignCase { "ab", "a", 1, 1, 1 }, SignCase { "a", "a\xA4", 1, 1, 1 },
        SignCase { "A", "a", -1, -1, -1 }, SignCase { "chh", "ch", 1, 1, 1 },
        // Beyond the table: the Big5 and ASCII continuations.
        SignCase { "a\xA4\x40", "a", -1, -1, -1 }, SignCase { "a", "ab", -1, -1, -1 },
        SignCase { "\xA4\x40", "a", -1, -1, -1 }, SignCase { "\xA4\x41", "\xA4\x40", 1, 1, 1 },
        // A leading 'h' decides by the first bytes alone.
        SignCase { "ha", "1ha", 1, 0, 1 }, SignCase { "ha", "-ha", 1, 0, 0 }, SignCase { "1ha", "ha", -1, 0, -1 },
        SignCase { "ha", "hb", -1, -1, -1 }, SignCase { "a9-", "a", 1, 1, 1 },
        // Only '0' to '9' are digits: not the bytes beside them.
        SignCase { "a/", "a", 1, 1, 1 }, SignCase { "a:", "a", 1, 1, 1 }, SignCase { "chi2", "ci", 0, -1, -1 }));

TEST(Collation, HyphenResultIsTheByteDifference)
{
    for (KeyComparison compare : { compareKeysTy, compareKeysPy, compareKeysIb }) {
        EXPECT_EQ(compare("a-b", "ab"), '-' - 'b');
        EXPECT_EQ(compare("ab", "a-b"), 0);
    }
    EXPECT_EQ(compareKeysIb("a", "a\xA4"), 0 - static_cast<signed char>('\xA4'));
}

TEST(Collation, AKeyComparedWithItselfIsTheSame)
{
    for (const char *key :
        { "a", "h", "hh", "h1h", "cha1", "chh", "-", "a-b", "--", "kok-chiong", "c", "ch", "\xA4\x40",
            "a\xA1\x40"
            "b",
            "9", "A-9-h" }) {
        EXPECT_EQ(compareKeysTy(key, key), 0) << key;
        EXPECT_EQ(compareKeysPy(key, key), 0) << key;
        EXPECT_EQ(compareKeysIb(key, key), 0) << key;
    }
}

TEST(Collation, OrderDigitPicksTheComparison)
{
    EXPECT_EQ(keyComparisonFor(TableOrder::fromDigit('1')), &compareKeysTy);
    EXPECT_EQ(keyComparisonFor(TableOrder::fromDigit('2')), &compareKeysPy);
    EXPECT_EQ(keyComparisonFor(TableOrder::fromDigit('3')), &compareKeysIb);
    for (char other : { '0', '4', 'a', '\0', '\xA4' })
        EXPECT_EQ(keyComparisonFor(TableOrder::fromDigit(other)), &compareKeysTy) << int(other);
}

// --- Sorting ---

std::vector<std::string> sortedKeys(const std::vector<std::string> &keys, char digit)
{
    TableCompiler compiler;
    for (const std::string &key : keys)
        compiler.addEntry(key.c_str(), "x");
    compiler.orderAndSort(digit);
    std::vector<std::string> result;
    for (const Entry &entry : compiler.entries())
        result.emplace_back(entry.key());
    return result;
}

using Keys = std::vector<std::string>;

TEST(EntrySort, WorkedExamplesInEveryOrder)
{
    for (char digit : { '1', '2', '3' }) {
        EXPECT_EQ(sortedKeys({ "ab", "a-b", "a" }, digit), (Keys { "a", "ab", "a-b" })) << digit;
        EXPECT_EQ(sortedKeys({ "ab", "a-b", "b" }, digit), (Keys { "ab", "a-b", "b" })) << digit;
    }
}

TEST(EntrySort, EqualKeysKeepTheOrderTheyWereAddedIn)
{
    EXPECT_EQ(
        sortedKeys({ "ka3", "cha", "ka", "ca2", "ka1", "b" }, '1'), (Keys { "b", "cha", "ca2", "ka3", "ka", "ka1" }));
    EXPECT_EQ(
        sortedKeys({ "ka3", "cha", "ka", "ca2", "ka1", "b" }, '2'), (Keys { "b", "ca2", "cha", "ka3", "ka", "ka1" }));
    EXPECT_EQ(
        sortedKeys({ "ka3", "cha", "ka", "ca2", "ka1", "b" }, '3'), (Keys { "b", "ca2", "cha", "ka", "ka1", "ka3" }));
    TableCompiler compiler;
    for (int at = 0; at < 40; ++at)
        compiler.addEntry("a", std::to_string(at).c_str());
    compiler.orderAndSort('1');
    for (int at = 0; at < 40; ++at)
        EXPECT_EQ(compiler.entries()[at].sequence, at);
}

TEST(EntrySort, UnknownOrderDigitSortsByTy)
{
    for (char digit : { '0', '4', 'a' }) {
        TableCompiler compiler;
        compiler.setOrder('3');
        for (const char *key : { "cha", "cb", "ca" })
            compiler.addEntry(key, "x");
        compiler.orderAndSort(digit);
        EXPECT_EQ(compiler.order().digit(), '1');
        EXPECT_STREQ(compiler.entries()[0].key(), "cha");
        EXPECT_STREQ(compiler.entries()[1].key(), "ca");
        EXPECT_STREQ(compiler.entries()[2].key(), "cb");
    }
}

// A comparator that records its calls.
struct Recorder {
    std::vector<std::pair<int, int>> *calls;
    int operator()(const Entry &x, const Entry &y) const
    {
        calls->emplace_back(x.sequence, y.sequence);
        return compareKeysIb(x.key(), y.key());
    }
};

TEST(EntrySort, SmallRangesMakeTheStatedComparisons)
{
    std::vector<std::pair<int, int>> calls;
    sortEntryRange(static_cast<Entry *>(nullptr), 0, 0, Recorder { &calls });
    EXPECT_TRUE(calls.empty());
    Entry one[] = { { 0, "b\0x" } };
    sortEntryRange(one, 0, 1, Recorder { &calls });
    EXPECT_TRUE(calls.empty());
    Entry two[] = { { 7, "b\0x" }, { 3, "a\0x" } };
    sortEntryRange(two, 0, 2, Recorder { &calls });
    EXPECT_EQ(calls, (std::vector<std::pair<int, int>> { { 7, 3 } }));
    EXPECT_EQ(two[0].sequence, 3);
    TableCompiler empty;
    empty.orderAndSort('1'); // no storage at all
    EXPECT_EQ(empty.count(), 0);
}

TEST(EntrySort, SortedInputStaysUnchanged)
{
    // No 'c' or 'h', whose ty rules would reorder some of these keys.
    static const char letters[] = "abdefgijklmnopqrstuvwxyz";
    Keys keys;
    for (int at = 0; at < 500; ++at)
        keys.push_back(std::string { letters[at / 24], letters[at % 24] } + std::to_string(at % 3));
    for (char digit : { '1', '2', '3' })
        EXPECT_EQ(sortedKeys(keys, digit), keys) << digit;
}

// Keys around every length the items might hold in themselves, up to the 32-byte limit.
TEST(EntrySort, KeysOfEveryLengthSortByTheirBytes)
{
    Keys keys;
    for (std::size_t length = 1; length <= 31; ++length) {
        keys.push_back(std::string(length, 'a'));
        keys.push_back(std::string(length, 'a') + 'b');
        keys.push_back(std::string(length - 1, 'a') + 'c');
    }
    std::mt19937 random(7);
    std::shuffle(keys.begin(), keys.end(), random);
    Keys expected = keys;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(sortedKeys(keys, '3'), expected);
}

TEST(EntrySort, MatchesThePlainRecursionOnHyphenatedKeys)
{
    static const char alphabet[] = "abch-1-2h";
    std::vector<std::string> texts;
    for (unsigned seed = 1; seed <= 300; ++seed) {
        std::mt19937 random(seed);
        const int n = static_cast<int>(random() % 400);
        texts.clear();
        for (int at = 0; at < n; ++at) {
            std::string key(1 + random() % 6, 'a');
            for (char &byte : key)
                byte = alphabet[random() % (sizeof alphabet - 1)];
            texts.push_back(key + '\0' + "x");
        }
        for (KeyComparison keys : { compareKeysTy, compareKeysPy, compareKeysIb }) {
            const auto compare = [keys](const Entry &x, const Entry &y) {
                const int byKey = keys(x.key(), y.key());
                return byKey != 0 ? byKey : x.sequence - y.sequence;
            };
            std::vector<Entry> items;
            for (int at = 0; at < n; ++at)
                items.push_back(Entry { at, texts[static_cast<std::size_t>(at)].c_str() });
            std::vector<Entry> expected = items;
            kpx::testing::referenceQuicksort(expected, 0, n - 1, compare);
            sortEntryRange(items.data(), 0, n, compare);
            for (int at = 0; at < n; ++at)
                ASSERT_EQ(items[static_cast<std::size_t>(at)].sequence, expected[static_cast<std::size_t>(at)].sequence)
                    << "seed " << seed << " position " << at;
        }
    }
}

// The items carry each key's first bytes as the order compares them and decide from those when
// they can: every comparison must still give the sign of the whole key comparison followed by
// the sequence numbers, whichever key comes first.
template <TableOrder::Kind Order> void expectItemsAgree(const std::vector<std::string> &texts)
{
    constexpr KeyComparison keys = keyComparisonFor(TableOrder(Order));
    std::vector<Entry> items;
    for (std::size_t at = 0; at < texts.size(); ++at) {
        items.emplace_back(static_cast<std::int32_t>(at), texts[at].c_str());
        prepareForSort<Order>(items.back());
    }
    const auto agree = [keys](const Entry &x, const Entry &y) {
        const int byKey = keys(x.key(), y.key());
        ASSERT_EQ(sign(compareEntries<Order>(x, y)), sign(byKey != 0 ? byKey : x.sequence - y.sequence))
            << "order " << static_cast<int>(Order) << ": " << x.key() << " against " << y.key();
    };
    std::mt19937 random(5);
    for (std::size_t at = 0; at < items.size(); ++at) {
        agree(items[at], items[at]);
        for (std::size_t step : { 1, 2, 3 }) {
            if (at + step < items.size()) {
                agree(items[at], items[at + step]);
                agree(items[at + step], items[at]);
            }
        }
        agree(items[at], items[random() % items.size()]);
    }
}

TEST(EntrySort, ItemComparisonAgreesWithTheWholeKeyComparison)
{
    // Keys of the pieces the orders treat apart, of lengths around the head's, sorted by bytes
    // and by their letters alone so that neighbours share long prefixes in the key and in what
    // the orders compare of it; a few copies with a digit or a hyphen put in somewhere.
    static const char *const pieces[]
        = { "c", "h", "ch", "hh", "a", "b", "-", "--", "1", "9", "0", "/", ":", "\xA4", "\xA4\x40", "\xFF", "A" };
    std::mt19937 random(11);
    std::vector<std::string> keys;
    for (int at = 0; at < 3000; ++at) {
        std::string key;
        for (std::size_t length = 1 + random() % 32; key.size() < length;)
            key += pieces[random() % std::size(pieces)];
        key.resize(std::min<std::size_t>(key.size(), 32));
        keys.push_back(key);
        std::string variant = key;
        variant.insert(random() % (key.size() + 1), 1, "-1h"[random() % 3]);
        keys.push_back(variant.substr(0, 32));
    }
    // And keys that differ by their first bytes or at the end of the head, or by a hyphen in it
    // and again past it.
    for (const char *key : { "h1z", "hha", "hh", "h1h", "ha", "1ha", "-ha", "cha1", "ca", "chh", "a-b", "ab", "h", "a",
             "a-bcx", "abcy", "ab-c-y" }) {
        keys.emplace_back(key);
        for (std::size_t padding : { 13, 15, 16 })
            keys.push_back(std::string(padding, 'b') + key);
    }
    std::vector<std::string> byBytes = keys;
    std::sort(byBytes.begin(), byBytes.end());
    std::vector<std::string> byLetters = keys;
    const auto letters = [](std::string key) {
        std::erase_if(key, [](char byte) { return byte == '-' || (byte >= '0' && byte <= '9'); });
        return key;
    };
    std::stable_sort(byLetters.begin(), byLetters.end(),
        [&letters](const std::string &x, const std::string &y) { return letters(x) < letters(y); });
    for (const std::vector<std::string> *list : { &byBytes, &byLetters }) {
        std::vector<std::string> texts;
        for (const std::string &key : *list)
            texts.push_back(key + '\0' + "x");
        expectItemsAgree<TableOrder::Kind::Ty>(texts);
        expectItemsAgree<TableOrder::Kind::Py>(texts);
        expectItemsAgree<TableOrder::Kind::Ib>(texts);
    }
}

} // namespace
