// SPDX-License-Identifier: GPL-2.0-or-later
// TForm1: the data-modified flag, the status bar, saving, the ask-to-save routine and the slot
// switch.
#include "mainwindow/form1.h"

#include "mainwindow/data_file.h"
#include "dialogs/mm_dirty_warning1.h"
#include "dialogs/okmes1.h"
#include "mainwindow/program_texts.h"
#include "state/slot_names.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QTextCursor>
#include <QToolButton>

using kpx::DataFileRead;
using kpx::DataFileWrite;

std::string TForm1::dataFileName() const { return kpx::DataFileName(slot_, driveLetter_); }

std::string TForm1::tableFileName() const { return kpx::TableFileName(slot_, driveLetter_); }

std::string TForm1::stateFileName() const { return kpx::StateFileName(driveLetter_); }

int TForm1::caretPosition() const { return mm4indata1->textCursor().selectionStart(); }

void TForm1::putCaret(int position)
{
    const int end = mm4indata1->document()->characterCount() - 1;
    QTextCursor cursor = mm4indata1->textCursor();
    cursor.setPosition(std::clamp(position, 0, std::max(end, 0)));
    mm4indata1->setTextCursor(cursor);
}

void TForm1::pressSlotButton(std::int32_t slot)
{
    SpeedButton[static_cast<std::size_t>(kpx::SlotButton(slot) - 1)]->setChecked(true);
}

// What the windowing framework shows for an error that ends a command: a box titled with the
// program's name.
void TForm1::showError(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, kpx::programTitle(), text, QMessageBox::Ok, this);
    box.exec();
}

void TForm1::showNotice(const QString &text)
{
    if (okmes1_)
        okmes1_->notice(text);
}

void TForm1::SetDirty(std::uint8_t value)
{
    if (mmDirtyWarning1_)
        mmDirtyWarning1_->dirty = value;
    RefreshStatusBar();
}

void TForm1::RefreshStatusBar()
{
    statusPanels_[0]->setText(QStringLiteral(u"總共"));
    statusPanels_[1]->setText(QString::number(kpx::editorLineCount(*mm4indata1->document()))
                              + QStringLiteral(u" 列"));
    const bool dirty = mmDirtyWarning1_ && mmDirtyWarning1_->dirty;
    statusPanels_[2]->setText(dirty ? QStringLiteral(u"資料修改過") : QString());
}

void TForm1::mm4indata1Change()
{
    if (loading_)
        return;
    SetDirty(1);
}

bool TForm1::confirmOverwriteAfterFailedLoad()
{
    const QString text =
        QStringLiteral(u"資料檔案\n%1\n頭拄仔讀袂入來，編輯器內底無這個檔案 e 資料。\n\n"
                       u"若存檔，這個檔案原來 e 內容會予編輯器 e 內容蓋掉。\n\n"
                       u"你確定 veh 存檔？")
            .arg(kpx::nativePathText(dataFileName()));
    QMessageBox box(QMessageBox::Warning, kpx::programTitle(), text, QMessageBox::Yes | QMessageBox::No, this);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

bool TForm1::saveData()
{
    if (loadFailed_ && !confirmOverwriteAfterFailedLoad())
        return false;
    const kpx::EditorBytes text = kpx::editorBytes(*mm4indata1->document());
    if (!text.ok) {
        showNotice(QStringLiteral(u"第 %1 列有一個字「%2」（%3）無 Big5 碼，\r\n\r\n"
                                  u"資料無存。\r\n請先改掉這個字才閣存檔。")
                       .arg(text.badLine)
                       .arg(text.badCharacter, kpx::codePointText(text.badCharacter)));
        mm4indata1->setFocus(Qt::OtherFocusReason);
        putCaret(text.badPosition);
        return false;
    }
    const DataFileWrite written = kpx::writeDataFile(kpx::nativeFileName(dataFileName()), text.bytes);
    switch (written.status) {
    case DataFileWrite::Status::Written:
        break;
    case DataFileWrite::Status::CannotCreate:
        showError(QStringLiteral("Cannot create file %1").arg(kpx::nativePathText(dataFileName())));
        return false;
    case DataFileWrite::Status::WriteFailed:
        showError(QStringLiteral(u"資料寫袂落去 %1\n\n原來 e 檔案無改變。\n\n（%2）")
                      .arg(kpx::nativePathText(dataFileName()), written.reason));
        return false;
    }
    loadFailed_ = false;
    SetDirty(0);
    return true;
}

void TForm1::mn4save1Click() { saveData(); }

bool TForm1::saveWithCaretRestore()
{
    const int caret = caretPosition();
    if (!saveData())
        return false;
    mm4indata1->setFocus(Qt::OtherFocusReason);
    putCaret(caret);
    return true;
}

void TForm1::bn4saveClick() { saveWithCaretRestore(); }

bool TForm1::askToSave()
{
    if (!mmDirtyWarning1_ || !mmDirtyWarning1_->dirty)
        return true;
    mmDirtyWarning1_->setAnswers(0, 0, 0);
    mmDirtyWarning1_->exec();
    if (mmDirtyWarning1_->answerYes) {
        if (!saveData())
            return false;
        SetDirty(0);
        return true;
    }
    return mmDirtyWarning1_->answerNo != 0;
}

bool TForm1::loadDataFile()
{
    const DataFileRead read = [this] {
        loading_ = true;
        const auto done = qScopeGuard([this] { loading_ = false; });
        mm4indata1->clear();
        DataFileRead result = kpx::readDataFile(kpx::nativeFileName(dataFileName()));
        if (result.status == DataFileRead::Status::Loaded) {
            // Straight into the document: QPlainTextEdit::setPlainText would go over the whole
            // text once more to format it, which costs seconds on a file of a million lines.
            // Loading starts a new undo history either way.
            mm4indata1->document()->setPlainText(result.text);
            mm4indata1->moveCursor(QTextCursor::Start);
            result.text.clear();
        }
        return result;
    }();
    switch (read.status) {
    case DataFileRead::Status::Missing:
    case DataFileRead::Status::Loaded:
        loadFailed_ = false;
        return true;
    case DataFileRead::Status::CannotOpen:
        loadFailed_ = true;
        RefreshStatusBar();
        showError(QStringLiteral("Cannot open file %1").arg(kpx::nativePathText(dataFileName())));
        return false;
    case DataFileRead::Status::TooLarge:
        loadFailed_ = true;
        RefreshStatusBar();
        showError(QStringLiteral("Text exceeds memo capacity"));
        return false;
    }
    return false;
}

bool TForm1::SwitchSlot(std::int32_t slot)
{
    if (!askToSave()) {
        pressSlotButton(slot_);
        return false;
    }
    slot_ = slot;
    pressSlotButton(slot_);
    ed4ifn1->setText(kpx::nativePathText(dataFileName()));
    ed4ifn1->setToolTip(ed4ifn1->text());
    ed4ofn1->setText(kpx::nativePathText(tableFileName()));
    ed4ofn1->setToolTip(ed4ofn1->text());
    // A file that exists but cannot be loaded leaves the editor empty and the flag as the
    // question left it; saving then asks before the empty text replaces the file.
    if (!loadDataFile())
        return false;
    SetDirty(0);
    return true;
}
