// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string_view>

// The user locale's case-insensitive string order used by the Sort command.
namespace kpx {

// Negative, zero or positive as a comes before, equals or comes after b in the user's default
// locale, ignoring letter case ("A" equals "a").
int compareLocaleIgnoringCase(std::u16string_view a, std::u16string_view b);

// Picks the locale for later comparisons by name ("en_US", "zh_TW"); an empty name means the
// user's default. Tests set it explicitly; the program never calls it.
void setCollationLocaleForTesting(std::string_view localeName);

} // namespace kpx
