// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QDialog>

class QFrame;
class QPushButton;
class QTextEdit;

// The notice dialog: a message of several lines with an OK button. The main window reports a
// finished table and a refused sort through it. Created once and reused; each notice replaces
// the text of the last one.
class Tokmes1 : public QDialog {
    Q_OBJECT

public:
    // Modal result of OKBtn.
    static constexpr int kResultOk = 1;

    explicit Tokmes1(QWidget *parent = nullptr);

    // Replaces Memo1's text with text (lines separated by "\r\n") and shows the dialog modally.
    // Returns when the dialog is closed by OK, Enter or the close box.
    void notice(const QString &text);

    // Puts text into Memo1 without showing the dialog.
    void setMessage(const QString &text);
    QString message() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Grows the dialog downwards until the whole message shows (up to the screen's height).
    void fitToMessage();

    QFrame *const Bevel1;
    QTextEdit *const Memo1;
    QPushButton *const OKBtn;
};
