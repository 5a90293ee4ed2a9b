// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>

#include "io/line_reader.h"
#include "io/text_buffer.h"

namespace kpx {

// A small record of text values under the keys '0'-'9' and 'a'-'z', plus up to two free lines,
// kept in a key=value text file (Big5, CR LF). The window keeps its slot and caret position here.
class KeyedStore {
public:
    KeyedStore();
    ~KeyedStore();

    void clear();
    // A digit or letter key; other keys are ignored.
    void set(char key, const char *text);
    bool hasValue(char letter) const;
    // The raw value of a letter key: nullptr while it never had storage, else its text.
    const char *value(char letter) const;
    std::int32_t freeLineCount() const { return freeLineCount_; }
    const char *freeLine(int index) const;

    // Clears, then reads path. Returns the number of free lines taken in, 0 when the file cannot
    // be opened (the store stays empty).
    std::int32_t load(const char *path);
    // Writes header (when given), the digit values, the letter values and the free lines. The
    // file is replaced only once it is complete; a file that cannot be written is left alone.
    void save(const char *path, const char *header);

private:
    // The value of a digit or letter key, nullptr for any other byte.
    TextBuffer *valueOf(char key);
    // Takes one line of the file: a key=value line, else a free line while there is room.
    void takeLine(const char *line);

    // Holds the file only while a load is under way.
    LineReader reader_;
    TextBuffer digits_[10];
    TextBuffer letters_[26];
    TextBuffer freeLines_[2];
    std::int32_t freeLineCount_ = 0;
};

} // namespace kpx
