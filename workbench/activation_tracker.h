// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Decides which activation of the main window restores the slot and caret stored at the last
// close: only the first one after start-up, when the window is first shown. Coming back to the
// window later (from the handbook window, which stays open beside it, from a dialog, from
// another program) changes nothing: the user goes on where they were, edits and slot included.
namespace kpx {

// Which window of the program has the focus, as a face reports it.
enum class FocusedWindow {
    None, // no window of this program
    Main, // TForm1
    Handbook, // TSCCheh1
    Other, // a dialog, a message box, a menu
};

class ActivationTracker {
public:
    // The focus moved to window. True when this is the activation of the main window that
    // restores the stored state.
    bool focusMoved(FocusedWindow window)
    {
        if (window != FocusedWindow::Main || shown_)
            return false;
        shown_ = true;
        return true;
    }

private:
    bool shown_ = false; // the main window has been active before
};

} // namespace kpx
