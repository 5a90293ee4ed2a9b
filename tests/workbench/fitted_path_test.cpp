// SPDX-License-Identifier: GPL-2.0-or-later
// Paths shortened to fit a box, checked as properties over every width, with a measure in
// which wide characters count double.
#include "workbench/fitted_path.h"
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
    for (const std::u16string path : { u"C:\\vokelu\\kpx-ty1.txt", u"/home/使用者/真長 e 資料夾/vokelu/kpx-ib0.zd" }) {
        const std::u16string name = path.substr(path.find_last_of(u"\\/"));
        int previous = 0;
        for (int width = 0; width <= measure(path); ++width) {
            SCOPED_TRACE(width);
            const std::u16string shown = kpx::fittedPath(path, width, measure);
            const std::size_t ellipsis = shown.find(u'…');
            if (width == measure(path) || ellipsis == std::u16string::npos) {
                EXPECT_EQ(shown, path);
                EXPECT_EQ(width, measure(path));
                continue;
            }
            // The directory's start, "…", its end, the whole name; it fits unless only "…" and the
            // name are left; a wider box never shows less.
            EXPECT_EQ(path.substr(0, ellipsis), shown.substr(0, ellipsis));
            const std::u16string tail = shown.substr(ellipsis + 1);
            EXPECT_EQ(path.substr(path.size() - tail.size()), tail);
            EXPECT_GE(tail.size(), name.size());
            EXPECT_TRUE(measure(shown) <= width || tail == name);
            EXPECT_GE(measure(shown), previous);
            previous = measure(shown);
        }
    }
    EXPECT_EQ(kpx::fittedPath(u"kpx-ty1.txt", 3, measure), u"kpx-ty1.txt");
}

} // namespace
