// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QWidget>

class QPlainTextEdit;

// One tab of the handbook window: a text box that fills the page and carries the page's text.
class HandbookPage : public QWidget {
    Q_OBJECT

public:
    enum class Look {
        Plain, // an ordinary text box, long lines wrapped
        Grey, // no border, the dialog's grey instead of the white of an edit box
        NoWrap, // long lines scroll sideways
        NoWrapTabs, // long lines scroll sideways and the Tab key types a tab
    };

    // pageName and memoName are the object names of the page and its text box.
    HandbookPage(
        const QString &pageName, const QString &memoName, const QString &text, Look look, QWidget *parent = nullptr);

private:
    QPlainTextEdit *const memo_;
};
