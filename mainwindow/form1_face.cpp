// SPDX-License-Identifier: GPL-2.0-or-later
// TForm1 as the Workbench's face: the editor, the panel, the bars, the questions and notices.
#include <algorithm>

#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolButton>

#include "dialogs/mm_dirty_warning1.h"
#include "dialogs/okmes1.h"
#include "mainwindow/finding_widgets.h"
#include "mainwindow/form1.h"
#include "platform/text/qt_text.h"
#include "state/slot_names.h"
#include "workbench/fitted_path.h"
#include "workbench/program_texts.h"

namespace {

// QLineEdit keeps this many pixels free at either side of its text (its private horizontalMargin).
constexpr int kLineEditHorizontalMargin = 2;

} // namespace

std::u16string TForm1::editorText() const
{
    // The document's own text keeps U+2029 between its blocks, one unit per line break, so that
    // indices in it are cursor positions.
    const QString text = mm4indata1->document()->toRawText();
    return std::u16string(kpx::u16View(text));
}

bool TForm1::loadEditorText(std::u16string_view text)
{
    // Straight into the document: QPlainTextEdit::setPlainText would go over the whole text once
    // more to format it, which costs seconds on a file of a million lines. Loading starts a new
    // undo history either way.
    mm4indata1->clear();
    if (!loadedText_.isNull() && text.data() == reinterpret_cast<const char16_t *>(loadedText_.utf16())) {
        loadedText_.truncate(static_cast<qsizetype>(text.size()));
        mm4indata1->document()->setPlainText(loadedText_);
    } else {
        mm4indata1->document()->setPlainText(kpx::qtText(text));
    }
    loadedText_ = QString();
    mm4indata1->moveCursor(QTextCursor::Start);
    // The document holds whatever fits in memory; running out throws, which the Workbench takes.
    return true;
}

char16_t *TForm1::editorTextStorage(std::size_t capacity)
{
    loadedText_ = QString(static_cast<qsizetype>(capacity), Qt::Uninitialized);
    return reinterpret_cast<char16_t *>(loadedText_.data());
}

void TForm1::replaceEditorText(std::u16string_view text)
{
    // One edit, so that Ctrl+Z takes it back whole.
    QTextCursor cursor(mm4indata1->document());
    cursor.select(QTextCursor::Document);
    cursor.insertText(kpx::qtText(text));
}

void TForm1::markEditorSaved()
{
    // The document joins typing into the step before only while it is modified: a save ends the
    // step, and undo and redo tell when they come back to it.
    markingSaved_ = true;
    mm4indata1->document()->setModified(false);
    markingSaved_ = false;
}

bool TForm1::editorAtSavedText() const
{
    return !mm4indata1->document()->isModified();
}

void TForm1::replaceEditorRange(std::size_t position, std::size_t length, std::u16string_view text)
{
    QTextCursor cursor(mm4indata1->document());
    cursor.setPosition(static_cast<int>(position));
    cursor.setPosition(static_cast<int>(position + length), QTextCursor::KeepAnchor);
    cursor.insertText(kpx::qtText(text));
    mm4indata1->setTextCursor(cursor);
}

std::size_t TForm1::editorLineCount() const
{
    return static_cast<std::size_t>(mm4indata1->document()->blockCount());
}

bool TForm1::editorLastLineEmpty() const
{
    // QTextBlock::length() counts the block's separator too.
    return mm4indata1->document()->lastBlock().length() <= 1;
}

std::size_t TForm1::caretPosition() const
{
    return static_cast<std::size_t>(mm4indata1->textCursor().selectionStart());
}

void TForm1::putCaret(std::size_t position)
{
    const int end = std::max(mm4indata1->document()->characterCount() - 1, 0);
    QTextCursor cursor = mm4indata1->textCursor();
    cursor.setPosition(static_cast<int>(std::min<std::size_t>(position, static_cast<std::size_t>(end))));
    mm4indata1->setTextCursor(cursor);
}

void TForm1::focusEditor()
{
    mm4indata1->setFocus(Qt::OtherFocusReason);
}

void TForm1::pressSlotButton(std::int32_t slot)
{
    SpeedButton[static_cast<std::size_t>(kpx::SlotButton(slot) - 1)]->setChecked(true);
    setSlotTabStop(kpx::SlotButton(slot));
}

void TForm1::showPath(QLineEdit *box, std::u16string_view path)
{
    // The room for text inside the frame and the line edit's own margins.
    QStyleOptionFrame option;
    option.initFrom(box);
    option.lineWidth = box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box) : 0;
    const QRect room = box->style()->subElementRect(QStyle::SE_LineEditContents, &option, box);
    const QMargins margins = box->textMargins();
    const int width = room.width() - margins.left() - margins.right() - 2 * kLineEditHorizontalMargin;
    const QFontMetrics metrics(box->font());
    const std::u16string shown = kpx::fittedPath(
        path, width, [&metrics](std::u16string_view text) { return metrics.horizontalAdvance(kpx::qtText(text)); });
    box->setText(kpx::qtText(shown));
    box->setCursorPosition(0);
    box->setToolTip(kpx::qtText(path));
}

void TForm1::showPaths(std::u16string_view tablePath, std::u16string_view dataPath)
{
    showPath(ed4ifn1, dataPath);
    showPath(ed4ofn1, tablePath);
}

void TForm1::setStatusPanel(int panel, std::u16string_view text)
{
    statusPanels_.at(static_cast<std::size_t>(panel))->setText(kpx::qtText(text));
}

void TForm1::showProgress(int position)
{
    ProgressBar1->setValue(position);
    ProgressBar1->repaint();
}

kpx::DirtyAnswer TForm1::askUnsavedData()
{
    return mmDirtyWarning1_ ? mmDirtyWarning1_->ask() : kpx::DirtyAnswer::None;
}

void TForm1::showNotice(std::u16string_view text)
{
    if (okmes1_)
        okmes1_->notice(kpx::qtText(text));
}

// What the windowing framework shows for an error that ends a command: a box titled with the
// program's name.
void TForm1::showError(std::u16string_view text)
{
    QMessageBox box(
        QMessageBox::Critical, kpx::qtText(kpx::texts::kProgramTitle), kpx::qtText(text), QMessageBox::NoButton, this);
    box.setEscapeButton(box.addButton(kpx::qtText(kpx::texts::kCaption_OK), QMessageBox::AcceptRole));
    box.exec();
}

bool TForm1::confirm(std::u16string_view text)
{
    QMessageBox box(
        QMessageBox::Warning, kpx::qtText(kpx::texts::kProgramTitle), kpx::qtText(text), QMessageBox::NoButton, this);
    QPushButton *const yes = box.addButton(kpx::qtText(kpx::texts::kButtonYes), QMessageBox::YesRole);
    QPushButton *const no = box.addButton(kpx::qtText(kpx::texts::kButtonNo), QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void TForm1::showProblems(std::u16string_view title, std::size_t rows)
{
    if (!problemsPanel_)
        return;
    // On opening, the list takes a third of the editor's height.
    const bool opening = rows > 0 && !problemsPanel_->isVisible();
    problemsPanel_->show(kpx::qtText(title), rows);
    if (opening) {
        const int height = editorSplitter_->height();
        editorSplitter_->setSizes({ height - height / 3, height / 3 });
    }
}

void TForm1::selectText(std::size_t position, std::size_t length)
{
    const int end = std::max(mm4indata1->document()->characterCount() - 1, 0);
    const auto clamped = [end](std::size_t at) { return static_cast<int>(std::min<std::size_t>(at, end)); };
    QTextCursor cursor = mm4indata1->textCursor();
    cursor.setPosition(clamped(position));
    cursor.setPosition(clamped(position + length), QTextCursor::KeepAnchor);
    mm4indata1->setTextCursor(cursor);
    mm4indata1->ensureCursorVisible();
}

bool TForm1::askLineNumber(std::u16string_view prompt, std::int64_t current, std::int64_t last, std::int64_t &line)
{
    const int top = static_cast<int>(std::min<std::int64_t>(last, INT32_MAX));
    QInputDialog dialog(this);
    dialog.setWindowTitle(kpx::qtText(kpx::texts::kGoToLineTitle));
    dialog.setLabelText(kpx::qtText(prompt));
    dialog.setInputMode(QInputDialog::IntInput);
    dialog.setIntRange(1, top);
    dialog.setIntValue(static_cast<int>(std::min<std::int64_t>(current, top)));
    dialog.setOkButtonText(kpx::qtText(kpx::texts::kButtonOk));
    dialog.setCancelButtonText(kpx::qtText(kpx::texts::kButtonCancel));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    line = dialog.intValue();
    return true;
}

void TForm1::mnFind1Click()
{
    findBar_->open();
}

void TForm1::mnGoToLine1Click()
{
    workbench_->GoToLine();
}
