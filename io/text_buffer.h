// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

namespace kpx {

// An owned, zero-terminated Big5 byte string that grows on demand. Empty means "not set".
//
// capacity() follows the buffer's own rule (reserve asks for exactly n bytes); the storage
// underneath grows geometrically, so that a line assembled block by block costs linear time.
class TextBuffer {
public:
    TextBuffer() = default;
    ~TextBuffer();
    TextBuffer(const TextBuffer &) = delete;
    TextBuffer &operator=(const TextBuffer &) = delete;
    TextBuffer(TextBuffer &&other) noexcept;
    TextBuffer &operator=(TextBuffer &&other) noexcept;

    // Makes room for n bytes (terminator included). False when memory ran out; the buffer is
    // then unchanged.
    [[nodiscard]] bool reserve(std::int32_t n);
    // A null text changes nothing. False when memory ran out.
    bool set(const char *text);
    // A null or empty text changes nothing. False when memory ran out.
    bool append(const char *text);
    bool append(const char *bytes, std::size_t count);

    bool hasValue() const { return bytes_ && bytes_[0] != 0; }
    // Null while the buffer never had storage, else its text (possibly empty).
    const char *get() const { return bytes_; }
    // For callers that work on the text in place (the column splitter writes zero bytes into it).
    char *data()
    {
        lengthKnown_ = false;
        return bytes_;
    }
    void clear();

    std::int32_t capacity() const { return capacity_; }
    bool ownsStorage() const { return owned_; }
    std::size_t length() const;

private:
    bool grow(std::size_t needed);

    char *bytes_ = nullptr;
    std::int32_t capacity_ = 0;
    bool owned_ = false;
    std::size_t allocated_ = 0;
    mutable std::size_t length_ = 0;
    mutable bool lengthKnown_ = true;
};

} // namespace kpx
