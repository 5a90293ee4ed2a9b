// SPDX-License-Identifier: GPL-2.0-or-later
// Undo and redo of a face without a history of its own (the native window): the Workbench's
// EditHistory, against the sessions and against a model of its steps.
#include <random>

#include "tests/workbench/fake_face.h"

namespace kpxtest {
namespace {

using Undo = WorkbenchTest;

// Types text a character at a time at the end, as keys do; "\n" is Enter.
void typeKeys(FakeFace &face, std::u16string_view keys)
{
    for (const char16_t key : keys)
        face.type(face.text + key);
}

TEST_F(Undo, SaveIsABoundaryAndRedoIsTheInverse)
{
    bench->SwitchSlot(1);
    typeKeys(face, u"a1 one\n");
    bench->SaveAndMake();
    typeKeys(face, u"b1 two");
    EXPECT_EQ(face.panels[2], u"資料修改過");
    ASSERT_TRUE(bench->Undo());
    EXPECT_EQ(face.text, u"a1 one\n");
    EXPECT_EQ(face.panels[1], u"1 列");
    // Back at the text as saved.
    EXPECT_EQ(dirty(), 0);
    EXPECT_EQ(face.panels[2], u"");
    ASSERT_TRUE(bench->Redo());
    EXPECT_EQ(face.text, u"a1 one\nb1 two");
    EXPECT_EQ(face.panels[1], u"2 列");
    EXPECT_EQ(dirty(), 1);
    // Undo reaches back past the save one step at a time; the model test below covers the rest.
    ASSERT_TRUE(bench->Undo());
    ASSERT_TRUE(bench->Undo());
    EXPECT_EQ(face.text, u"a1 one");
}

TEST_F(Undo, PasteSortAndImportAreStepsOfTheirOwn)
{
    bench->SwitchSlot(1);
    face.paste(u"b 乙\na 甲\n");
    bench->SaveAndMake();
    typeKeys(face, u"x");
    ASSERT_TRUE(bench->Undo());
    ASSERT_TRUE(bench->Redo());
    EXPECT_EQ(face.text, u"b 乙\na 甲\nx");
    EXPECT_EQ(face.panels[1], u"3 列");

    bench->Sort();
    const std::u16string sorted = face.text;
    EXPECT_EQ(sorted, u"a 甲\nb 乙\nx\n");
    // Pasted right after Sort's last line.
    face.paste(sorted + u"c 丙\n");
    ASSERT_TRUE(bench->Undo());
    EXPECT_EQ(face.text, sorted);
    ASSERT_TRUE(bench->Undo());
    EXPECT_EQ(face.text, u"b 乙\na 甲\nx");
    // Typing after an undo drops the steps that could have been redone.
    typeKeys(face, u"y");
    EXPECT_FALSE(bench->Redo());

    // An import's lines are one step, the typing right after them another.
    writeData("words.tsv", "gua2\t我\n");
    face.pickedFiles = { { kpx::decodeBig5(file("words.tsv")), 0 } };
    face.choices = { 0 }; // 匯入, after the preview
    const std::u16string before = face.text;
    bench->ImportWords();
    EXPECT_EQ(face.text, before + u"\ngua2 我\n");
    typeKeys(face, u"z");
    ASSERT_TRUE(bench->Undo());
    ASSERT_TRUE(bench->Undo());
    EXPECT_EQ(face.text, before);

    // A sort that changes nothing is still a step, as in the Qt window.
    face.answers = { kpx::DirtyAnswer::No };
    bench->SwitchSlot(2);
    face.type(u"a\nb\n");
    bench->Save();
    bench->Sort();
    EXPECT_EQ(dirty(), 1);
    ASSERT_TRUE(bench->Undo());
    EXPECT_EQ(dirty(), 0);
}

// Random edits, saves, undos and redos against a model that keeps the text after each step.
TEST_F(Undo, FollowsAModelOfItsSteps)
{
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::mt19937 random(24);
    for (int round = 0; round < 12; ++round) {
        bench->Save();
        bench->SwitchSlot(round % 2 + 1);
        // The text after each step; at is where undo and redo stand, saved where the save was.
        std::vector<std::u16string> texts { face.text };
        std::size_t at = 0;
        std::size_t saved = 0;
        bool typing = false;
        const auto newStep = [&] {
            texts.resize(++at);
            texts.push_back(face.text);
            if (saved != kNone && saved >= at)
                saved = kNone;
        };
        for (int action = 0; action < 60; ++action) {
            const unsigned what = random() % 6;
            // What changes nothing leaves a run of typing open.
            bool keepsTyping = false;
            switch (what) {
            case 0:
            case 1: { // a paste anywhere, or a cut
                const std::size_t from = random() % (face.text.size() + 1);
                const std::size_t length = random() % (face.text.size() - from + 1);
                std::u16string text = face.text;
                text.replace(from, length, random() % 2 ? u"字\n" : u"");
                keepsTyping = text == face.text;
                if (keepsTyping)
                    break;
                face.paste(text);
                newStep();
                break;
            }
            case 2:
                if (bench->Undo())
                    --at;
                else
                    EXPECT_EQ(at, 0u);
                break;
            case 3:
                keepsTyping = !bench->Redo();
                if (keepsTyping)
                    EXPECT_EQ(at + 1, texts.size());
                else
                    ++at;
                break;
            case 4:
                bench->Save();
                saved = at;
                break;
            default: // typing at the end joins the typing just before it
                typeKeys(face, u"ok");
                if (typing)
                    texts[at] = face.text;
                else
                    newStep();
                break;
            }
            typing = what == 5 || (typing && keepsTyping);
            ASSERT_EQ(face.text, texts[at]) << "round " << round << ", action " << action;
            EXPECT_EQ(dirty(), at == saved ? 0 : 1);
        }
    }
}

} // namespace
} // namespace kpxtest
