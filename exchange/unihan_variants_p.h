// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <span>

// The Unihan variants of characters, generated at build time from the Unicode Consortium's
// Unihan_Variants.txt (exchange/gen_unihan_variants.py): per character, its traditional, Z-,
// semantic and specialised semantic variants in that order.
namespace kpx::exchange_detail {

struct UnihanVariantRow {
    char32_t character;
    std::uint32_t first; // into unihanVariantValues()
    std::uint32_t count;
};

// Sorted by character.
std::span<const UnihanVariantRow> unihanVariantRows();
std::span<const char32_t> unihanVariantValues();

} // namespace kpx::exchange_detail
