// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

// The texts of the handbook window. Pages are numbered 1 to 6 in tab order: the contents,
// then the five chapters. Every character is one of the Big5 code page, like the rest of the
// program's texts.

inline constexpr int kHandbookPageCount = 6;

// Tab caption of a page: "目錄", "1. 設計原則", ... ; empty for a page number out of range.
QString handbookPageCaption(int page);

// Text of a page, lines separated by "\n"; empty for a page number out of range.
QString handbookPageText(int page);
