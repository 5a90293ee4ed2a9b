// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Decides which activations of the main window restore the state stored at the last close.
// The window restores it when it is first shown and whenever the user comes back to it from the
// handbook window, which stays open beside it. Coming back from a modal dialog (notice, question,
// about box, error box) is no new activation, and neither is coming back from another program.
//
// The window system reports two things, which the window passes on: the window of this program
// that has the keyboard focus (none while another program has it), and the moment the program as
// a whole stops being the active one. Where the system can tell the latter apart from a
// window-to-window change (Windows), it reports it on its own; elsewhere the face derives it from the
// focus leaving every window of the program for good.
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
    using Window = FocusedWindow;

    // The focus moved to window. True when this is an activation of the main window that
    // restores the stored state.
    bool focusMoved(Window window)
    {
        if (window == Window::None)
            return false;
        bool restore = false;
        if (window == Window::Main) {
            restore = !shown_ || (last_ == Window::Handbook && !leftProgram_);
            shown_ = true;
        }
        last_ = window;
        leftProgram_ = false;
        return restore;
    }

    // The program stopped being the active one: another program has the focus now.
    void programDeactivated() { leftProgram_ = true; }

private:
    Window last_ = Window::None; // the last window of the program that had the focus
    bool shown_ = false; // the main window has been active before
    bool leftProgram_ = false; // another program was active since last_
};

} // namespace kpx
