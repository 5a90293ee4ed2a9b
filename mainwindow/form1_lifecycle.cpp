// SPDX-License-Identifier: GPL-2.0-or-later
// TForm1: telling the Workbench where the focus goes, and the close request.
#include <QApplication>
#include <QCloseEvent>
#include <QSessionManager>
#include <QWindow>

#include "dialogs/sc_cheh1.h"
#include "mainwindow/form1.h"

void TForm1::setupActivation()
{
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &TForm1::focusWindowChanged);
    connect(qApp, &QGuiApplication::commitDataRequest, this, &TForm1::commitData, Qt::DirectConnection);
}

void TForm1::commitData(QSessionManager &manager)
{
    // Without leave to ask, nothing is decided for the user: the words stay in the editor.
    if (!manager.allowsInteraction())
        return;
    const bool mayEnd = workbench_->EndSession();
    manager.release();
    if (!mayEnd)
        manager.cancel();
}

void TForm1::focusWindowChanged(QWindow *window)
{
    using kpx::FocusedWindow;
    FocusedWindow moved = FocusedWindow::None;
    if (window) {
        if (window == windowHandle())
            moved = FocusedWindow::Main;
        else if (SCCheh1_ && window == SCCheh1_->windowHandle())
            moved = FocusedWindow::Handbook;
        else
            moved = FocusedWindow::Other;
    }
    // Restoring may ask the unsaved-data question; that waits until the window system's
    // activation has been dealt with.
    if (workbench_->focusMoved(moved))
        QMetaObject::invokeMethod(this, &TForm1::FormActivate, Qt::QueuedConnection);
}

void TForm1::closeEvent(QCloseEvent *event)
{
    if (!workbench_->FormCloseQuery()) {
        event->ignore();
        return;
    }
    event->accept();
    // The program ends with its main window, handbook or not.
    if (SCCheh1_)
        SCCheh1_->hide();
}
