// SPDX-License-Identifier: GPL-2.0-or-later
// UTF-8 or Big5? Both encodings accept some of the same byte strings, so each line is read both
// ways; the file's verdict comes from its lines. A short Big5 word can read as plausible UTF-8
// (e5 bc aa 65 is both 撘河 and 弪e), so only a line that reads as UTF-8 alone counts for UTF-8.
#include "exchange/exchange.h"
#include "exchange/utf8_p.h"

namespace kpx {
namespace {

enum class LineKind { Ascii, Utf8, Big5, Either, Neither };

bool isAsciiLetter(char32_t c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Characters that only a UTF-8 text makes: Han characters, kana, CJK and full-width marks.
bool isEastAsian(char32_t c)
{
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F)
        || (c >= 0xFF00 && c <= 0xFFEF) || (c >= 0x20000 && c <= 0x3FFFF);
}

// A Latin letter with a mark, or a combining mark, as romanised Taiwanese writes them (tâi, ō͘).
bool isMarkedLatin(char32_t c)
{
    return (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7) || (c >= 0x300 && c <= 0x36F)
        || (c >= 0x1E00 && c <= 0x1EFF);
}

// Valid UTF-8, and whether its reading is plausible: a character of East Asian text, or a
// marked Latin letter next to an ASCII letter (inside a word). Big5 read as UTF-8 gives such
// letters only as a pair of bytes between blanks or other Big5 pairs.
bool readsAsUtf8(std::string_view line, std::size_t from, bool &plausible)
{
    plausible = false;
    char32_t previous = from > 0 ? static_cast<unsigned char>(line[from - 1]) : ' ';
    bool previousMarked = false;
    for (std::size_t at = from; at < line.size();) {
        char32_t c = 0;
        const std::size_t length = exchange_detail::decodeUtf8(line, at, c);
        if (length == 0)
            return false;
        at += length;
        const bool marked = isMarkedLatin(c);
        if (isEastAsian(c) || (marked && isAsciiLetter(previous)) || (previousMarked && isAsciiLetter(c)))
            plausible = true;
        previous = c;
        previousMarked = marked;
    }
    return true;
}

// Every byte above 0x7F is part of a two-byte code: a lead byte and a trail byte. With tables,
// the code must also be a character of code page 950.
bool readsAsBig5(std::string_view line, std::size_t from, const detail::Big5Tables *tables)
{
    const auto *p = reinterpret_cast<const unsigned char *>(line.data()) + from;
    const auto *const end = reinterpret_cast<const unsigned char *>(line.data()) + line.size();
    while (p != end) {
        if (*p < 0x80) {
            ++p;
            continue;
        }
        if (end - p < 2 || !detail::isLeadByte(p[0]) || !detail::isTrailByte(p[1]))
            return false;
        if (tables && tables->pairUnit[p[0] << 8 | p[1]] == 0)
            return false;
        p += 2;
    }
    return true;
}

LineKind kindOf(std::string_view line)
{
    std::size_t high = 0;
    while (high < line.size() && static_cast<unsigned char>(line[high]) < 0x80)
        ++high;
    if (high == line.size())
        return LineKind::Ascii;
    bool plausible = false;
    // The ASCII before the first other byte reads the same both ways. Most Big5 lines fail as
    // UTF-8 at their first Chinese character.
    // Only a line that is also UTF-8 needs code page 950's own table (and the system's converter
    // that builds it) to tell; for the rest, the form of the bytes decides.
    const bool utf8 = readsAsUtf8(line, high, plausible);
    if (!utf8)
        return readsAsBig5(line, high, nullptr) ? LineKind::Big5 : LineKind::Neither;
    if (!readsAsBig5(line, high, &detail::big5Tables()))
        return LineKind::Utf8;
    // Characters of code page 950 both ways: no evidence against Big5, and for it unless the
    // UTF-8 reading is plausible too.
    return plausible ? LineKind::Either : LineKind::Big5;
}

} // namespace

void Utf8Detector::addLine(std::string_view line)
{
    ++line_;
    // A Big5 line settles the verdict; the lines after it cost nothing.
    if (check_.big5Lines > 0)
        return;
    switch (kindOf(line)) {
    case LineKind::Ascii:
        break;
    case LineKind::Utf8:
        if (check_.utf8Lines++ == 0)
            check_.firstUtf8Line = line_;
        break;
    case LineKind::Big5:
        ++check_.big5Lines;
        break;
    case LineKind::Either:
        ++check_.eitherLines;
        break;
    case LineKind::Neither:
        ++check_.otherLines;
        break;
    }
    check_.isUtf8 = check_.utf8Lines > 0 && check_.big5Lines == 0;
}

const Utf8Check &Utf8Detector::result() const
{
    return check_;
}

Utf8Check checkUtf8(std::string_view bytes)
{
    // Lines as the editor and the compiler split them: CR LF, CR or LF.
    Utf8Detector detector;
    std::size_t start = 0;
    for (std::size_t at = 0; at <= bytes.size() && detector.result().big5Lines == 0; ++at) {
        if (at < bytes.size() && bytes[at] != '\r' && bytes[at] != '\n')
            continue;
        if (at < bytes.size() || start < at)
            detector.addLine(bytes.substr(start, at - start));
        if (at + 1 < bytes.size() && bytes[at] == '\r' && bytes[at + 1] == '\n')
            ++at;
        start = at + 1;
    }
    return detector.result();
}

} // namespace kpx
