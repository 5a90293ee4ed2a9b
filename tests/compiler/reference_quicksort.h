// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

// The entry sort as plainly as it is described: a recursive quicksort with a middle pivot, the
// left part sorted before the right part. The compiler's sort takes shortcuts in its loop and
// its comparisons; its tables must come out in exactly this order, ties included.
namespace kpx::testing {

template <typename Item, typename Compare>
void referenceQuicksort(std::vector<Item> &items, std::ptrdiff_t first, std::ptrdiff_t last, Compare compare)
{
    const std::ptrdiff_t n = last - first + 1;
    if (n <= 1)
        return;
    if (n == 2) {
        if (compare(items[first], items[last]) > 0)
            std::swap(items[first], items[last]);
        return;
    }
    const Item pivot = items[first + n / 2];
    std::ptrdiff_t i = first;
    std::ptrdiff_t j = last;
    while (j >= i) {
        while (compare(items[i], pivot) < 0) {
            ++i;
            if (i > j)
                break;
        }
        while (compare(pivot, items[j]) < 0) {
            --j;
            if (j < i)
                break;
        }
        if (i <= j) {
            std::swap(items[i], items[j]);
            ++i;
            --j;
        }
    }
    if (j != last && first < j)
        referenceQuicksort(items, first, j, compare);
    if (i != first && i < last)
        referenceQuicksort(items, i, last, compare);
}

} // namespace kpx::testing
