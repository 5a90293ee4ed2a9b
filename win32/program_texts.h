// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <array>
#include <string>

#include "win32/aboutbox1.h"
#include "win32/form1.h"
#include "win32/mm_dirty_warning1.h"
#include "win32/sc_cheh1.h"

namespace kpx::win32 {

// Every text of the windows that is not a control's caption, as the behaviour layer defines it.
struct ProgramTexts {
    Form1Texts form1;
    AboutTexts about;
    std::u16string handbookCaption;
    std::array<HandbookPage, kHandbookPageCount> handbook;
    QuestionTexts question;
    std::u16string noticeCaption;
};

ProgramTexts programTexts();

} // namespace kpx::win32
