// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>

#include <QDialog>

#include "workbench/face.h"

class QFrame;
class QLabel;
class QPushButton;

// The unsaved-data question: save (是), don't save (無愛) or cancel (取消). ask() clears the
// answer flags, shows the dialog modally and returns the answer; closing the dialog with its
// close box sets no flag. The data-modified flag is the Workbench's.
class TmmDirtyWarning1 : public QDialog {
    Q_OBJECT

public:
    // Modal results of the three buttons. Callers read the answer flags, not these.
    static constexpr int kResultYes = 1;
    static constexpr int kResultNo = 7;
    static constexpr int kResultCancel = 2;

    explicit TmmDirtyWarning1(QWidget *parent = nullptr);

    void setAnswers(std::uint8_t yes, std::uint8_t no, std::uint8_t cancel);
    kpx::DirtyAnswer ask();

    // Click handlers of OKBtn, bn4vorai and CancelBtn (Esc too): each records its answer and
    // closes the dialog with its modal result.
    void OKBtnClick();
    void bn4voraiClick();
    void CancelBtnClick();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QFrame *const Bevel1;
    QLabel *const Label1;
    QLabel *const Label2;
    QPushButton *const OKBtn;
    QPushButton *const bn4vorai;
    QPushButton *const CancelBtn;

public:
    // The answer of the last showing: 是, 無愛, 取消. All 0 after the close box.
    std::uint8_t answerYes = 0;
    std::uint8_t answerNo = 0;
    std::uint8_t answerCancel = 0;
};
