// SPDX-License-Identifier: GPL-2.0-or-later
// Characters that Big5 writes another way: the first Unihan variant with a Big5 form.
#include <algorithm>

#include "exchange/exchange.h"
#include "exchange/unihan_variants_p.h"
#include "platform/text/big5_tables.h"

namespace kpx {

char32_t big5Variant(char32_t character)
{
    const std::span<const exchange_detail::UnihanVariantRow> rows = exchange_detail::unihanVariantRows();
    const auto found = std::lower_bound(rows.begin(), rows.end(), character,
        [](const exchange_detail::UnihanVariantRow &row, char32_t wanted) { return row.character < wanted; });
    if (found == rows.end() || found->character != character)
        return 0;
    const detail::Big5Tables &tables = detail::big5Tables();
    for (const char32_t variant : exchange_detail::unihanVariantValues().subspan(found->first, found->count)) {
        if (variant < 0x10000 && tables.codeOfUnit[variant] != 0)
            return variant;
    }
    return 0;
}

} // namespace kpx
