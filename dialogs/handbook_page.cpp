// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialogs/handbook_page.h"

#include <QFrame>
#include <QPalette>
#include <QPlainTextEdit>
#include <QVBoxLayout>

HandbookPage::HandbookPage(
    const QString &pageName, const QString &memoName, const QString &text, Look look, QWidget *parent)
    : QWidget(parent)
    , memo_(new QPlainTextEdit(this))
{
    setObjectName(pageName);
    memo_->setObjectName(memoName);
    memo_->setPlainText(text);

    // The Tab key moves on to the next control, except where a page wants tabs typed.
    memo_->setTabChangesFocus(look != Look::NoWrapTabs);
    memo_->setLineWrapMode(
        look == Look::NoWrap || look == Look::NoWrapTabs ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
    if (look == Look::Grey) {
        memo_->setFrameShape(QFrame::NoFrame);
        QPalette palette = memo_->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Window));
        memo_->setPalette(palette);
    }

    auto *const layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(memo_);
}
