// SPDX-License-Identifier: GPL-2.0-or-later
// The keyed store: how its file is read, what a save writes, and that a save never leaves a
// damaged file behind.
#include <filesystem>
#include <string>

#include "state/keyed_store.h"
#include "tests/state/scratch_directory.h"
#include <gtest/gtest.h>

using namespace kpx;

namespace {

namespace fs = std::filesystem;

constexpr char kStateHeader[]
    = "//kpxv4.ini, unless you know what you are doing, don't change this file, but deleting this file is alright";

std::string headerLine()
{
    return std::string(kStateHeader) + "\r\n";
}

class KeyedStoreFile : public testing::Test {
protected:
    // Loads the given file contents into store_ and returns load's result.
    std::int32_t loadBytes(const std::string &bytes)
    {
        writeBytes(input_, bytes);
        return store_.load(input_.c_str());
    }
    // What a save of store_ writes.
    std::string savedBytes(const char *header = nullptr)
    {
        store_.save(output_.c_str(), header);
        return readBytes(output_);
    }
    void expectNoLetterValues() const
    {
        for (char letter = 'a'; letter <= 'z'; ++letter)
            EXPECT_FALSE(store_.hasValue(letter)) << letter;
    }

    ScratchDirectory directory_;
    std::string input_ = directory_.file("in.ini");
    std::string output_ = directory_.file("out.ini");
    KeyedStore store_;
};

// --- One line of the file, and what becomes of it ---

struct LineCase {
    const char *name;
    std::string line;
    char letter; // the letter key that takes the line, 0 for none
    std::string value; // that letter's value
    int freeLines; // free lines taken in
    std::string saved; // what a save without header writes back
};

void PrintTo(const LineCase &lineCase, std::ostream *out)
{
    *out << lineCase.name;
}

class KeyedStoreLine : public KeyedStoreFile, public testing::WithParamInterface<LineCase> { };

TEST_P(KeyedStoreLine, IsTakenAsItsFormSays)
{
    const LineCase &lineCase = GetParam();
    EXPECT_EQ(loadBytes(lineCase.line + "\r\n"), lineCase.freeLines);
    EXPECT_EQ(store_.freeLineCount(), lineCase.freeLines);
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        if (letter == lineCase.letter) {
            ASSERT_NE(store_.value(letter), nullptr);
            EXPECT_EQ(store_.value(letter), lineCase.value);
            EXPECT_EQ(store_.hasValue(letter), !lineCase.value.empty());
        } else {
            EXPECT_FALSE(store_.hasValue(letter)) << letter;
        }
    }
    if (lineCase.freeLines == 1) {
        EXPECT_EQ(store_.freeLine(0), lineCase.line);
    }
    EXPECT_EQ(savedBytes(), lineCase.saved);
}

INSTANTIATE_TEST_SUITE_P(Lines, KeyedStoreLine,
    testing::Values(LineCase { "LetterKey", "f=1", 'f', "1", 0, "f=1\r\n" },
        LineCase { "FirstLetter", "a=x", 'a', "x", 0, "a=x\r\n" },
        LineCase { "LastLetter", "z=x", 'z', "x", 0, "z=x\r\n" },
        LineCase { "DigitKey", "3=abc", 0, "", 0, "3=abc\r\n" }, LineCase { "FirstDigit", "0=x", 0, "", 0, "0=x\r\n" },
        LineCase { "LastDigit", "9=x", 0, "", 0, "9=x\r\n" },
        LineCase { "BlankAfterEqualsKept", "f= 1", 'f', " 1", 0, "f= 1\r\n" },
        LineCase { "TrailingBlanksKept", "s=12  ", 's', "12  ", 0, "s=12  \r\n" },
        LineCase { "TabsKept", "t=\tx\t", 't', "\tx\t", 0, "t=\tx\t\r\n" },
        LineCase { "EqualsInValue", "s=a=b=", 's', "a=b=", 0, "s=a=b=\r\n" },
        LineCase { "Big5Value", "k=\xA4\xA4\xA4\xE5", 'k', "\xA4\xA4\xA4\xE5", 0, "k=\xA4\xA4\xA4\xE5\r\n" },
        LineCase { "KeyAloneIsEmptyValue", "f=", 'f', "", 0, "" },
        LineCase { "DigitAloneIsEmptyValue", "5=", 0, "", 0, "" },
        LineCase { "UpperCaseKey", "F=1", 0, "", 1, "F=1\r\n" },
        LineCase { "BlankBeforeKey", " f=1", 0, "", 1, " f=1\r\n" },
        LineCase { "BlankBeforeEquals", "f =1", 0, "", 1, "f =1\r\n" },
        LineCase { "TwoLetters", "ab=1", 0, "", 1, "ab=1\r\n" },
        LineCase { "Big5LeadByte", "\xA4=1", 0, "", 1, "\xA4=1\r\n" },
        LineCase { "HighByteBelowDigits", "\xB0=1", 0, "", 1, "\xB0=1\r\n" },
        LineCase { "ByteBeforeZero", "/=1", 0, "", 1, "/=1\r\n" },
        LineCase { "ByteAfterNine", ":=1", 0, "", 1, ":=1\r\n" },
        LineCase { "ByteBeforeA", "`=1", 0, "", 1, "`=1\r\n" }, LineCase { "ByteAfterZ", "{=1", 0, "", 1, "{=1\r\n" },
        LineCase { "EqualsFirst", "=f", 0, "", 1, "=f\r\n" }, LineCase { "SingleByte", "f", 0, "", 1, "f\r\n" },
        LineCase { "IndentedComment", " //f=1", 0, "", 1, " //f=1\r\n" },
        LineCase { "BlanksOnly", "   ", 0, "", 1, "   \r\n" }, LineCase { "Comment", "//f=1", 0, "", 0, "" },
        LineCase { "SingleSlash", "/f=1", 0, "", 1, "/f=1\r\n" }),
    [](const testing::TestParamInfo<LineCase> &info) { return std::string(info.param.name); });

// --- Whole files ---

TEST_F(KeyedStoreFile, MissingFileGivesAnEmptyStore)
{
    EXPECT_EQ(store_.load(directory_.file("missing.ini").c_str()), 0);
    EXPECT_EQ(store_.freeLineCount(), 0);
    expectNoLetterValues();
    for (char letter = 'a'; letter <= 'z'; ++letter)
        EXPECT_EQ(store_.value(letter), nullptr) << letter;
}

TEST_F(KeyedStoreFile, NoPathLoadsNothing)
{
    store_.set('f', "1");
    EXPECT_EQ(store_.load(""), 0);
    EXPECT_FALSE(store_.hasValue('f'));
    EXPECT_EQ(store_.load(nullptr), 0);
}

TEST_F(KeyedStoreFile, HeaderOnlyIsAnEmptyStore)
{
    EXPECT_EQ(loadBytes(headerLine()), 0);
    EXPECT_EQ(store_.freeLineCount(), 0);
    expectNoLetterValues();
}

TEST_F(KeyedStoreFile, TwoFreeLinesAtMostAndWrittenLast)
{
    EXPECT_EQ(loadBytes("x\r\ny\r\ns=4\r\nz\r\nf=1\r\n"), 2);
    EXPECT_STREQ(store_.freeLine(0), "x");
    EXPECT_STREQ(store_.freeLine(1), "y");
    EXPECT_EQ(store_.freeLine(2), nullptr);
    EXPECT_EQ(store_.freeLine(-1), nullptr);
    EXPECT_EQ(savedBytes(kStateHeader), headerLine() + "f=1\r\ns=4\r\nx\r\ny\r\n");
}

TEST_F(KeyedStoreFile, LaterLineReplacesEarlierValue)
{
    loadBytes("f=1\r\ns=0\r\nf=2\r\n");
    EXPECT_STREQ(store_.value('f'), "2");
    EXPECT_EQ(savedBytes(), "f=2\r\ns=0\r\n");
}

TEST_F(KeyedStoreFile, LaterEmptyLineEmptiesTheValue)
{
    loadBytes("f=1\r\nf=\r\n");
    EXPECT_FALSE(store_.hasValue('f'));
    EXPECT_EQ(savedBytes(), "");
}

TEST_F(KeyedStoreFile, CommentsMayStandAnywhere)
{
    loadBytes("f=1\r\n//f=9\r\n\r\n//\r\ns=2\r\n// last\r\n");
    EXPECT_STREQ(store_.value('f'), "1");
    EXPECT_STREQ(store_.value('s'), "2");
    EXPECT_EQ(store_.freeLineCount(), 0);
}

struct LineEndCase {
    const char *name;
    std::string bytes;
};

void PrintTo(const LineEndCase &lineEnd, std::ostream *out)
{
    *out << lineEnd.name;
}

class KeyedStoreLineEnds : public KeyedStoreFile, public testing::WithParamInterface<LineEndCase> { };

TEST_P(KeyedStoreLineEnds, GiveTheSameLines)
{
    EXPECT_EQ(loadBytes(GetParam().bytes), 1);
    EXPECT_STREQ(store_.value('f'), "12");
    EXPECT_STREQ(store_.value('s'), "345");
    EXPECT_STREQ(store_.freeLine(0), "x");
}

INSTANTIATE_TEST_SUITE_P(Files, KeyedStoreLineEnds,
    testing::Values(LineEndCase { "CrLf", "f=12\r\ns=345\r\nx\r\n" }, LineEndCase { "CrAlone", "f=12\rs=345\rx\r" },
        LineEndCase { "Mixed", "f=12\rs=345\r\nx\r" }, LineEndCase { "NoEndOnLastLine", "f=12\r\ns=345\r\nx" },
        LineEndCase { "BlankLinesBetween", "\r\nf=12\r\n\r\n\rs=345\r\nx\r\n\r\n" },
        LineEndCase { "LfAlone", "f=12\ns=345\nx\n" }, LineEndCase { "AllThree", "f=12\ns=345\r\nx\r" }),
    [](const testing::TestParamInfo<LineEndCase> &info) { return std::string(info.param.name); });

TEST_F(KeyedStoreFile, LfAloneEndsALine)
{
    EXPECT_EQ(loadBytes("f=1\ns=2\n"), 0);
    EXPECT_STREQ(store_.value('f'), "1");
    EXPECT_STREQ(store_.value('s'), "2");
}

// A state file saved by an editor that writes LF alone keeps its values behind the header.
TEST_F(KeyedStoreFile, LfAloneFileStartingWithCommentKeepsItsValues)
{
    EXPECT_EQ(loadBytes(std::string(kStateHeader) + "\nf=1\ns=2\n"), 0);
    EXPECT_EQ(savedBytes(), "f=1\r\ns=2\r\n");
}

TEST_F(KeyedStoreFile, LoadStartsFromAnEmptyStore)
{
    store_.set('f', "7");
    store_.set('3', "x");
    loadBytes("x\r\n");
    loadBytes("s=5\r\n");
    EXPECT_FALSE(store_.hasValue('f'));
    EXPECT_EQ(store_.freeLineCount(), 0);
    EXPECT_EQ(savedBytes(), "s=5\r\n");
}

TEST_F(KeyedStoreFile, MissingFileAfterValuesLeavesTheStoreCleared)
{
    loadBytes("f=1\r\nx\r\n");
    EXPECT_EQ(store_.load(directory_.file("missing.ini").c_str()), 0);
    expectNoLetterValues();
    EXPECT_EQ(store_.freeLineCount(), 0);
    EXPECT_EQ(savedBytes(), "");
}

TEST_F(KeyedStoreFile, RawLookupStaysEmptyTextOnceSet)
{
    store_.set('f', "1");
    store_.clear();
    loadBytes("s=2\r\n");
    ASSERT_NE(store_.value('f'), nullptr);
    EXPECT_STREQ(store_.value('f'), "");
    EXPECT_FALSE(store_.hasValue('f'));
    EXPECT_EQ(store_.value('g'), nullptr);
}

TEST_F(KeyedStoreFile, LookupsTakeLettersOnly)
{
    store_.set('3', "x");
    for (const char key : { '3', 'F', '#', '\0', '\xA4' }) {
        EXPECT_FALSE(store_.hasValue(key)) << static_cast<int>(key);
        EXPECT_EQ(store_.value(key), nullptr) << static_cast<int>(key);
    }
}

TEST_F(KeyedStoreFile, OnlyDigitAndLetterKeysCanBeSet)
{
    for (const char key : { 'A', 'Z', '#', '=', '\0', '\xA4', '\xFF' })
        store_.set(key, "x");
    EXPECT_EQ(savedBytes(), "");
}

TEST_F(KeyedStoreFile, SaveOrdersByKeyNotBySetting)
{
    store_.set('z', "26");
    store_.set('a', "1");
    store_.set('9', "nine");
    store_.set('s', "345");
    store_.set('0', "zero");
    EXPECT_EQ(savedBytes(kStateHeader), headerLine() + "0=zero\r\n9=nine\r\na=1\r\ns=345\r\nz=26\r\n");
}

TEST_F(KeyedStoreFile, StateFileOfSlotAndCaret)
{
    store_.set('f', "12");
    store_.set('s', "345");
    EXPECT_EQ(savedBytes(kStateHeader), headerLine() + "f=12\r\ns=345\r\n");
}

TEST_F(KeyedStoreFile, EmptyValuesAreNotWritten)
{
    store_.set('f', "");
    store_.set('1', "");
    store_.set('s', "0");
    EXPECT_EQ(savedBytes(), "s=0\r\n");
}

TEST_F(KeyedStoreFile, HeaderIsWrittenOnlyWhenGiven)
{
    store_.set('f', "1");
    EXPECT_EQ(savedBytes(nullptr), "f=1\r\n");
    // An empty header would be a blank line, and the file has none.
    EXPECT_EQ(savedBytes(""), "f=1\r\n");
}

TEST_F(KeyedStoreFile, EmptyStoreWritesAnEmptyFile)
{
    writeBytes(output_, "old contents\r\n");
    EXPECT_EQ(savedBytes(), "");
    EXPECT_TRUE(fs::is_regular_file(output_));
}

TEST_F(KeyedStoreFile, SaveReplacesALongerFileWhole)
{
    writeBytes(output_, headerLine() + "a=" + std::string(500, 'x') + "\r\nf=30\r\ns=99999\r\n");
    store_.set('f', "1");
    EXPECT_EQ(savedBytes(), "f=1\r\n");
}

TEST_F(KeyedStoreFile, SaveLeavesNothingBesideTheFile)
{
    store_.set('f', "1");
    store_.save(output_.c_str(), kStateHeader);
    EXPECT_EQ(directory_.entries(), std::vector<std::string> { "out.ini" });
}

TEST_F(KeyedStoreFile, SaveLeavesTheStoreAsItWas)
{
    loadBytes("f=1\r\nx\r\n");
    store_.save(output_.c_str(), kStateHeader);
    EXPECT_STREQ(store_.value('f'), "1");
    EXPECT_EQ(store_.freeLineCount(), 1);
    EXPECT_STREQ(store_.freeLine(0), "x");
}

TEST_F(KeyedStoreFile, SavedFileLoadsBack)
{
    store_.set('f', "25");
    store_.set('s', "7");
    store_.set('4', "four");
    store_.save(output_.c_str(), kStateHeader);
    KeyedStore again;
    EXPECT_EQ(again.load(output_.c_str()), 0);
    EXPECT_STREQ(again.value('f'), "25");
    EXPECT_STREQ(again.value('s'), "7");
    again.save(input_.c_str(), kStateHeader);
    EXPECT_EQ(readBytes(input_), readBytes(output_));
}

TEST_F(KeyedStoreFile, OddValuesRoundTrip)
{
    const std::string odd = " a=b == c \t \xA6\xEB\xA4\xA4  ";
    store_.set('v', odd.c_str());
    store_.save(output_.c_str(), kStateHeader);
    EXPECT_EQ(store_.load(output_.c_str()), 0);
    EXPECT_EQ(store_.value('v'), odd);
}

TEST_F(KeyedStoreFile, MegabyteValueRoundTrips)
{
    std::string huge(1 << 20, 'x');
    for (std::size_t at = 0; at < huge.size(); at += 137)
        huge[at] = static_cast<char>('a' + at % 26);
    store_.set('h', huge.c_str());
    store_.set('f', "3");
    store_.save(output_.c_str(), kStateHeader);
    EXPECT_EQ(fs::file_size(output_), headerLine().size() + 2 + huge.size() + 2 + 5);
    EXPECT_EQ(store_.load(output_.c_str()), 0);
    EXPECT_EQ(store_.value('h'), huge);
    EXPECT_STREQ(store_.value('f'), "3");
}

// --- Files that cannot be written ---

class KeyedStoreUnwritable : public KeyedStoreFile {
protected:
    void SetUp() override
    {
        store_.set('f', "9");
        store_.set('s', "1");
    }
    void expectStoreUnchanged() const
    {
        EXPECT_STREQ(store_.value('f'), "9");
        EXPECT_STREQ(store_.value('s'), "1");
    }
};

TEST_F(KeyedStoreUnwritable, MissingDirectoryCreatesNothing)
{
    const std::string path = (directory_.path() / "vokelu" / "kpxv4.ini").string();
    store_.save(path.c_str(), kStateHeader);
    EXPECT_FALSE(fs::exists(directory_.path() / "vokelu"));
    EXPECT_TRUE(directory_.entries().empty());
    expectStoreUnchanged();
}

TEST_F(KeyedStoreUnwritable, DirectoryInPlaceOfTheFileStays)
{
    fs::create_directory(output_);
    store_.save(output_.c_str(), kStateHeader);
    EXPECT_TRUE(fs::is_directory(output_));
    EXPECT_TRUE(fs::is_empty(output_));
    EXPECT_EQ(directory_.entries(), std::vector<std::string> { "out.ini" });
    expectStoreUnchanged();
}

TEST_F(KeyedStoreUnwritable, ReadOnlyFileKeepsItsContents)
{
    const std::string old = headerLine() + "f=2\r\ns=5\r\n";
    writeBytes(output_, old);
    fs::permissions(output_, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    store_.save(output_.c_str(), kStateHeader);
    EXPECT_EQ(readBytes(output_), old);
    EXPECT_EQ(directory_.entries(), std::vector<std::string> { "out.ini" });
    expectStoreUnchanged();
}

TEST_F(KeyedStoreUnwritable, NoPathWritesNothing)
{
    store_.save("", kStateHeader);
    store_.save(nullptr, kStateHeader);
    EXPECT_TRUE(directory_.entries().empty());
    expectStoreUnchanged();
}

} // namespace
