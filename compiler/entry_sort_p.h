// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <utility>

#include "compiler/entry_list_p.h"

namespace kpx {

// The quicksort that puts the entries into table order. Its exact sequence of comparisons is
// part of the table format: the key orders are not antisymmetric where hyphens stand at
// different places, so another algorithm could order such entries differently.
//
// compare(x, y) is negative when x goes before y. Of the two parts of a partition the smaller is
// sorted by recursion and the larger by the loop, which keeps the stack depth logarithmic; the
// parts are disjoint, so the order in which they are sorted does not change the result.
template <typename Compare>
void sortEntryRange(Entry *items, std::ptrdiff_t first, std::ptrdiff_t pastEnd, Compare compare)
{
    for (;;) {
        const std::ptrdiff_t n = pastEnd - first;
        if (n < 2)
            return;
        const std::ptrdiff_t last = pastEnd - 1;
        if (n == 2) {
            if (compare(items[first], items[last]) > 0)
                std::swap(items[first], items[last]);
            return;
        }
        const Entry pivot = items[first + n / 2];
        std::ptrdiff_t i = first;
        std::ptrdiff_t j = last;
        while (j >= i) {
            while (compare(items[i], pivot) < 0) {
                ++i;
                if (i > j)
                    break;
            }
            // The right scan compares at least once even when the left scan ran past j.
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
        const bool sortLeft = j != last && first < j;
        const bool sortRight = i != first && i < last;
        if (sortLeft && sortRight) {
            if (j + 1 - first <= pastEnd - i) {
                sortEntryRange(items, first, j + 1, compare);
                first = i;
            } else {
                sortEntryRange(items, i, pastEnd, compare);
                pastEnd = j + 1;
            }
        } else if (sortLeft) {
            pastEnd = j + 1;
        } else if (sortRight) {
            first = i;
        } else {
            return;
        }
    }
}

} // namespace kpx
