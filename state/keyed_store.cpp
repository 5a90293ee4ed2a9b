// SPDX-License-Identifier: GPL-2.0-or-later
#include "state/keyed_store.h"

#include <cstring>
#include <new>
#include <string>

#include "io/file_handle.h"
#include "io/replacing_file.h"

namespace kpx {
namespace {

constexpr std::int32_t kMaxFreeLines = 2;

// Keys are compared as signed bytes, so no byte from 0x80 upward is ever a key whatever the
// signedness of char.
bool isDigitKey(char key)
{
    const auto byte = static_cast<signed char>(key);
    return byte >= '0' && byte <= '9';
}

bool isLetterKey(char key)
{
    const auto byte = static_cast<signed char>(key);
    return byte >= 'a' && byte <= 'z';
}

// Writes the pieces of one file and remembers whether every write went through in full.
class CheckedWriter {
public:
    explicit CheckedWriter(FileHandle &file)
        : file_(file)
    {
    }

    void line(const char *text)
    {
        const auto expected = static_cast<std::int64_t>(std::strlen(text)) + 2;
        if (file_.writeLine(text) != expected)
            complete_ = false;
    }
    void keyed(char key, const char *value)
    {
        if (file_.writeByte(key) != 1 || file_.writeByte('=') != 1)
            complete_ = false;
        line(value);
    }
    bool complete() const { return complete_; }

private:
    FileHandle &file_;
    bool complete_ = true;
};

} // namespace

KeyedStore::KeyedStore()
    : reader_(LineReader::kBlockSize)
{
}

KeyedStore::~KeyedStore() = default;

void KeyedStore::clear()
{
    for (TextBuffer &value : digits_)
        value.clear();
    for (TextBuffer &value : letters_)
        value.clear();
    for (TextBuffer &line : freeLines_)
        line.clear();
    freeLineCount_ = 0;
}

TextBuffer *KeyedStore::valueOf(char key)
{
    if (isDigitKey(key))
        return &digits_[key - '0'];
    if (isLetterKey(key))
        return &letters_[key - 'a'];
    return nullptr;
}

void KeyedStore::set(char key, const char *text)
{
    if (TextBuffer *value = valueOf(key))
        value->set(text);
}

bool KeyedStore::hasValue(char letter) const
{
    return isLetterKey(letter) && letters_[letter - 'a'].hasValue();
}

const char *KeyedStore::value(char letter) const
{
    return isLetterKey(letter) ? letters_[letter - 'a'].get() : nullptr;
}

const char *KeyedStore::freeLine(int index) const
{
    return index >= 0 && index < kMaxFreeLines ? freeLines_[index].get() : nullptr;
}

void KeyedStore::takeLine(const char *line)
{
    // The reader delivers no empty lines, so line[1] is readable. The key stands in the first
    // byte and "=" in the second; nothing is trimmed.
    if (line[1] == '=') {
        if (TextBuffer *value = valueOf(line[0])) {
            value->set(line + 2);
            return;
        }
    }
    if (freeLineCount_ < kMaxFreeLines) {
        freeLines_[freeLineCount_].set(line);
        ++freeLineCount_;
    }
}

std::int32_t KeyedStore::load(const char *path)
{
    clear();
    if (!reader_.openForReading(path))
        return 0;
    TextBuffer line;
    while (reader_.nextLine(line))
        takeLine(line.get());
    // Not kept open: the next save replaces this very file.
    reader_.closeFile();
    return freeLineCount_;
}

void KeyedStore::save(const char *path, const char *header)
{
    if (!path || !*path)
        return;
    // A file that may not be written (read-only, or a directory in its place) stays as it is,
    // just as creating it in place would have failed; and a disk that fills up half-way must
    // not cost the user the state that was there.
    ReplacingFile stateFile(path);
    if (stateFile.begin() != ReplacingFile::Result::Done)
        return;
    CheckedWriter writer(stateFile.file());
    if (header && *header)
        writer.line(header);
    for (char key = '0'; key <= '9'; ++key) {
        if (digits_[key - '0'].hasValue())
            writer.keyed(key, digits_[key - '0'].get());
    }
    for (char key = 'a'; key <= 'z'; ++key) {
        if (letters_[key - 'a'].hasValue())
            writer.keyed(key, letters_[key - 'a'].get());
    }
    for (std::int32_t at = 0; at < freeLineCount_ && at < kMaxFreeLines; ++at) {
        if (freeLines_[at].hasValue())
            writer.line(freeLines_[at].get());
    }
    stateFile.finish(writer.complete());
}

} // namespace kpx
