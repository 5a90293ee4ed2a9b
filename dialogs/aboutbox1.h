// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

// The about box: program name, version and the maker's contact details. Shown with exec();
// nothing is read back.
class Taboutbox1 : public QDialog {
    Q_OBJECT

public:
    static constexpr int kResultOk = 1;

    explicit Taboutbox1(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    QFrame *const Panel1;
    QLabel *const ProgramIcon;
    QLabel *const ProductName;
    QLabel *const Version;
    QLabel *const Comments;
    QLabel *const Label1;
    QLabel *const Label2;
    QLabel *const Label3;
    QLabel *const Label4;
    QPushButton *const OKButton;
};
