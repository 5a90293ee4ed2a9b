// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QWidget>

class QKeyEvent;
class QTabWidget;

// The handbook window ("使用小手冊"): six tabbed pages of help text. It is an ordinary sizeable
// window beside the main window, not modal; closing it only hides it, and showing it again
// brings back the same page at the same place.
class TSCCheh1 : public QWidget {
    Q_OBJECT

public:
    explicit TSCCheh1(QWidget *parent = nullptr);

    // Shows the window without blocking, or brings it to the front when it is open already.
    void showHandbook();

protected:
    // Esc closes the window, as it closes the program's other windows beside the main one.
    void keyPressEvent(QKeyEvent *event) override;

private:
    QTabWidget *const PageControl1;
};
