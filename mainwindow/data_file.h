// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

#include <cstdint>
#include <string>
#include <string_view>

class QTextDocument;

// Reading and writing a slot's data file, and the editor's text as Big5 bytes. The editor holds
// one text block per line; on disk the lines are Big5 bytes separated by CR LF.
namespace kpx {

// The most a data file may hold for the editor to load it. Larger files are refused with the
// capacity message rather than loaded half-way.
inline constexpr std::int64_t kEditorCapacityBytes = 256LL * 1024 * 1024;

// The native file name, as Qt wants it, for a path in the program's own form.
QString nativeFileName(const std::string &programPath);

// A path in the program's own form, shown to the user in its native form.
QString nativePathText(const std::string &programPath);

// Big5 bytes (an "o=" path in the editor, a file name on disk) as text for the user: UTF-8 when
// they are valid UTF-8 (the file system's names here), else Big5.
QString pathBytesText(const std::string &bytes);

struct DataFileRead {
    enum class Status {
        Missing,   // no file at the path: the editor stays empty, which is no error
        Loaded,    // text holds the file's lines
        CannotOpen,
        TooLarge,
    };
    Status status = Status::Missing;
    // The file's text up to its first zero byte, with its own line breaks; the editor takes
    // CR LF, a lone CR and a lone LF each as one line break.
    QString text;
};

// Reads the data file at the native fileName. A zero byte ends the text. Bytes that are no
// Big5 come through as escape characters, so that writing the text back gives the same bytes.
DataFileRead readDataFile(const QString &fileName);

struct DataFileWrite {
    enum class Status {
        Written,
        CannotCreate, // not even a temporary file could be made, or the path is a directory or read-only
        WriteFailed,  // writing or putting the finished file in place failed; the old file is unchanged
    };
    Status status = Status::Written;
    QString reason; // the system's words
};

// Replaces the file at the native fileName by bytes, or leaves it exactly as it was.
DataFileWrite writeDataFile(const QString &fileName, const std::string &bytes);

// The editor's lines in order, read from one copy of its text: far cheaper on a large document
// than asking each text block for its text.
class EditorLines {
public:
    explicit EditorLines(const QTextDocument &document);
    // The next line without its line break, and the document position where it starts. False
    // after the last line.
    bool next(std::u16string_view &line, int &position);

private:
    QString text_;
    std::size_t at_ = 0;
    bool done_ = false;
};

// The editor's text as Big5 bytes, lines separated by CR LF, or where it cannot be: the first
// character without a Big5 form, its line (counted from 1) and its place in the document.
struct EditorBytes {
    std::string bytes;
    bool ok = true;
    int badLine = 0;
    int badPosition = 0;   // cursor position in the document
    QString badCharacter;  // one character, two UTF-16 units for one beyond the BMP
};
EditorBytes editorBytes(const QTextDocument &document);

// The editor's line count: the number of lines without a last line that is empty. An empty
// editor counts 0; a text that ends with a line break counts the lines before it.
int editorLineCount(const QTextDocument &document);

// The notation for a character, as "U+4E00".
QString codePointText(const QString &character);

} // namespace kpx
