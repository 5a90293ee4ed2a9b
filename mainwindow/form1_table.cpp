// SPDX-License-Identifier: GPL-2.0-or-later
// TForm1: making the lexicon table, the progress bar, save-and-make and sorting the lines.
#include "mainwindow/form1.h"

#include "mainwindow/data_file.h"
#include "platform/native_path.h"
#include "platform/text/qt_text.h"
#include "state/slot_names.h"
#include "compiler/table_compiler.h"

#include <QList>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTextBlock>
#include <QTextCursor>

namespace {

constexpr int kProgressMinimum = 0;
constexpr int kProgressMaximum = 1000;
// The bar is redrawn at most this often during a run; a redraw per line would cost more than
// the compiler's own work.
constexpr qint64 kProgressRedrawMs = 50;
// The longest line the compiler is given, in bytes.
constexpr std::size_t kMaxLineBytes = 4096;
// Sort takes at most this many lines.
constexpr int kSortLimit = 8000;

QString writeFailureText(const TableWriteReport &report)
{
    switch (report.failure) {
    case TableWriteFailure::NoPath:
        return QStringLiteral(u"無檔案名");
    case TableWriteFailure::ReadOnly:
        return QStringLiteral(u"檔案是唯讀 e，抑是遐有一個資料夾");
    case TableWriteFailure::CannotCreate:
        return QStringLiteral(u"檔案開袂起來（資料夾敢有存在？）");
    case TableWriteFailure::WriteFailed:
        return QStringLiteral(u"寫袂落去（磁碟敢滿矣？）");
    case TableWriteFailure::CannotReplace:
        return QStringLiteral(u"做好 e 對照表換袂入去原來 e 檔案");
    case TableWriteFailure::OutOfMemory:
        return QStringLiteral(u"記憶體無夠，詞條收袂了");
    case TableWriteFailure::None:
        break;
    }
    return QStringLiteral(u"毋知啥原因");
}

} // namespace

void TForm1::ProgressStep()
{
    // Past the maximum the bar starts again from its minimum, as a stepped progress bar does.
    ++progress_;
    if (progress_ > kProgressMaximum)
        progress_ = kProgressMinimum;
    emit progressStepped(progress_);
    if (progressRedrawn_.elapsed() >= kProgressRedrawMs)
        redrawProgress();
}

void TForm1::redrawProgress()
{
    ProgressBar1->setValue(progress_);
    ProgressBar1->repaint();
    progressRedrawn_.restart();
}

void TForm1::Jejok(bool showNotice)
{
    const int caret = caretPosition();
    tc_begin(0);
    progress_ = kProgressMinimum;
    progressRedrawn_.restart();

    const QTextDocument &document = *mm4indata1->document();
    const int lines = kpx::editorLineCount(document);
    kpx::EditorLines editorLines(document);
    std::u16string_view text;
    int position = 0;
    int badLine = 0;
    int badPosition = 0;
    QString badCharacter;
    for (int i = 0; i < lines && editorLines.next(text, position); ++i) {
        kpx::Big5EncodeResult line = kpx::encodeBig5(text);
        if (!line.ok()) {
            const std::size_t index = line.badPosition;
            const bool pair = QChar::isHighSurrogate(text[index]) && index + 1 < text.size();
            badLine = i + 1;
            badPosition = position + static_cast<int>(index);
            badCharacter = QString::fromUtf16(text.data() + index, pair ? 2 : 1);
            break;
        }
        if (line.bytes.size() > kMaxLineBytes)
            line.bytes.resize(kMaxLineBytes);
        tc_add_line(line.bytes.c_str());
        ProgressStep();
    }

    if (badLine == 0) {
        tc_order_and_sort(kpx::OrderDigit(slot_));
        const std::string path = tableFileName();
        const std::string id = kpx::TableId(slot_);
        const std::int32_t result = tc_write(path.c_str(), id.c_str());
        progress_ = kProgressMinimum;
        redrawProgress();
        const TableWriteReport &report = tc_last_write();
        const QString written = kpx::pathBytesText(kpx::os::nativePath(report.path.empty() ? path : report.path));
        if (result != 0 && showNotice) {
            this->showNotice(QStringLiteral(u"總共有 ") + QString::number(tc_count())
                             + QStringLiteral(u" 個詞條\r\n\r\n\r\n製作完成，檔案存做:\r\n\r\n") + written);
        } else if (result == 0) {
            QString reason = writeFailureText(report);
            if (!report.reason.empty())
                reason += QStringLiteral(u"\r\n（") + QString::fromLocal8Bit(report.reason.data(), static_cast<qsizetype>(report.reason.size())) + QStringLiteral(u"）");
            this->showNotice(QStringLiteral(u"對照表無做成，檔案寫袂落去:\r\n\r\n") + written
                             + QStringLiteral(u"\r\n\r\n") + reason
                             + QStringLiteral(u"\r\n\r\n原來 e 檔案無改變。"));
        }
    } else {
        progress_ = kProgressMinimum;
        redrawProgress();
        this->showNotice(QStringLiteral(u"第 %1 列有一個字「%2」（%3）無 Big5 碼，\r\n\r\n"
                                        u"對照表無做。\r\n請先改掉這個字。")
                             .arg(badLine)
                             .arg(badCharacter, kpx::codePointText(badCharacter)));
    }

    library_.notify(1);
    mm4indata1->setFocus(Qt::OtherFocusReason);
    putCaret(badLine == 0 ? caret : badPosition);
}

void TForm1::bnJejok1Click() { Jejok(true); }

void TForm1::mn4jejok1Click() { Jejok(true); }

void TForm1::mn4sj1Click()
{
    if (!saveWithCaretRestore())
        return;
    Jejok(false);
}

void TForm1::bnSort1Click()
{
    const int caret = caretPosition();
    QTextDocument &document = *mm4indata1->document();
    const int lines = kpx::editorLineCount(document);
    if (lines > kSortLimit) {
        showNotice(QStringLiteral(u"詞條過頭濟，排序可能有問題，\r\n\r\n請用其他工具\r\n或者是\r\n減少資料ｅ量"));
    } else if (lines > 0) {
        // Binary insertion: each line goes before the first one that does not compare less, so
        // lines that compare equal come out in the reverse of their order in the editor.
        QList<QString> sorted;
        sorted.reserve(lines);
        QTextBlock block = document.begin();
        for (int i = 0; i < lines; ++i, block = block.next()) {
            QString line = block.text();
            qsizetype lo = 0;
            qsizetype hi = sorted.size() - 1;
            while (lo <= hi) {
                const qsizetype mid = (lo + hi) / 2;
                if (kpx::compareLocaleIgnoringCase(sorted.at(mid), line) < 0)
                    lo = mid + 1;
                else
                    hi = mid - 1;
            }
            sorted.insert(lo, std::move(line));
        }
        QString text;
        for (const QString &line : sorted) {
            text += line;
            text += u'\n';
        }
        // One edit, so that Ctrl+Z takes the whole sort back.
        QTextCursor cursor(&document);
        cursor.select(QTextCursor::Document);
        cursor.insertText(text);
    }
    mm4indata1->setFocus(Qt::OtherFocusReason);
    putCaret(caret);
}
