// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kpx {

// The three orders a table can be sorted in, and everything named after them: the order digit
// the compiler is given, the two letters in file names, the id a slot's table carries and the
// tag a table gets when no id is given.
//
//   ty  '1'  "dty"  tag "dty"  the romanisation order (tone digits optional, c or ch)
//   py  '2'  "dpy"  tag "dpy"  general pinyin (tone digits optional)
//   ib  '3'  "dib"  tag "kpx"  plain byte order
class TableOrder {
public:
    enum class Kind : std::uint8_t { Ty, Py, Ib };

    // Before any order is set, a table is sorted by ty.
    constexpr TableOrder() = default;
    constexpr explicit TableOrder(Kind kind)
        : kind_(kind)
    {
    }

    // '2' is py, '3' is ib and every other byte ty.
    static constexpr TableOrder fromDigit(char digit)
    {
        return TableOrder(digit == '2' ? Kind::Py : digit == '3' ? Kind::Ib : Kind::Ty);
    }
    // "ty", "py" or "ib"; nothing for any other text.
    static constexpr std::optional<TableOrder> fromLetters(std::string_view letters)
    {
        for (Kind kind : { Kind::Ty, Kind::Py, Kind::Ib }) {
            if (TableOrder(kind).letters() == letters)
                return TableOrder(kind);
        }
        return std::nullopt;
    }

    constexpr Kind kind() const { return kind_; }
    constexpr char digit() const { return traits().digit; }
    constexpr std::string_view letters() const { return traits().letters; }
    constexpr std::string_view defaultId() const { return traits().defaultId; }
    // Four bytes: three letters and a zero.
    constexpr const char *defaultTag() const { return traits().tag; }

    friend constexpr bool operator==(TableOrder, TableOrder) = default;

private:
    struct Traits {
        char digit;
        const char *letters;
        const char *defaultId;
        char tag[4];
    };
    static constexpr Traits kTraits[] = {
        { '1', "ty", "dty", { 'd', 't', 'y', 0 } },
        { '2', "py", "dpy", { 'd', 'p', 'y', 0 } },
        { '3', "ib", "dib", { 'k', 'p', 'x', 0 } },
    };
    constexpr const Traits &traits() const { return kTraits[static_cast<int>(kind_)]; }

    Kind kind_ = Kind::Ty;
};

} // namespace kpx
