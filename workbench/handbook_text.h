// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string_view>

// The texts of the handbook window and the about box, in UTF-8, for every face. Every character
// is one of the Big5 code page, like the rest of the program's texts.
namespace kpx {

// Handbook pages are numbered 1 to 6 in tab order: the contents, then the five chapters.
inline constexpr int kHandbookPageCount = 6;

// Tab caption of a page: "目錄", "1. 設計原則", ... ; empty for a page number out of range.
std::string_view handbookPageCaption(int page);

// Text of a page, lines separated by "\n"; empty for a page number out of range.
std::string_view handbookPageText(int page);

// The handbook window's caption.
inline constexpr std::string_view kHandbookTitle = "使用小手冊";

// The about box Taboutbox1: its caption and labels. The contact details are made up: nobody is
// to be reached through them.
inline constexpr std::string_view kAboutTitle = "kpxv410.exe";
inline constexpr std::string_view kAboutProductName = "鷺笙輸入法 對照表輸入 詞庫製作 程式";
inline constexpr std::string_view kAboutVersion = "Version " KPX_VERSION;
inline constexpr std::string_view kAboutComments = "聯絡";
inline constexpr std::string_view kAboutContact[] = {
    "白鷺工作室(虛構)",
    "000 虛構市鷺鷥區示範路 0 號 0 樓",
    "電話/傳真 00-0000-0000",
    "協力：青笙資訊社(虛構)  電話 00-0000-0002",
};

} // namespace kpx
