// SPDX-License-Identifier: GPL-2.0-or-later
#include "win32/program_texts.h"

namespace kpx::win32 {

ProgramTexts programTexts()
{
    ProgramTexts texts;
    texts.form1.caption = u"kpxv410  鷺笙輸入法 對照表輸入 資料/詞典 製作 程式";
    texts.form1.programTitle = u"對照表 製作程式";
    texts.about.productName = u"鷺笙輸入法 對照表輸入 詞庫製作 程式";
    texts.about.version = u"Version 4.10";
    texts.about.comments = u"聯絡";
    texts.dirtyLine1 = u"資料檔案已經修改過， iauve 存檔";
    texts.dirtyLine2 = u"是m是 現在 veh 存檔？";
    return texts;
}

} // namespace kpx::win32
