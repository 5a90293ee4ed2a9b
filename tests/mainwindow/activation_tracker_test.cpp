// SPDX-License-Identifier: GPL-2.0-or-later
#include "mainwindow/activation_tracker.h"

#include <QtTest>

using Window = kpx::ActivationTracker::Window;

class ActivationTrackerTest : public QObject
{
    Q_OBJECT

private slots:
    void firstShowingRestores();
    void firstShowingAfterOtherWindowsRestores();
    void returnFromHandbookRestores();
    void returnFromModalDialogDoesNot();
    void returnFromOtherProgramDoesNot();
    void handbookThenOtherProgramDoesNot();
    void otherProgramThenHandbookThenMainRestores();
    void focusLostInsideTheProgramIsNoLeaving();
    void handbookItselfNeverRestores();
};

void ActivationTrackerTest::firstShowingRestores()
{
    kpx::ActivationTracker tracker;
    QVERIFY(tracker.focusMoved(Window::Main));
    // Once shown, coming back to it from nowhere in particular is no restore.
    QVERIFY(!tracker.focusMoved(Window::Main));
}

void ActivationTrackerTest::firstShowingAfterOtherWindowsRestores()
{
    kpx::ActivationTracker tracker;
    QVERIFY(!tracker.focusMoved(Window::Other));
    tracker.programDeactivated();
    QVERIFY(tracker.focusMoved(Window::Main));
}

void ActivationTrackerTest::returnFromHandbookRestores()
{
    kpx::ActivationTracker tracker;
    tracker.focusMoved(Window::Main);
    QVERIFY(!tracker.focusMoved(Window::Handbook));
    QVERIFY(tracker.focusMoved(Window::Main));
    QVERIFY(!tracker.focusMoved(Window::Handbook));
    QVERIFY(tracker.focusMoved(Window::Main));
}

void ActivationTrackerTest::returnFromModalDialogDoesNot()
{
    kpx::ActivationTracker tracker;
    tracker.focusMoved(Window::Main);
    tracker.focusMoved(Window::Other);
    QVERIFY(!tracker.focusMoved(Window::Main));
    // A dialog opened from the handbook's return: back from the dialog is no return.
    tracker.focusMoved(Window::Handbook);
    QVERIFY(tracker.focusMoved(Window::Main));
    tracker.focusMoved(Window::Other);
    QVERIFY(!tracker.focusMoved(Window::Main));
}

void ActivationTrackerTest::returnFromOtherProgramDoesNot()
{
    kpx::ActivationTracker tracker;
    tracker.focusMoved(Window::Main);
    tracker.focusMoved(Window::None);
    tracker.programDeactivated();
    QVERIFY(!tracker.focusMoved(Window::Main));
}

void ActivationTrackerTest::handbookThenOtherProgramDoesNot()
{
    kpx::ActivationTracker tracker;
    tracker.focusMoved(Window::Main);
    tracker.focusMoved(Window::Handbook);
    tracker.focusMoved(Window::None);
    tracker.programDeactivated();
    QVERIFY(!tracker.focusMoved(Window::Main));
    // The order of the two reports does not matter.
    tracker.focusMoved(Window::Handbook);
    tracker.programDeactivated();
    tracker.focusMoved(Window::None);
    QVERIFY(!tracker.focusMoved(Window::Main));
}

void ActivationTrackerTest::otherProgramThenHandbookThenMainRestores()
{
    kpx::ActivationTracker tracker;
    tracker.focusMoved(Window::Main);
    tracker.programDeactivated();
    tracker.focusMoved(Window::None);
    QVERIFY(!tracker.focusMoved(Window::Handbook));
    QVERIFY(tracker.focusMoved(Window::Main));
}

void ActivationTrackerTest::focusLostInsideTheProgramIsNoLeaving()
{
    // Between two windows of the program some systems report no window for a moment, without
    // the program becoming inactive.
    kpx::ActivationTracker tracker;
    tracker.focusMoved(Window::Main);
    tracker.focusMoved(Window::Handbook);
    tracker.focusMoved(Window::None);
    QVERIFY(tracker.focusMoved(Window::Main));
}

void ActivationTrackerTest::handbookItselfNeverRestores()
{
    kpx::ActivationTracker tracker;
    QVERIFY(!tracker.focusMoved(Window::Handbook));
    QVERIFY(!tracker.focusMoved(Window::Handbook));
    QVERIFY(!tracker.focusMoved(Window::None));
    QVERIFY(!tracker.focusMoved(Window::Other));
}

QTEST_APPLESS_MAIN(ActivationTrackerTest)
#include "activation_tracker_test.moc"
