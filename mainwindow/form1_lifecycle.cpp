// SPDX-License-Identifier: GPL-2.0-or-later
// TForm1: restoring the stored slot and caret when the window becomes active, and storing them
// when it closes.
#include "mainwindow/form1.h"

#include "mainwindow/program_texts.h"
#include "platform/text/qt_text.h"
#include "dialogs/sc_cheh1.h"
#include "state/slot_names.h"
#include "state/stored_number.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QWindow>

#include <limits>

void TForm1::setupActivation()
{
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &TForm1::focusWindowChanged);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive)
            activation_.programDeactivated();
    });
}

void TForm1::focusWindowChanged(QWindow *window)
{
    using Window = kpx::ActivationTracker::Window;
    Window moved = Window::None;
    if (window) {
        if (window == windowHandle())
            moved = Window::Main;
        else if (SCCheh1_ && window == SCCheh1_->windowHandle())
            moved = Window::Handbook;
        else
            moved = Window::Other;
    }
    // Restoring may ask the unsaved-data question; that waits until the window system's
    // activation has been dealt with.
    if (activation_.focusMoved(moved))
        QMetaObject::invokeMethod(this, &TForm1::FormActivate, Qt::QueuedConnection);
}

void TForm1::FormActivate()
{
    const std::string path = stateFileName();
    state_.load(path.c_str());
    std::int32_t slot = 1;
    if (state_.hasValue('f'))
        slot = kpx::validSlot(kpx::storedNumber(state_.value('f')));
    pressSlotButton(slot);
    SwitchSlot(slot);
    std::int64_t offset = 0;
    if (state_.hasValue('s'))
        offset = kpx::storedNumber(state_.value('s'));
    const QString text = mm4indata1->document()->toRawText();
    putCaret(static_cast<int>(kpx::positionFromCaretOffset(text, offset)));
}

bool TForm1::FormCloseQuery()
{
    const std::string path = stateFileName();
    if (!askToSave())
        return false;
    library_.release();
    state_.clear();
    const QString text = mm4indata1->document()->toRawText();
    const std::int64_t offset = kpx::caretOffsetFromPosition(text, caretPosition());
    const auto caret = static_cast<std::int32_t>(
        std::min<std::int64_t>(offset, std::numeric_limits<std::int32_t>::max()));
    state_.set('f', kpx::storedNumberText(slot_).c_str());
    state_.set('s', kpx::storedNumberText(caret).c_str());
    state_.save(path.c_str(), kpx::kStateFileHeader);
    return true;
}

void TForm1::closeEvent(QCloseEvent *event)
{
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    event->accept();
    // The program ends with its main window, handbook or not.
    if (SCCheh1_)
        SCCheh1_->hide();
}
