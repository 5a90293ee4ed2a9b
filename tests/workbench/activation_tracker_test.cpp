// SPDX-License-Identifier: GPL-2.0-or-later
#include "workbench/activation_tracker.h"
#include <gtest/gtest.h>

namespace {

using Window = kpx::FocusedWindow;

TEST(ActivationTracker, FirstShowingRestores)
{
    kpx::ActivationTracker tracker;
    EXPECT_TRUE(tracker.focusMoved(Window::Main));
    // Once shown, coming back to it from nowhere in particular is no restore.
    EXPECT_FALSE(tracker.focusMoved(Window::Main));
}

TEST(ActivationTracker, FirstShowingAfterOtherWindowsRestores)
{
    kpx::ActivationTracker tracker;
    EXPECT_FALSE(tracker.focusMoved(Window::Other));
    tracker.programDeactivated();
    EXPECT_TRUE(tracker.focusMoved(Window::Main));
}

TEST(ActivationTracker, ReturnFromHandbookRestores)
{
    kpx::ActivationTracker tracker;
    tracker.focusMoved(Window::Main);
    EXPECT_FALSE(tracker.focusMoved(Window::Handbook));
    EXPECT_TRUE(tracker.focusMoved(Window::Main));
    EXPECT_FALSE(tracker.focusMoved(Window::Handbook));
    EXPECT_TRUE(tracker.focusMoved(Window::Main));
}

TEST(ActivationTracker, ReturnFromModalDialogDoesNot)
{
    kpx::ActivationTracker tracker;
    tracker.focusMoved(Window::Main);
    tracker.focusMoved(Window::Other);
    EXPECT_FALSE(tracker.focusMoved(Window::Main));
    // A dialog opened from the handbook's return: back from the dialog is no return.
    tracker.focusMoved(Window::Handbook);
    EXPECT_TRUE(tracker.focusMoved(Window::Main));
    tracker.focusMoved(Window::Other);
    EXPECT_FALSE(tracker.focusMoved(Window::Main));
}

TEST(ActivationTracker, ReturnFromOtherProgramDoesNot)
{
    kpx::ActivationTracker tracker;
    tracker.focusMoved(Window::Main);
    tracker.focusMoved(Window::None);
    tracker.programDeactivated();
    EXPECT_FALSE(tracker.focusMoved(Window::Main));
}

TEST(ActivationTracker, HandbookThenOtherProgramDoesNot)
{
    kpx::ActivationTracker tracker;
    tracker.focusMoved(Window::Main);
    tracker.focusMoved(Window::Handbook);
    tracker.focusMoved(Window::None);
    tracker.programDeactivated();
    EXPECT_FALSE(tracker.focusMoved(Window::Main));
    // The order of the two reports does not matter.
    tracker.focusMoved(Window::Handbook);
    tracker.programDeactivated();
    tracker.focusMoved(Window::None);
    EXPECT_FALSE(tracker.focusMoved(Window::Main));
}

TEST(ActivationTracker, OtherProgramThenHandbookThenMainRestores)
{
    kpx::ActivationTracker tracker;
    tracker.focusMoved(Window::Main);
    tracker.programDeactivated();
    tracker.focusMoved(Window::None);
    EXPECT_FALSE(tracker.focusMoved(Window::Handbook));
    EXPECT_TRUE(tracker.focusMoved(Window::Main));
}

TEST(ActivationTracker, FocusLostInsideTheProgramIsNoLeaving)
{
    // Between two windows of the program some systems report no window for a moment, without
    // the program becoming inactive.
    kpx::ActivationTracker tracker;
    tracker.focusMoved(Window::Main);
    tracker.focusMoved(Window::Handbook);
    tracker.focusMoved(Window::None);
    EXPECT_TRUE(tracker.focusMoved(Window::Main));
}

TEST(ActivationTracker, HandbookItselfNeverRestores)
{
    kpx::ActivationTracker tracker;
    EXPECT_FALSE(tracker.focusMoved(Window::Handbook));
    EXPECT_FALSE(tracker.focusMoved(Window::Handbook));
    EXPECT_FALSE(tracker.focusMoved(Window::None));
    EXPECT_FALSE(tracker.focusMoved(Window::Other));
}

} // namespace
