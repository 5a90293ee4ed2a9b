// SPDX-License-Identifier: GPL-2.0-or-later
// Keys as typists type them: romanised keys with tone marks, alternatives and blanks put into the
// numeric-tone form of our data files, and respelled between Pe̍h-ōe-jī and Tâi-lô.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/exchange.h"
#include "exchange/utf8_p.h"

namespace kpx {
namespace {

constexpr KeyChangeSet bit(KeyChange change)
{
    return static_cast<KeyChangeSet>(1u << static_cast<unsigned>(change));
}

// A letter with its tone mark in one character: the plain letter and the tone.
struct MarkedLetter {
    char32_t character;
    char letter; // lower case
    char tone;
    bool upper;
};

// Acute 2, grave 3, circumflex 5, caron 6, macron 7, breve (Pe̍h-ōe-jī) and double acute (Tâi-lô)
// 9; tone 8's vertical line has no composed letters.
constexpr MarkedLetter kMarkedLetters[] = {
    { 0xC0, 'a', '3', true },
    { 0xC1, 'a', '2', true },
    { 0xC2, 'a', '5', true },
    { 0xC8, 'e', '3', true },
    { 0xC9, 'e', '2', true },
    { 0xCA, 'e', '5', true },
    { 0xCC, 'i', '3', true },
    { 0xCD, 'i', '2', true },
    { 0xCE, 'i', '5', true },
    { 0xD2, 'o', '3', true },
    { 0xD3, 'o', '2', true },
    { 0xD4, 'o', '5', true },
    { 0xD9, 'u', '3', true },
    { 0xDA, 'u', '2', true },
    { 0xDB, 'u', '5', true },
    { 0xE0, 'a', '3', false },
    { 0xE1, 'a', '2', false },
    { 0xE2, 'a', '5', false },
    { 0xE8, 'e', '3', false },
    { 0xE9, 'e', '2', false },
    { 0xEA, 'e', '5', false },
    { 0xEC, 'i', '3', false },
    { 0xED, 'i', '2', false },
    { 0xEE, 'i', '5', false },
    { 0xF2, 'o', '3', false },
    { 0xF3, 'o', '2', false },
    { 0xF4, 'o', '5', false },
    { 0xF9, 'u', '3', false },
    { 0xFA, 'u', '2', false },
    { 0xFB, 'u', '5', false },
    { 0x100, 'a', '7', true },
    { 0x101, 'a', '7', false },
    { 0x102, 'a', '9', true },
    { 0x103, 'a', '9', false },
    { 0x112, 'e', '7', true },
    { 0x113, 'e', '7', false },
    { 0x114, 'e', '9', true },
    { 0x115, 'e', '9', false },
    { 0x11A, 'e', '6', true },
    { 0x11B, 'e', '6', false },
    { 0x12A, 'i', '7', true },
    { 0x12B, 'i', '7', false },
    { 0x12C, 'i', '9', true },
    { 0x12D, 'i', '9', false },
    { 0x143, 'n', '2', true },
    { 0x144, 'n', '2', false },
    { 0x147, 'n', '6', true },
    { 0x148, 'n', '6', false },
    { 0x14C, 'o', '7', true },
    { 0x14D, 'o', '7', false },
    { 0x14E, 'o', '9', true },
    { 0x14F, 'o', '9', false },
    { 0x150, 'o', '9', true },
    { 0x151, 'o', '9', false },
    { 0x16A, 'u', '7', true },
    { 0x16B, 'u', '7', false },
    { 0x16C, 'u', '9', true },
    { 0x16D, 'u', '9', false },
    { 0x170, 'u', '9', true },
    { 0x171, 'u', '9', false },
    { 0x1CD, 'a', '6', true },
    { 0x1CE, 'a', '6', false },
    { 0x1CF, 'i', '6', true },
    { 0x1D0, 'i', '6', false },
    { 0x1D1, 'o', '6', true },
    { 0x1D2, 'o', '6', false },
    { 0x1D3, 'u', '6', true },
    { 0x1D4, 'u', '6', false },
    { 0x1F8, 'n', '3', true },
    { 0x1F9, 'n', '3', false },
    { 0x1E3E, 'm', '2', true },
    { 0x1E3F, 'm', '2', false },
};

const MarkedLetter *markedLetter(char32_t character)
{
    const auto *end = std::end(kMarkedLetters);
    const auto *found = std::lower_bound(std::begin(kMarkedLetters), end, character,
        [](const MarkedLetter &letter, char32_t wanted) { return letter.character < wanted; });
    return found != end && found->character == character ? found : nullptr;
}

// The tone of a combining mark, 0 for another character.
char combiningTone(char32_t character)
{
    switch (character) {
    case 0x301:
        return '2';
    case 0x300:
        return '3';
    case 0x302:
        return '5';
    case 0x30C:
        return '6';
    case 0x304:
        return '7';
    case 0x30D:
        return '8';
    case 0x306:
    case 0x30B:
        return '9';
    default:
        return 0;
    }
}

bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isBlankCharacter(char32_t character)
{
    return character == ' ' || character == '\t' || character == 0xA0;
}

// One alternative into numeric-tone form, appended to out.
KeyChangeSet toNumericTones(std::string_view part, const KeyOptions &options, std::string &out)
{
    KeyChangeSet changes = 0;
    char tone = 0; // the pending tone of the syllable being written
    bool inSyllable = false;
    bool blankPending = false;
    const auto endSyllable = [&] {
        if (tone)
            out.push_back(tone);
        tone = 0;
        inSyllable = false;
    };
    const auto putLetter = [&](char letter, bool upper) {
        if (blankPending) {
            if (!options.dropBlanks && out.back() != '-')
                out.push_back('-');
            blankPending = false;
            changes |= bit(KeyChange::Blanks);
        }
        if (upper) {
            if (options.keepCase)
                letter = static_cast<char>(letter - 'a' + 'A');
            else
                changes |= bit(KeyChange::Case);
        }
        out.push_back(letter);
        inSyllable = true;
    };
    for (std::size_t at = 0; at < part.size();) {
        char32_t character = 0;
        std::size_t length = exchange_detail::decodeUtf8(part, at, character);
        if (length == 0) {
            // Not UTF-8: passed on as it is, for the Big5 conversion to name.
            endSyllable();
            out.push_back(part[at++]);
            continue;
        }
        at += length;
        if (character < 0x80 && isAsciiLetter(static_cast<char>(character))) {
            const bool upper = character <= 'Z';
            putLetter(static_cast<char>(upper ? character - 'A' + 'a' : character), upper);
            continue;
        }
        if (const MarkedLetter *marked = markedLetter(character)) {
            putLetter(marked->letter, marked->upper);
            tone = marked->tone;
            changes |= bit(KeyChange::ToneMarks);
            continue;
        }
        if (const char mark = combiningTone(character); mark && inSyllable) {
            tone = mark;
            changes |= bit(KeyChange::ToneMarks);
            continue;
        }
        if (inSyllable && character == 0x358) {
            // o͘ is written oo.
            out.push_back('o');
            changes |= bit(KeyChange::Letters);
            continue;
        }
        if (character == 0x207F || character == 0x1D3A) {
            putLetter('n', false);
            out.push_back('n');
            changes |= bit(KeyChange::Letters);
            continue;
        }
        if (character == 0x131) {
            putLetter('i', false);
            changes |= bit(KeyChange::Letters);
            continue;
        }
        if (isBlankCharacter(character)) {
            endSyllable();
            blankPending = !out.empty();
            continue;
        }
        if (character >= '0' && character <= '9' && inSyllable) {
            // A digit already there is the syllable's tone.
            tone = 0;
            out.push_back(static_cast<char>(character));
            inSyllable = false;
            continue;
        }
        endSyllable();
        if (blankPending) {
            if (!options.dropBlanks && out.back() != '-' && character != '-')
                out.push_back('-');
            blankPending = false;
            changes |= bit(KeyChange::Blanks);
        }
        exchange_detail::appendUtf8(out, character);
    }
    endSyllable();
    return changes;
}

bool startsWith(std::string_view text, std::string_view start)
{
    return text.substr(0, start.size()) == start;
}

bool endsWith(std::string_view text, std::string_view end)
{
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

void replaceAll(std::string &text, std::string_view from, std::string_view to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

void replaceEnd(std::string &text, std::string_view from, std::string_view to)
{
    if (endsWith(text, from))
        text.replace(text.size() - from.size(), from.size(), to);
}

// One syllable's letters (lower case) in the other system. The two differ in the initials ch/ts,
// the medial o/u before a and e, and the rimes eng/ing and ek/ik; oo and nn are written alike in
// input form. Pe̍h-ōe-jī puts the nasal before or after a final h (hahⁿ, haⁿh), Tâi-lô before it.
std::string respelledSyllable(std::string_view syllable, KeySpelling to)
{
    std::string result(syllable);
    if (to == KeySpelling::Tailo) {
        if (startsWith(result, "chh"))
            result.replace(0, 3, "tsh");
        else if (startsWith(result, "ch"))
            result.replace(0, 2, "ts");
        replaceAll(result, "oa", "ua");
        replaceAll(result, "oe", "ue");
        replaceEnd(result, "eng", "ing");
        replaceEnd(result, "ek", "ik");
        replaceEnd(result, "hnn", "nnh");
    } else {
        if (startsWith(result, "tsh"))
            result.replace(0, 3, "chh");
        else if (startsWith(result, "ts"))
            result.replace(0, 2, "ch");
        replaceAll(result, "ua", "oa");
        replaceAll(result, "ue", "oe");
        replaceEnd(result, "ing", "eng");
        replaceEnd(result, "ik", "ek");
    }
    return result;
}

// Every run of ASCII letters of key respelled; the case of a capitalised or all-capital syllable
// kept.
bool respell(std::string &key, KeySpelling to)
{
    std::string result;
    result.reserve(key.size() + 4);
    std::string lower;
    for (std::size_t at = 0; at < key.size();) {
        if (!isAsciiLetter(key[at])) {
            result.push_back(key[at++]);
            continue;
        }
        std::size_t end = at;
        while (end < key.size() && isAsciiLetter(key[end]))
            ++end;
        const std::string_view syllable(key.data() + at, end - at);
        lower.assign(syllable);
        bool anyUpper = false;
        bool allUpper = true;
        for (char &c : lower) {
            const bool upper = c >= 'A' && c <= 'Z';
            anyUpper = anyUpper || upper;
            allUpper = allUpper && upper;
            if (upper)
                c = static_cast<char>(c - 'A' + 'a');
        }
        std::string respelled = respelledSyllable(lower, to);
        if (anyUpper) {
            for (std::size_t i = 0; i < respelled.size() && (i == 0 || (allUpper && syllable.size() > 1)); ++i)
                respelled[i] = static_cast<char>(respelled[i] - 'a' + 'A');
        }
        result += respelled;
        at = end;
    }
    if (result == key)
        return false;
    key = std::move(result);
    return true;
}

// Letters, digits and hyphens only; capitals counted.
bool plainAscii(std::string_view key, bool &capitals)
{
    capitals = false;
    for (const char c : key) {
        if (c >= 'A' && c <= 'Z')
            capitals = true;
        else if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-'))
            return false;
    }
    return true;
}

} // namespace

KeyChangeSet normaliseKey(std::string_view key, const KeyOptions &options, std::vector<std::string> &keys)
{
    // Most keys of a word list are in form already, but for their capitals.
    bool capitals = false;
    if (options.spelling == KeySpelling::AsGiven && plainAscii(key, capitals)) {
        if (key.empty())
            return 0;
        std::string &formed = keys.emplace_back(key);
        if (!capitals || options.keepCase)
            return 0;
        for (char &c : formed) {
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        }
        return bit(KeyChange::Case);
    }
    KeyChangeSet changes = 0;
    const std::size_t first = keys.size();
    std::string formed;
    std::string_view rest = key;
    while (true) {
        const std::size_t slash = rest.find('/');
        const std::string_view part = rest.substr(0, slash);
        formed.clear();
        changes |= toNumericTones(part, options, formed);
        if (options.spelling != KeySpelling::AsGiven && respell(formed, options.spelling))
            changes |= bit(KeyChange::Respelled);
        if (!formed.empty()
            && std::find(keys.begin() + static_cast<std::ptrdiff_t>(first), keys.end(), formed) == keys.end())
            keys.push_back(formed);
        if (slash == std::string_view::npos)
            break;
        rest.remove_prefix(slash + 1);
    }
    if (keys.size() - first > 1)
        changes |= bit(KeyChange::Alternatives);
    return changes;
}

} // namespace kpx
