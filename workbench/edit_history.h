// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The editor's undo history, for a face whose control keeps none worth the name (the native edit
// box keeps one step): the face reports each change of the text, and undo and redo hand back the
// change that takes a step back or forth. A run of typing is one step, as in the Qt window's
// editor; a paste, a line break and any change the program makes itself (Sort, import) are
// steps of their own; a save ends the step before it.
namespace kpx {

class EditHistory {
public:
    // How a change came about: typing joins the typing right next to it.
    enum class Kind { Typing, Whole };
    // A change of the text: length units from position replaced by text.
    struct Edit {
        std::size_t position = 0;
        std::size_t length = 0;
        std::u16string text;
    };

    // Starts over with text, as loaded and saved: nothing to undo or redo.
    void reset(std::u16string_view text);
    // The editor now holds text: what differs from the text before becomes a step, or joins the
    // last one. False when typing changed nothing; a Whole change is a step even then.
    bool record(std::u16string_view text, Kind kind);
    // The text as it stands was saved: no later change joins a step before it.
    void markSaved();
    // Whether the text is the one last saved or loaded, as far as undo and redo went.
    bool atSaved() const { return saved_ == done_; }
    bool canUndo() const { return done_ > 0; }
    bool canRedo() const { return done_ < steps_.size(); }
    // The change that takes back the last step, or does again the step taken back last; the
    // history's text has it applied. Nothing when there is no such step.
    std::optional<Edit> undo();
    std::optional<Edit> redo();
    const std::u16string &text() const { return text_; }

private:
    struct Step {
        std::size_t position = 0;
        std::u16string removed;
        std::u16string inserted;
        bool typing = false;
    };
    bool joins(const Step &step, Kind kind) const;
    Edit apply(std::size_t position, const std::u16string &removed, const std::u16string &inserted);

    std::u16string text_;
    std::vector<Step> steps_;
    // steps_[0, done_) are in text_.
    std::size_t done_ = 0;
    // done_ when the text was saved; none once the steps that led there were dropped.
    std::optional<std::size_t> saved_ = 0;
    // The last step may take more typing.
    bool open_ = false;
};

} // namespace kpx
