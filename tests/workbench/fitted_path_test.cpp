// SPDX-License-Identifier: GPL-2.0-or-later
// Paths shortened to fit a box, checked as properties over every width, with a measure in
// which wide characters count double.
#include "platform/text/big5_codec.h"
#include "workbench/fitted_path.h"
#include "workbench/program_texts.h"
#include <gtest/gtest.h>

namespace {

int measure(std::u16string_view text)
{
    int width = 0;
    for (const char16_t unit : text)
        width += unit >= 0x2E80 ? 2 : 1;
    return width;
}

TEST(FittedPath, FileNameWholeDirectoryShortenedInTheMiddle)
{
    const std::u16string paths[] = { u"C:\\vokelu\\kpx-ty1.txt", u"/home/使用者/一個真長 e 資料夾/vokelu/kpx-ib0.zd",
        u"/tmp/x", u"C:\\a\U0001F600b\U0001F600c\\d.txt" };
    for (const std::u16string &path : paths) {
        const std::size_t separator = path.find_last_of(u"\\/");
        const std::u16string_view name = std::u16string_view(path).substr(separator);
        const int whole = measure(path);
        int previous = 0;
        for (int width = 0; width <= whole + 2; ++width) {
            const std::u16string shown = kpx::fittedPath(path, width, measure);
            SCOPED_TRACE(width);
            if (width >= whole) {
                EXPECT_EQ(shown, path);
                continue;
            }
            // The name is whole at the end; what comes before is the directory's start, "…" and
            // its end; it fits unless only "…" and the name are left.
            ASSERT_GE(shown.size(), name.size() + 1);
            EXPECT_EQ(std::u16string_view(shown).substr(shown.size() - name.size()), name);
            const std::size_t ellipsis = shown.rfind(u'…');
            ASSERT_NE(ellipsis, std::u16string::npos);
            const std::u16string_view head = std::u16string_view(shown).substr(0, ellipsis);
            const std::u16string_view tail = std::u16string_view(shown).substr(ellipsis + 1);
            EXPECT_EQ(std::u16string_view(path).substr(0, head.size()), head);
            EXPECT_EQ(std::u16string_view(path).substr(path.size() - tail.size()), tail);
            EXPECT_TRUE(measure(shown) <= width || shown.size() == name.size() + 1);
            // No surrogate pair is split.
            for (const std::u16string_view part : { head, tail }) {
                if (!part.empty()) {
                    EXPECT_FALSE(part.back() >= 0xD800 && part.back() <= 0xDBFF);
                    EXPECT_FALSE(part.front() >= 0xDC00 && part.front() <= 0xDFFF);
                }
            }
            // A wider box never shows less.
            EXPECT_GE(measure(shown), previous);
            previous = measure(shown);
        }
    }
    // No directory to shorten.
    EXPECT_EQ(kpx::fittedPath(u"kpx-ty1.txt", 3, measure), u"kpx-ty1.txt");
}

TEST(FittedPath, CommonSystemReasonsInTheProgramsLanguage)
{
    using kpx::os::ErrorKind;
    EXPECT_EQ(kpx::texts::systemReason(ErrorKind::Other, u"Input/output error"), u"Input/output error");
    for (const ErrorKind kind :
        { ErrorKind::NoSuchFile, ErrorKind::PermissionDenied, ErrorKind::ReadOnlyFileSystem, ErrorKind::DiskFull }) {
        const std::u16string reason = kpx::texts::systemReason(kind, u"words");
        EXPECT_NE(reason, u"words");
        EXPECT_TRUE(kpx::encodeBig5Lines(reason).ok());
    }
}

} // namespace
