// SPDX-License-Identifier: GPL-2.0-or-later
#include "win32/program_texts.h"

#include "workbench/handbook_text.h"
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
    shown.about.caption = fromUtf8(kAboutTitle);
    shown.about.productName = fromUtf8(kAboutProductName);
    shown.about.version = fromUtf8(kAboutVersion);
    shown.about.comments = fromUtf8(kAboutComments);
    for (std::size_t i = 0; i < shown.about.contact.size(); ++i)
        shown.about.contact[i] = fromUtf8(kAboutContact[i]);
    shown.handbookCaption = fromUtf8(kHandbookTitle);
    for (int page = 1; page <= kHandbookPageCount; ++page) {
        HandbookPage &shownPage = shown.handbook[static_cast<std::size_t>(page - 1)];
        shownPage.caption = fromUtf8(handbookPageCaption(page));
        shownPage.text = fromUtf8(handbookPageText(page));
    }
    return shown;
}

} // namespace kpx::win32
