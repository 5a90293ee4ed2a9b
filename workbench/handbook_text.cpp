// SPDX-License-Identifier: GPL-2.0-or-later
#include "workbench/handbook_text.h"

// The pages are written the way our users talk: Mandarin characters with Taiwanese words,
// some of them in romanisation. The particle ê is written "e" and the measure word 个 is
// written 個, because neither ê nor 个 exists in Big5.

namespace kpx {
namespace {

const char *const kCaptions[kHandbookPageCount] = {
    "目錄",
    "1. 設計原則",
    "2. 定義",
    "3. 舉例",
    "4. 使用建議",
    "5. 資料若足濟",
};

const char kContents[] = R"(鷺笙輸入法  對照表輸入  詞庫製作程式
使用小手冊

目錄

    1. 設計原則
    2. 定義
    3. 舉例
    4. 使用建議
    5. 資料若足濟

請點頂面 e 頁籤，看逐章 e 內容。

鷺笙輸入法 e 對照表輸入，m是 干焦會使用佇拼音輸入：仝款 e 對照表，嘛會使做字形輸入法 e 詞庫，親像倉頡輸入法；你家己設計 e 輸入法嘛會使用。按鍵 veh 按怎排，攏由你家己決定。
)";

const char kDesign[] = R"(1. 設計原則

鷺笙輸入法 e 使用者詞庫，照排列順序分做三種：

  ty  鷺笙式拼音 e 順序。聲調數字會使加，嘛會使無加；
      c kap ch 當做仝款。
  py  一般拼音 e 順序。聲調數字會使加，嘛會使無加。
  ib  ASCII (字元碼) e 順序，適合用字形組字 e 輸入法。

三種順序會使先後輪流用，m過袂使同時用。ib 順序猶未完成。

資料檔案 kap 對照表檔案 e 配對是固定 e，總共 30 組：

  資料檔案                    對照表檔案
  c:\vokelu\kpx-ty1.txt   →   c:\vokelu\kpx-ty1.zd
  c:\vokelu\kpx-ty2.txt   →   c:\vokelu\kpx-ty2.zd
        ……                          ……
  c:\vokelu\kpx-ty9.txt   →   c:\vokelu\kpx-ty9.zd
  c:\vokelu\kpx-ty0.txt   →   c:\vokelu\kpx-ty0.zd
  c:\vokelu\kpx-py1.txt   →   c:\vokelu\kpx-py1.zd
        ……                          ……
  c:\vokelu\kpx-py0.txt   →   c:\vokelu\kpx-py0.zd
  c:\vokelu\kpx-ib1.txt   →   c:\vokelu\kpx-ib1.zd
        ……                          ……
  c:\vokelu\kpx-ib0.txt   →   c:\vokelu\kpx-ib0.zd

c: 是 Windows 所在 e 磁碟機；Windows 若裝佇別個磁碟機，
就換做彼個字母。主視窗頂面三列 "1" 到 "0" e 鈕仔，
就是這 30 組檔案。

做法：先共詞輸入去資料檔案，才用資料檔案製作對照表檔案，
按呢輸入法就會使用矣。
)";

const char kDefinitions[] = R"(2. 定義

空白：    space (空白字元) 抑是 tab 攏是空白；
          連續幾個空白算做一個。
欄：      兩個空白中間 e 字串。
註解列：  空列，抑是 "//" 佇下面三個所在 e 列：
            第一欄 e 頭前，
            第一欄 e 尾仔，
            第二欄 e 頭前。
          註解列會使共家己 e 資料整理 kah 較清楚。
包含列：  用 #include 起頭，而且拄好有兩欄。
資料列：  有兩欄抑是較濟欄，而且 m是註解列；
          第三欄以後 e 欄攏無算。
          第一欄是輸入 e 按鍵，第二欄是輸出。
          按鍵上濟 32 個，輸出上濟 64 個字元
          (一個漢字算兩個字元)。

註：「拄好」就是「恰好、剛好」e 意思。
)";

const char kExample[] = R"(// 1. 這是一個資料檔案 e 例，"//" 起頭 e 列是註解列。
// 2. 下面這列共程式目錄內底 e example.txt 包入來，
//    角括號 < > 會使省略。
#include  <c:\vokelu\example.txt>
// 3. example.txt 內底有幾個地名，按鍵攏用 d 起頭。
//    佇 Linux 頂面，c:\ 是使用者 e 家目錄 (home)，
//    所以彼個檔案是 ~/vokelu/example.txt。
// 4. 資料列：按鍵 kap 輸出中間用空白抑是 tab 隔開，
//    音節用 "-" 連起來，嘛會使用簡寫。
hu-jik-zin	負責人
tai-gi	台語
kau-cha    教材
sbs        鷺笙輸入法
lhb        老厝邊
// 5. 第二欄用 "//" 起頭，是註解列：
gau-cha    //早起 e 相借問
kpx        //對照表
// 6. 干焦一欄 e 列無算：
字元
// 7. m// 這款第一欄是註解列：
m//    敢是人名？
// 8. 人名 e 按鍵建議用 m 起頭，地名用 d，雜誌名用 j：
m-ong-sio-bing    王小明
d-lok-kang        鹿港
j-lok-seng        鷺笙季刊
)";

const char kAdvice[] = R"(4. 使用建議

阮家己是按呢用 e：

1. 共這個程式囥佇辦公室套裝軟體 e 快捷列，抑是桌面 e 捷徑，隨時會使叫出來。

2. 寫文章 e 時，若拄著新 e 詞，先共伊反白、複製，用 Alt-Tab 切換來這個程式，貼落去，才閣轉去繼續寫；伊 e 按鍵等有閒才補。

3. 干焦一欄 e 列永遠袂入對照表；隨時會使佇頭前加 // ，共伊變做註解列。

4. 程式會記得上尾擺存檔 e 狀態，下擺開起來就是上尾彼個資料檔案，m免閣揣。m過有時仔存檔一下較保險，免得拄著停電。

5. 袂使同時開兩個這個程式，若無兩爿 e 資料會無仝步。程式開咧 e 時，請用工作列抑是 Alt-Tab 轉來，m通閣開一擺。(這個限制，希望後一版會使解決。)

6. 有問題 e 列：按 F3 抑是 F5 製作對照表了後，若有 e 列無做成詞條 (干焦一欄、輸入碼超過 32 位元組、輸出 e 字超過 64 位元組、兩個加起來傷長、#include e 檔案開袂起來抑是循環)，抑是有詞條 kap 頭前 e 詞條完全仝款，編輯區下面會出現一個清單，標題寫幾列無做成詞條。逐列寫列號、檔案 kap 原因；佇編輯區 e 列頂按 Enter 抑是點兩下，游標就跳去彼列。資料一改，清單就收起來，下擺製作才閣出現。

7. 揣字 kap 跳列：Ctrl+F 揣字，Enter 揣後一個，Shift+Enter 揣頂一個；英文字母無分大細字，揣到尾溜會對頭閣揣，嘛會講這是第幾個、總共幾個。Ctrl+G 跳到第幾列。揣字 kap 跳列攏袂改著資料。

8. 佮別 e 輸入法交換詞：「檔案」選單 e 「匯入 詞」kap「匯出 詞」會曉讀寫 RIME e 詞典 (*.dict.yaml)、fcitx5 e 碼表原始檔 kap UTF-8 e 詞表 (*.tsv，一列「按鍵 tab 字詞」)。檔案 e 種類看檔案名，檔案名看袂出來就照對話框內底選 e 種類。
   匯出：共這個資料位置 e 詞條 (#include e 檔案嘛照製作對照表 e 方法讀入來) 寫入你選 e 檔案；會問你 veh 照對照表 e 順序抑是資料 e 順序。重複 e 詞條干焦寫一擺；註解列、#include 列 kap 無做成詞條 e 列攏無寫，完成了後會講各有幾列。
   匯入：共檔案內底 e 詞條變做「按鍵 字詞」e 資料列，囥佇編輯區 e 尾仔，原來 e 資料攏無改。這是一個改變，Ctrl+Z 會使一擺復原；愛存檔才會寫入資料檔案。有字無 Big5 碼，抑是按鍵超過 32 位元組、字詞超過 64 位元組 e 詞無匯入，問題清單會寫伊佇檔案 e 第幾列 kap 原因。
   CSV 詞表 (*.csv，像 ChhoeTaigi e 詞表) kap 超過兩欄 e UTF-8 詞表，程式會提標題列 e 欄名問你佗一欄是按鍵、佗一欄是字詞。
   匯入 e 時，按鍵會改做資料檔案 e 寫法：白話字 (POJ) kap 台羅 e 聲調符號換做音節尾 e 數字 (第 1、4 聲無數字)，o 邊仔 e 點寫做 oo，鼻音 e 細 n 寫做 nn；「a/b」兩種讀法分做兩條；詞中間 e 空白換做 -；大寫換做小寫。字詞內底無 Big5 碼 e 字，若 Unicode e Unihan 資料庫講伊有 Big5 有 e 異體字 (正體、Z 異體、意義仝款 e 字)，就換做彼個字，問題清單會寫佇第幾列、啥物字換做啥物字；無異體字 e 詞照原來無匯入。
   匯入進前，程式會先講會讀著幾個詞、會匯入幾個詞條、按鍵改幾個 (照改 e 種類)、換幾個異體字、幾個詞袂當匯入 (照原因) kap 頭幾列袂當匯入 e 列。按「匯入」才匯入；若無愛換異體字，按「匯入，異體字無換」；按「取消」啥物攏無改。
   資料檔案若是 UTF-8 e 文字 (m是 Big5)，讀入來 e 時程式會問你 veh 換做 Big5 無；無愛換就照原樣顯示，啥物攏無改。換做 Big5 嘛是一個改變，會使復原，愛存檔才會寫入。

9. 用鍵盤操作：Ctrl+Tab 對編輯區跳去資料位置 e 按鈕，用方向鍵揀位置，Enter 抑是空白鍵換過去，Tab 轉來編輯區。「編輯」選單有復原 (Ctrl+Z)、取消復原 (Ctrl+Y 抑是 Ctrl+Shift+Z) kap 資料 ASCII 排序 (Alt+E, O)。佇編輯區 Shift+Enter kap Enter 仝款是換列。
)";

const char kMuchData[] = R"(5. 資料若足濟

佇 Windows 95 頂面，這個程式 e 編輯區 kap 記事本仝款，上濟干焦會使囥 32K e 文字。資料若足濟，有幾種辦法：

1. 共詞分做幾個資料檔案，逐個檔案製作一個對照表。

2. 用 Windows NT 4.0 抑是較新 e 版本，遐無這個限制；佇遐製作 e 對照表，Windows 95 嘛會使用。

3. 另外寫幾個純文字 e 資料檔案 (例：a.txt kap b.box)，囥佇程式 e 目錄，才佇資料檔案內底加包含列，親像：

#include  <c:\vokelu\a.txt>
#include  <c:\vokelu\b.box>

按呢製作對照表 e 時，嘛會共遮 e 檔案讀入來。

其他 e 需要 (親像參加自動換詞 e 單字對照表)，請看使用手冊，抑是照「關於 鷺笙輸入法」內底 e 聯絡資料 kap 阮聯絡。
)";

const char *const kTexts[kHandbookPageCount] = {
    kContents,
    kDesign,
    kDefinitions,
    kExample,
    kAdvice,
    kMuchData,
};

} // namespace

std::string_view handbookPageCaption(int page)
{
    if (page < 1 || page > kHandbookPageCount)
        return {};
    return kCaptions[page - 1];
}

std::string_view handbookPageText(int page)
{
    if (page < 1 || page > kHandbookPageCount)
        return {};
    return kTexts[page - 1];
}

} // namespace kpx
