// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <string_view>

#include <QString>
#include <QStringView>

#include "platform/text/big5_codec.h"
#include "platform/text/caret_offset.h"
#include "platform/text/locale_compare.h"

// The text layer for the windows, which hold their text as QString. Header-only, so that the
// text library itself needs no Qt on Windows; only code that has Qt anyway includes this.
// The functions take const QString & rather than QStringView so that a call with a char16_t
// literal still picks the std::u16string_view functions without ambiguity.
namespace kpx {

// The UTF-16 units of a QString, without a copy.
inline std::u16string_view u16View(QStringView text)
{
    return { text.utf16(), static_cast<std::size_t>(text.size()) };
}

// A QString of UTF-16 text.
inline QString qtText(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

// The editor's text for Big5 bytes, decoded straight into the QString's own storage.
inline QString fromBig5(std::string_view bytes)
{
    QString text(static_cast<qsizetype>(decodedBig5Length(bytes)), Qt::Uninitialized);
    decodeBig5Into(bytes, reinterpret_cast<char16_t *>(text.data()));
    return text;
}

inline Big5EncodeResult toBig5(const QString &text)
{
    return encodeBig5(u16View(text));
}

inline std::int64_t caretOffsetFromPosition(const QString &text, qsizetype position)
{
    return caretOffsetFromPosition(u16View(text), position < 0 ? 0 : static_cast<std::size_t>(position));
}

inline qsizetype positionFromCaretOffset(const QString &text, std::int64_t offset)
{
    return static_cast<qsizetype>(positionFromCaretOffset(u16View(text), offset));
}

inline int compareLocaleIgnoringCase(const QString &a, const QString &b)
{
    return compareLocaleIgnoringCase(u16View(a), u16View(b));
}

} // namespace kpx
