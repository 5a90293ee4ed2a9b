// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/line_problems.h"
#include "compiler/run_inputs.h"
#include "compiler/table_order.h"

// Words in and out: the user's entries to and from the word lists of the input methods people
// use beside ours (RIME dictionaries, fcitx5 table sources, plain UTF-8 lists), and the test
// that tells a UTF-8 data file from a Big5 one. No toolkit; Big5 through platform/text.
namespace kpx {

enum class ExchangeFormat : std::uint8_t {
    Big5, // our data file: "key text" lines, Big5, CR LF
    Rime, // a RIME dictionary (*.dict.yaml): YAML header, "text<TAB>code[<TAB>weight]" lines
    Fcitx5, // an fcitx5 table source as libime_tabledict compiles it: KeyCode=..., [Data], "code word"
    Tsv, // a UTF-8 list: "key<TAB>text" (or "text<TAB>key"), or wider with chosen columns
    Csv, // RFC 4180 comma-separated values, UTF-8, a header row and chosen columns
};

inline constexpr ExchangeFormat kExchangeFormats[]
    = { ExchangeFormat::Big5, ExchangeFormat::Rime, ExchangeFormat::Fcitx5, ExchangeFormat::Tsv, ExchangeFormat::Csv };

// "big5", "rime", "fcitx5", "tsv", "csv"; and back (exactly these words).
std::string_view exchangeFormatName(ExchangeFormat format);
std::optional<ExchangeFormat> exchangeFormatFromName(std::string_view name);
// The format a file's name says (letters of any case): *.dict.yaml rime, *.fcitx5.txt fcitx5,
// *.tsv tsv, *.csv csv, any other *.txt big5; nothing for any other name.
std::optional<ExchangeFormat> exchangeFormatFromFileName(std::string_view path);
// The pattern of the names exchangeFormatFromFileName takes for a format ("*.dict.yaml"), for a
// file dialog's type list, and the ending a saved file gets (".dict.yaml").
std::string_view exchangeFormatPattern(ExchangeFormat format);
std::string_view exchangeFormatExtension(ExchangeFormat format);

// Which romanisation a key is respelled into on import.
enum class KeySpelling : std::uint8_t {
    AsGiven,
    Poj, // Pe̍h-ōe-jī: ch chh oa oe eng ek
    Tailo, // Tâi-lô: ts tsh ua ue ing ik, the nasal before a final h ("hannh")
};

// How an imported key is put into the form of our data files, where a key is one run of non-blank
// bytes in the numeric-tone input form: tone marks become digits at the end of the syllable,
// o͘ becomes oo, ⁿ nn, ı i; "a/b" makes one key each; blanks between words become hyphens.
struct KeyOptions {
    KeySpelling spelling = KeySpelling::AsGiven;
    bool dropBlanks = false; // blanks between words are removed instead of becoming hyphens
    bool keepCase = false; // letters keep their case instead of being lower-cased
};

struct ExchangeOptions {
    // RIME: a hyphenated key (tai5-uan5) is written as space-separated syllables (tai5 uan5),
    // as Taiwanese RIME schemas spell codes; by default it stays one code. A key with a hyphen
    // at an end or two together stays one code (RIME would drop the empty syllables). Reading
    // turns a code's spaces into hyphens either way.
    bool syllables = false;
    // tsv: "text<TAB>key" instead of "key<TAB>text".
    bool textFirst = false;
    // RIME: the dictionary's name in its header; empty: taken from the file's name
    // (exchangeDictionaryName), else "kpx".
    std::string dictionaryName;
    // Import: how keys are put into our form.
    KeyOptions keys;
    // Import: a text character without a Big5 form is replaced by a Unihan variant that has one.
    bool variants = true;
    // Import from csv and tsv: the key and text columns, each a header name or a 1-based number;
    // empty: the first two columns. A csv file always starts with a header row; a tsv file does
    // when either column is given by name, or when headerRow says so.
    std::string keyColumn;
    std::string textColumn;
    bool headerRow = false;
};

// The RIME name for a file: "words" for "dir/words.dict.yaml", "" when there is none.
std::string exchangeDictionaryName(std::string_view path);

// Why an entry or a line did not come through.
enum class ExchangeProblemReason : std::uint8_t {
    NoBig5Form, // import: the word has a character (character) without a Big5 form
    KeyTooLong, // import: the key is over 32 bytes in Big5
    TextTooLong, // import: the text is over 64 bytes in Big5
    EntryTooLong, // import: key and text together over what one entry may hold
    KeyNotUsable, // import: an empty key, or one with a blank, or one a data line cannot start with
                  //   ("//", "#include", ending in "//", a lone "/")
    TextNotUsable, // import: an empty text, or one with a blank inside, or starting with "//"
    NoText, // import: a line with a key but no text (or a text but no code)
    NotUtf8, // import: the line is not UTF-8 text
    NotBig5Text, // export: the entry's bytes are not Big5 text: not written
    NoDataSection, // import: an fcitx5 source without "[Data]", a RIME dictionary without "..."
    NoTab, // import: a tsv line of one column, without the TAB that separates key and text
    NoColumn, // import: a csv or tsv header without the chosen column (file's line 1)
    ShortRow, // import: a csv or tsv row without the chosen column
    UnclosedQuote, // import: a csv field's quote is not closed before the end of the file
};

struct ExchangeProblem {
    std::string file; // the path as the caller named it; an include file's as the include line did
    std::int32_t line = 0; // from 1
    ExchangeProblemReason reason = ExchangeProblemReason::NotUtf8;
    char32_t character = 0; // NoBig5Form: the character
};

// The reason in English, as kpx-make's diagnostics say it: "𪜶 (U+2A736) has no Big5 form".
std::string exchangeProblemText(const ExchangeProblem &problem);
// "PATH:LINE: reason".
std::string exchangeProblemLine(const ExchangeProblem &problem);

// ---- Export: our entries out ----

enum class ExportOrder : std::uint8_t {
    Compiler, // the table's order (the slot's collation order), as the compiler sorts them
    File, // the order the entries stand in the text, include files where their lines are
};

struct ExportRequest {
    ExchangeFormat format = ExchangeFormat::Rime;
    ExchangeOptions options;
    ExportOrder order = ExportOrder::Compiler;
    TableOrder tableOrder; // for ExportOrder::Compiler: the slot's order
    // The file the text is (a data file): an include line naming it is a cycle, as in a table
    // run. Empty: the text has no file.
    std::string sourceFile;
    // The text is an import's big5Lines, every line an entry: to big5 in the file's order, only
    // the repeated lines are dropped, without the compiler's run.
    bool importedLines = false;
};

struct ExportCounts {
    std::int32_t entries = 0; // written
    std::int32_t duplicates = 0; // entries that repeat an earlier one: written once
    std::int32_t commentLines = 0; // comment lines passed over
    std::int32_t includeLines = 0; // include lines (followed, but not written)
    std::int32_t linesWithoutEntry = 0; // lines that make no entry (compiler.problems lists them)
    std::int32_t notBig5Text = 0; // entries not written: their bytes are not Big5 text (problems)
};

struct ExportResult {
    std::string bytes; // the file to write; for Big5 CR LF lines, for the others UTF-8 with LF
    ExportCounts counts;
    // The compiler's report: lines without an entry (file 0 is the text itself) and duplicates.
    RunProblems compiler;
    // Entries not written (NotBig5Text); file "" is the text itself.
    std::vector<ExchangeProblem> problems;
    // Memory ran out: nothing is to be written.
    bool outOfMemory = false;
    // The entries are more than a table can hold: the reading stopped, nothing is to be written.
    bool tooLarge = false;
    // The files read (the source file and the include files), which the output must not replace.
    RunInputs inputs;
};

// Every entry the compiler would make from big5Text (the editor's text or a data file's bytes;
// include lines followed as the compiler follows them, relative to the current directory), each
// once, in the requested order and format.
ExportResult exportDataText(std::string_view big5Text, const ExportRequest &request);

// ---- Import: other formats' words in ----

// The kinds of change import makes to keys, each counted once per word it changed.
enum class KeyChange : std::uint8_t {
    ToneMarks, // tone marks became tone digits
    Letters, // o͘, ⁿ, ı or another letter with a mark became plain letters
    Alternatives, // "a/b" made several entries
    Blanks, // blanks between words became hyphens (or were dropped)
    Case, // capital letters were lower-cased
    Respelled, // respelled into the other romanisation
};
inline constexpr int kKeyChangeKinds = 6;

// "tone marks to digits", "o͘ ⁿ ı to letters", ...
std::string_view keyChangeName(KeyChange change);

// Which changes one key went through (bit 1 << KeyChange).
using KeyChangeSet = std::uint8_t;

// The key (UTF-8) in our form: each alternative once, in order, appended to keys (UTF-8, not yet
// checked for Big5 or length). Returns the changes made.
KeyChangeSet normaliseKey(std::string_view key, const KeyOptions &options, std::vector<std::string> &keys);

// The Unihan variant of a character that has a Big5 form (traditional, Z-, semantic, then
// specialised semantic variants, in the database's order); 0 when none has.
char32_t big5Variant(char32_t character);

// One text character import replaced by its variant.
struct ExchangeReplacement {
    std::string file;
    std::int32_t line = 0;
    char32_t from = 0;
    char32_t to = 0;
};

// "PATH:LINE: 鷄 (U+9DC4) -> 雞 (U+96DE)".
std::string exchangeReplacementLine(const ExchangeReplacement &replacement);

struct ImportResult {
    // One data line "key text" (Big5, one space, CR LF) for each entry that came through, in the
    // file's order.
    std::string big5Lines;
    std::int32_t entries = 0;
    // Every line that did not come through, in the file's order.
    std::vector<ExchangeProblem> problems;
    // Words read (a word with alternative keys is one word, and makes several entries).
    std::int32_t words = 0;
    // Words whose key went through each kind of change (index: KeyChange).
    std::int32_t keyChanges[kKeyChangeKinds] = {};
    // Text characters replaced by a variant, each where it was.
    std::vector<ExchangeReplacement> replacements;
    // Memory ran out: the result is empty and is not to be used.
    bool outOfMemory = false;
};

// Reads a file of the format (for Big5: only its data lines, as export to big5 does) into data
// lines. fileName is what problems name.
ImportResult importExchangeFile(
    std::string_view bytes, ExchangeFormat format, const ExchangeOptions &options, std::string_view fileName);

// Our data file with its keys put into form (KeyOptions): comment lines, include lines and every
// byte after the key stay as they are; a key with alternatives makes one line each. A line whose
// key cannot be put into form (a character without a Big5 form, over 32 bytes) stays as it was and
// is reported. entries counts the data lines written, words the data lines read.
ImportResult respellDataText(std::string_view big5Text, const KeyOptions &options, std::string_view fileName);

// The header row of a csv or tsv file: its column names (UTF-8, a byte-order mark dropped), for a
// choice of columns. Empty when the file has no first line.
std::vector<std::string> exchangeHeader(std::string_view bytes, ExchangeFormat format);

// UTF-8 text (a header's names, say) in UTF-16, for a face to show; a byte that is not UTF-8
// shows as U+FFFD.
std::u16string exchangeUtf16(std::string_view utf8);

// ---- UTF-8 data files ----

// The verdict on a data file's bytes, decided line by line: a line with bytes above 0x7F is
// UTF-8 when it is valid UTF-8 and not Big5 text (every two-byte code a character of code page
// 950); it is Big5 when it is well-formed Big5 and either not valid UTF-8 or, read both ways, not
// plausibly UTF-8 (a Han character, or a Latin letter with a mark inside a romanised word).
// A line that reads plausibly both ways decides nothing. The file is UTF-8 when at least one line
// is UTF-8 and no line is Big5. The first Big5 line settles it: the counts stop there.
struct Utf8Check {
    bool isUtf8 = false;
    std::int32_t firstUtf8Line = 0; // from 1; 0 when no line is UTF-8
    std::int32_t utf8Lines = 0;
    std::int32_t big5Lines = 0; // lines that are Big5 and not UTF-8
    std::int32_t eitherLines = 0; // lines that read plausibly both ways
    std::int32_t otherLines = 0; // lines with bytes above 0x7F that are neither
};

Utf8Check checkUtf8(std::string_view bytes);

// The same, line by line, for a reader that already splits the lines (kpx-make).
class Utf8Detector {
public:
    void addLine(std::string_view line);
    const Utf8Check &result() const;

private:
    Utf8Check check_;
    std::int32_t line_ = 0;
};

// A UTF-8 data text turned into Big5, line by line, keeping every line (comments and include
// lines too). A line with a character without a Big5 form is left out and reported, as import
// does; so is a line that is not UTF-8. Line ends become CR LF; entries counts the lines kept.
ImportResult utf8DataTextToBig5(std::string_view utf8Text, std::string_view fileName);

// One line of UTF-8 text in Big5 (appended to big5). False, with NoBig5Form and the character or
// NotUtf8, when the line has no Big5 form; big5 then holds part of it.
bool utf8LineToBig5(std::string_view line, std::string &big5, ExchangeProblemReason &reason, char32_t &character);

} // namespace kpx
