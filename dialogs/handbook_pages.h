// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

#include "workbench/handbook_text.h"

// The handbook's texts as the Qt windows show them.
using kpx::kHandbookPageCount;

inline QString handbookPageCaption(int page)
{
    const std::string_view caption = kpx::handbookPageCaption(page);
    return QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
}

inline QString handbookPageText(int page)
{
    const std::string_view text = kpx::handbookPageText(page);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
