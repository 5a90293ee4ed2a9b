// SPDX-License-Identifier: GPL-2.0-or-later
#include "win32/program_texts.h"

#include "workbench/program_texts.h"

namespace kpx::win32 {

ProgramTexts programTexts()
{
    ProgramTexts shown;
    shown.form1.caption = std::u16string(texts::kWindowTitle);
    shown.form1.programTitle = std::u16string(texts::kProgramTitle);
    shown.question = { std::u16string(texts::kQuestionTitle), std::u16string(texts::kQuestionLine1),
        std::u16string(texts::kQuestionLine2), std::u16string(texts::kQuestionYes), std::u16string(texts::kQuestionNo),
        std::u16string(texts::kQuestionCancel) };
    shown.noticeCaption = std::u16string(texts::kNoticeTitle);
    // The about box, like the notice, is captioned with the program file's name.
    shown.about.caption = std::u16string(texts::kNoticeTitle);
    return shown;
}

} // namespace kpx::win32
