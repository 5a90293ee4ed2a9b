// SPDX-License-Identifier: GPL-2.0-or-later
#include "compiler/collation.h"

KeyComparison keyComparisonFor(char orderDigit)
{
    switch (normalisedOrder(orderDigit)) {
    case kOrderPy:
        return compareKeysPy;
    case kOrderIb:
        return compareKeysIb;
    default:
        return compareKeysTy;
    }
}
