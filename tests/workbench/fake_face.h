// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <array>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <memory>
#include <new>
#include <ostream>
#include <string>
#include <vector>

#include "platform/input_method_library.h"
#include "platform/text/big5_codec.h"
#include "tests/compiler/test_files.h"
#include "workbench/face.h"
#include "workbench/workbench.h"
#include <gtest/gtest.h>

namespace kpx {
// Names for parameterised tests.
inline void PrintTo(DirtyAnswer answer, std::ostream *out)
{
    static const char *const names[] = { "None", "Yes", "No", "Cancel" };
    *out << names[static_cast<int>(answer)];
}
} // namespace kpx

namespace kpxtest {

// What the Workbench asked the face to show: "notice", "error", "question" or "confirm".
struct Seen {
    std::string kind;
    std::u16string text;
};

// A face without a toolkit: the editor is a string, every question is answered from a queue
// filled in advance, and every notice, error and question is recorded. A question with no
// answer left is recorded as unexpected and answered like the close box (or no).
class FakeFace : public kpx::Face {
public:
    kpx::Workbench *workbench = nullptr;

    std::u16string text;
    std::size_t caret = 0;
    int focused = 0; // times the editor was given the focus
    int undoSteps = 0;
    std::int32_t pressedSlot = 1;
    std::u16string tablePath;
    std::u16string dataPath;
    std::array<std::u16string, 4> panels { u"總共", u"", u"", u"" };
    std::vector<int> progress;
    std::deque<kpx::DirtyAnswer> answers;
    std::deque<bool> confirmations;
    std::vector<Seen> seen;
    int unexpected = 0;

    // The user changes the text: the control reports the change.
    void type(std::u16string newText)
    {
        text = std::move(newText);
        if (workbench)
            workbench->mm4indata1Change();
    }
    // A paste (or cut), which the control reports as a change of its own kind.
    void paste(std::u16string newText)
    {
        text = std::move(newText);
        if (workbench)
            workbench->mm4indata1Change(kpx::EditHistory::Kind::Whole);
    }
    std::size_t count(const std::string &kind) const
    {
        std::size_t n = 0;
        for (const Seen &s : seen)
            n += s.kind == kind;
        return n;
    }

    // A control that cannot hold the next loaded text, and a face whose storage for it runs
    // out of memory.
    bool refuseLoad = false;
    bool storageOutOfMemory = false;

    std::u16string editorText() const override { return text; }
    bool loadEditorText(std::u16string_view newText) override
    {
        const bool refused = refuseLoad && !newText.empty();
        // What a control that fails part way leaves behind: the old text, which the Workbench
        // must not keep.
        if (!refused)
            text = newText;
        caret = 0;
        // The control reports a load like any change; the Workbench must not take it for an edit.
        if (workbench)
            workbench->mm4indata1Change();
        return !refused;
    }
    char16_t *editorTextStorage(std::size_t capacity) override
    {
        if (storageOutOfMemory)
            throw std::bad_alloc();
        static_cast<void>(capacity);
        return nullptr;
    }
    void replaceEditorText(std::u16string_view newText) override
    {
        ++undoSteps;
        type(std::u16string(newText));
    }
    // Like the native edit box, the fake keeps no undo history: the Workbench does.
    bool editorKeepsHistory() const override { return false; }
    void markEditorSaved() override { }
    bool editorAtSavedText() const override { return false; }
    void replaceEditorRange(std::size_t position, std::size_t length, std::u16string_view replacement) override
    {
        text.replace(position, length, replacement);
        caret = position + replacement.size();
        if (workbench)
            workbench->mm4indata1Change();
    }
    std::size_t editorLineCount() const override
    {
        std::size_t lines = 1;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                continue;
            lines += text[i] == u'\r' || text[i] == u'\n' || text[i] == u'\u2029';
        }
        return lines;
    }
    bool editorLastLineEmpty() const override
    {
        return text.empty() || text.back() == u'\n' || text.back() == u'\r' || text.back() == u'\u2029';
    }
    std::size_t caretPosition() const override { return caret; }
    void putCaret(std::size_t position) override { caret = position < text.size() ? position : text.size(); }
    void focusEditor() override { ++focused; }
    void pressSlotButton(std::int32_t slot) override { pressedSlot = slot; }
    void showPaths(std::u16string_view table, std::u16string_view data) override
    {
        tablePath = table;
        dataPath = data;
    }
    void setStatusPanel(int panel, std::u16string_view panelText) override
    {
        panels.at(static_cast<std::size_t>(panel)) = panelText;
    }
    void showProgress(int position) override { progress.push_back(position); }
    kpx::DirtyAnswer askUnsavedData() override
    {
        seen.push_back({ "question", {} });
        if (answers.empty()) {
            ++unexpected;
            return kpx::DirtyAnswer::None;
        }
        const kpx::DirtyAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void showNotice(std::u16string_view noticeText) override
    {
        seen.push_back({ "notice", std::u16string(noticeText) });
    }
    void showError(std::u16string_view errorText) override { seen.push_back({ "error", std::u16string(errorText) }); }
    // The problems list as last shown, the last selection, and the answers to "go to line".
    std::u16string problemsTitle;
    std::size_t problemRows = 0;
    int problemShowings = 0;
    std::size_t selectionLength = 0;
    std::deque<std::int64_t> lineAnswers; // empty: the user cancels
    void showProblems(std::u16string_view title, std::size_t rows) override
    {
        problemsTitle = title;
        problemRows = rows;
        ++problemShowings;
    }
    void selectText(std::size_t position, std::size_t length) override
    {
        caret = position;
        selectionLength = length;
    }
    bool askLineNumber(std::u16string_view prompt, std::int64_t, std::int64_t, std::int64_t &line) override
    {
        seen.push_back({ "line", std::u16string(prompt) });
        if (lineAnswers.empty())
            return false;
        line = lineAnswers.front();
        lineAnswers.pop_front();
        return true;
    }
    // The files the user picks, in turn: a path (empty: the user cancels) and the type selected.
    struct PickedFile {
        std::u16string path;
        std::size_t type = 0;
    };
    std::deque<PickedFile> pickedFiles;
    std::vector<kpx::FileType> offeredTypes;
    std::size_t offeredType = 0;
    bool pickedForSaving = false;
    bool askFilePath(bool saving, std::u16string_view title, const std::vector<kpx::FileType> &types,
        std::u16string &path, std::size_t &type) override
    {
        seen.push_back({ "file", std::u16string(title) });
        offeredTypes = types;
        offeredType = type;
        pickedForSaving = saving;
        if (pickedFiles.empty()) {
            ++unexpected;
            return false;
        }
        const PickedFile picked = pickedFiles.front();
        pickedFiles.pop_front();
        if (picked.path.empty())
            return false;
        path = picked.path;
        type = picked.type;
        return true;
    }
    void appendEditorText(std::u16string_view added) override
    {
        ++undoSteps;
        type(text + std::u16string(added));
    }
    // The answers to a choice: an index, or -1 to cancel.
    std::deque<int> choices;
    int askChoice(std::u16string_view question, const std::vector<std::u16string> &offered) override
    {
        seen.push_back({ "choice", std::u16string(question) });
        if (choices.empty() || choices.front() >= static_cast<int>(offered.size())) {
            ++unexpected;
            return -1;
        }
        const int choice = choices.front();
        choices.pop_front();
        return choice;
    }
    bool confirm(std::u16string_view question) override
    {
        seen.push_back({ "confirm", std::u16string(question) });
        if (confirmations.empty()) {
            ++unexpected;
            return false;
        }
        const bool yes = confirmations.front();
        confirmations.pop_front();
        return yes;
    }
};

inline std::string big5(std::u16string_view text)
{
    return kpx::encodeBig5(text).bytes;
}

inline bool contains(std::u16string_view text, std::u16string_view part)
{
    return text.find(part) != std::u16string_view::npos;
}

inline bool startsWith(std::u16string_view text, std::u16string_view part)
{
    return text.substr(0, part.size()) == part;
}

// One Workbench over a fake face, with the program's directory on a drive of its own: a
// temporary directory on Linux, the drive named by KPX_TEST_DRIVE on Windows (the Windows test
// script maps one for Wine; without it the tests skip rather than touch C:\vokelu).
class WorkbenchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
#ifdef _WIN32
        const char *drive = std::getenv("KPX_TEST_DRIVE");
        if (!drive || !*drive)
            GTEST_SKIP() << "KPX_TEST_DRIVE names no drive for the program's files";
        letter_ = drive[0];
        root_ = std::string(1, letter_) + ":/";
        shownRoot_ = std::u16string(1, static_cast<char16_t>(letter_)) + u":\\vokelu\\";
#else
        letter_ = 'C';
        root_ = drive_.path().string();
        ::setenv("KPX_DRIVE", root_.c_str(), 1);
        shownRoot_ = kpx::decodeBig5(root_ + "/vokelu/");
#endif
        std::filesystem::remove_all(vokelu());
        std::filesystem::create_directories(vokelu());
        notifyLog_ = (logDir_.path() / "hvmrk.log").string();
#ifdef _WIN32
        _putenv_s("KPX_FAKE_HVMRK_LOG", notifyLog_.c_str());
#else
        ::setenv("KPX_FAKE_HVMRK_LOG", notifyLog_.c_str(), 1);
#endif
        start();
    }

    void TearDown() override
    {
        bench.reset();
        if (root_.empty())
            return;
        std::error_code ignored;
        for (const auto &entry : std::filesystem::recursive_directory_iterator(vokelu(), ignored))
            std::filesystem::permissions(
                entry.path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
#ifdef _WIN32
        std::filesystem::remove_all(vokelu(), ignored);
#endif
    }

    // A new Workbench, as at the program's start, with the input method's library loaded.
    void start()
    {
        bench.reset();
        face = FakeFace();
        kpx::InputMethodLibrary library;
        hasNotifier = library.load() && library.hasNotify();
        bench = std::make_unique<kpx::Workbench>(face, letter_, std::move(library));
        face.workbench = bench.get();
    }

    std::filesystem::path vokelu() const
    {
        return std::filesystem::path(root_) / "vokelu";
    }
    std::string file(const std::string &name) const
    {
        return (vokelu() / name).string();
    }
    std::u16string shown(std::u16string_view name) const
    {
        return shownRoot_ + std::u16string(name);
    }
    std::string readData(const std::string &name) const
    {
        return readFile(file(name));
    }
    void writeData(const std::string &name, std::string_view bytes) const
    {
        writeFile(file(name), bytes);
    }
    bool exists(const std::string &name) const
    {
        return std::filesystem::exists(file(name));
    }
    int notifyCount() const
    {
        const std::string log = readFile(notifyLog_);
        return static_cast<int>(std::count(log.begin(), log.end(), '\n'));
    }
    std::uint8_t dirty() const
    {
        return bench->dirtyWarning().dirty;
    }

    FakeFace face;
    std::unique_ptr<kpx::Workbench> bench;
    bool hasNotifier = false;

private:
#ifndef _WIN32
    TempDir drive_;
#endif
    TempDir logDir_;
    char letter_ = 'C';
    std::string root_;
    std::u16string shownRoot_;
    std::string notifyLog_;
};

} // namespace kpxtest
