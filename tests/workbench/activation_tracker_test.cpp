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
    EXPECT_FALSE(tracker.focusMoved(Window::None));
    EXPECT_TRUE(tracker.focusMoved(Window::Main));
}

// Returning from the handbook used to restore the state of the last close, which reloaded the
// stored slot and asked to throw away the edits made since; it restores nothing now.
TEST(ActivationTracker, NoLaterActivationRestores)
{
    kpx::ActivationTracker tracker;
    tracker.focusMoved(Window::Main);
    for (const Window from : { Window::Handbook, Window::Other, Window::None }) {
        EXPECT_FALSE(tracker.focusMoved(from));
        EXPECT_FALSE(tracker.focusMoved(Window::Main));
    }
    tracker.focusMoved(Window::Handbook);
    tracker.focusMoved(Window::None);
    EXPECT_FALSE(tracker.focusMoved(Window::Main));
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
