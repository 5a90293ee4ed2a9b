// SPDX-License-Identifier: GPL-2.0-or-later
#include "workbench/edit_history.h"

#include <algorithm>

namespace kpx {
namespace {

bool hasLineBreak(std::u16string_view text)
{
    return text.find_first_of(u"\r\n\u2029") != std::u16string_view::npos;
}

// Backspace and Delete take one character: one unit, or two of a surrogate pair.
constexpr std::size_t kKeyRemoval = 2;

} // namespace

void EditHistory::reset(std::u16string_view text)
{
    text_.assign(text);
    steps_.clear();
    done_ = 0;
    saved_ = 0;
    open_ = false;
}

bool EditHistory::joins(const Step &step, Kind kind) const
{
    if (!open_ || kind != Kind::Typing || done_ != steps_.size() || !step.typing)
        return false;
    return !hasLineBreak(step.removed) && !hasLineBreak(step.inserted);
}

bool EditHistory::record(std::u16string_view text, Kind kind)
{
    // The changed span: what lies between the common start and the common end.
    const std::size_t shorter = std::min(text.size(), text_.size());
    const std::size_t prefix = static_cast<std::size_t>(
        std::mismatch(text_.begin(), text_.begin() + static_cast<std::ptrdiff_t>(shorter), text.begin()).first
        - text_.begin());
    const std::size_t suffix = static_cast<std::size_t>(
        std::mismatch(text_.rbegin(), text_.rbegin() + static_cast<std::ptrdiff_t>(shorter - prefix), text.rbegin())
            .first
        - text_.rbegin());
    // The program's own replacement is a step even when it changed nothing (Sort of sorted
    // lines), as the Qt window's editor keeps it.
    if (prefix + suffix == text_.size() && prefix + suffix == text.size() && kind == Kind::Typing)
        return false;
    Step change { prefix, text_.substr(prefix, text_.size() - prefix - suffix),
        std::u16string(text.substr(prefix, text.size() - prefix - suffix)), false };
    text_.replace(prefix, change.removed.size(), change.inserted);

    // A new change drops what could have been redone, and with it a saved text among those steps.
    steps_.resize(done_);
    if (saved_ && *saved_ > done_)
        saved_.reset();
    // Typing adds, takes away a character, or types over a selection; never a line.
    change.typing = kind == Kind::Typing && !hasLineBreak(change.removed) && !hasLineBreak(change.inserted)
        && (!change.inserted.empty() || change.removed.size() <= kKeyRemoval);
    if (change.typing && !steps_.empty() && joins(steps_.back(), kind)) {
        Step &last = steps_.back();
        if (change.removed.empty() && last.position + last.inserted.size() == change.position) {
            last.inserted += change.inserted;
            return true;
        }
        if (change.inserted.empty() && last.inserted.empty()) {
            if (change.position + change.removed.size() == last.position) { // Backspace
                last.removed.insert(0, change.removed);
                last.position = change.position;
                return true;
            }
            if (change.position == last.position) { // Delete
                last.removed += change.removed;
                return true;
            }
        }
    }
    open_ = change.typing;
    steps_.push_back(std::move(change));
    ++done_;
    return true;
}

void EditHistory::markSaved()
{
    saved_ = done_;
    open_ = false;
}

EditHistory::Edit EditHistory::apply(
    std::size_t position, const std::u16string &removed, const std::u16string &inserted)
{
    text_.replace(position, removed.size(), inserted);
    open_ = false;
    return Edit { position, removed.size(), inserted };
}

std::optional<EditHistory::Edit> EditHistory::undo()
{
    if (!canUndo())
        return std::nullopt;
    const Step &step = steps_[--done_];
    return apply(step.position, step.inserted, step.removed);
}

std::optional<EditHistory::Edit> EditHistory::redo()
{
    if (!canRedo())
        return std::nullopt;
    const Step &step = steps_[done_++];
    return apply(step.position, step.removed, step.inserted);
}

} // namespace kpx
