// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <cstdlib>
#include <utility>

namespace kpx {

// The growth rule of the compiler's lists: 16 first, doubling while the capacity is at most 512,
// then 1.1 times the capacity (16, 32, ... 512, 1024, 1126, 1238, 1361, ...).
constexpr std::int32_t grownCapacity(std::int32_t capacity)
{
    if (capacity < 16)
        return 16;
    if (capacity <= 512)
        return capacity * 2;
    const std::int64_t next = static_cast<std::int64_t>(capacity) * 11 / 10;
    return next > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(next);
}

// A list of trivially copyable items that grows by that rule. It owns its array.
template <typename T> class GrowableArray {
public:
    GrowableArray() = default;
    ~GrowableArray() { std::free(items_); }
    GrowableArray(const GrowableArray &) = delete;
    GrowableArray &operator=(const GrowableArray &) = delete;

    // False when memory ran out; the list is then unchanged.
    [[nodiscard]] bool append(const T &item)
    {
        if (count_ == capacity_) {
            if (capacity_ == INT32_MAX || !resize(grownCapacity(capacity_)))
                return false;
        }
        items_[count_++] = item;
        return true;
    }
    // Reallocates to exactly n items when n is above the capacity.
    [[nodiscard]] bool reserveExactly(std::int32_t n) { return n <= capacity_ || resize(n); }

    T *begin() { return items_; }
    T *end() { return items_ + count_; }
    const T *begin() const { return items_; }
    const T *end() const { return items_ + count_; }
    T &operator[](std::int32_t index) { return items_[index]; }
    const T &operator[](std::int32_t index) const { return items_[index]; }
    std::int32_t count() const { return count_; }
    std::int32_t capacity() const { return capacity_; }
    bool owned() const { return owned_; }
    void empty() { count_ = 0; }

private:
    bool resize(std::int32_t capacity)
    {
        auto *bigger = static_cast<T *>(std::realloc(items_, sizeof(T) * static_cast<std::size_t>(capacity)));
        if (!bigger)
            return false;
        items_ = bigger;
        capacity_ = capacity;
        owned_ = true;
        return true;
    }

    T *items_ = nullptr;
    std::int32_t count_ = 0;
    std::int32_t capacity_ = 0;
    bool owned_ = false;
};

} // namespace kpx
