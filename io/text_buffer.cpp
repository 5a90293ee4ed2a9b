// SPDX-License-Identifier: GPL-2.0-or-later
#include "io/text_buffer.h"

#include <cstdlib>
#include <cstring>
#include <utility>

namespace kpx {

TextBuffer::~TextBuffer()
{
    std::free(bytes_);
}

TextBuffer::TextBuffer(TextBuffer &&other) noexcept
    : bytes_(std::exchange(other.bytes_, nullptr))
    , capacity_(std::exchange(other.capacity_, 0))
    , owned_(std::exchange(other.owned_, false))
    , allocated_(std::exchange(other.allocated_, 0))
    , length_(std::exchange(other.length_, 0))
    , lengthKnown_(std::exchange(other.lengthKnown_, true))
{
}

TextBuffer &TextBuffer::operator=(TextBuffer &&other) noexcept
{
    if (this != &other) {
        std::free(bytes_);
        bytes_ = std::exchange(other.bytes_, nullptr);
        capacity_ = std::exchange(other.capacity_, 0);
        owned_ = std::exchange(other.owned_, false);
        allocated_ = std::exchange(other.allocated_, 0);
        length_ = std::exchange(other.length_, 0);
        lengthKnown_ = std::exchange(other.lengthKnown_, true);
    }
    return *this;
}

bool TextBuffer::grow(std::size_t needed)
{
    if (needed <= allocated_)
        return true;
    std::size_t size = needed;
    // Repeated appends double the storage instead of copying the text again each time.
    if (allocated_ > 0 && size < allocated_ * 2)
        size = allocated_ * 2;
    auto *bigger = static_cast<char *>(std::realloc(bytes_, size));
    if (!bigger && size > needed) {
        size = needed;
        bigger = static_cast<char *>(std::realloc(bytes_, size));
    }
    if (!bigger)
        return false;
    if (!bytes_)
        bigger[0] = 0;
    bytes_ = bigger;
    allocated_ = size;
    return true;
}

bool TextBuffer::reserve(std::int32_t n)
{
    if (capacity_ >= n)
        return true;
    if (!grow(static_cast<std::size_t>(n)))
        return false;
    capacity_ = n;
    owned_ = true;
    return true;
}

std::size_t TextBuffer::length() const
{
    if (!bytes_)
        return 0;
    if (!lengthKnown_) {
        length_ = std::strlen(bytes_);
        lengthKnown_ = true;
    }
    return length_;
}

bool TextBuffer::set(const char *text)
{
    if (!text)
        return true;
    const std::size_t count = std::strlen(text);
    if (count >= INT32_MAX || !reserve(static_cast<std::int32_t>(count + 1)))
        return false;
    std::memmove(bytes_, text, count + 1);
    length_ = count;
    lengthKnown_ = true;
    return true;
}

bool TextBuffer::append(const char *text)
{
    return text ? append(text, std::strlen(text)) : true;
}

bool TextBuffer::append(const char *bytes, std::size_t count)
{
    if (!bytes || count == 0)
        return true;
    const std::size_t current = length();
    if (current + count + 3 >= INT32_MAX)
        return false;
    if (!reserve(static_cast<std::int32_t>(current + count + 3)))
        return false;
    std::memcpy(bytes_ + current, bytes, count);
    bytes_[current + count] = 0;
    length_ = current + count;
    lengthKnown_ = true;
    return true;
}

void TextBuffer::clear()
{
    if (bytes_)
        bytes_[0] = 0;
    length_ = 0;
    lengthKnown_ = true;
}

} // namespace kpx
