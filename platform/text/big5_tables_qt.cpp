// SPDX-License-Identifier: GPL-2.0-or-later
// Code page 950 as Qt's ICU-backed converter has it. Qt's "Big5" is ICU's windows-950, the same
// table as Windows; its "CP950" is IBM-950 and glibc's CP950 is plain Big5 without the
// user-defined areas, so neither of those names may be used here.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QtGlobal>

#include "platform/text/big5_tables.h"

namespace kpx::detail {

void probeCodePage950(std::span<const std::uint16_t> codes, std::span<char16_t> units)
{
    // Stateless: a lone lead byte must not be held back for a next call. The error flags of the
    // converters are not used, since they stay set once raised; the round trip of the content
    // is the whole test (an undefined code comes back as U+FFFD or nothing, an unencodable
    // character as "?").
    QStringDecoder decoder("Big5", QStringConverter::Flag::Stateless);
    QStringEncoder encoder("Big5", QStringConverter::Flag::Stateless);
    if (!decoder.isValid() || !encoder.isValid()) {
        qWarning("kpx: no Big5 (windows-950) converter in Qt; every non-ASCII byte is escaped");
        for (char16_t &unit : units)
            unit = 0;
        return;
    }
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const std::uint16_t code = codes[i];
        char bytes[2];
        qsizetype length = 0;
        if (code >= 0x100)
            bytes[length++] = static_cast<char>(code >> 8);
        bytes[length++] = static_cast<char>(code & 0xFF);
        const QByteArray original(bytes, length);

        units[i] = 0;
        const QString decoded = decoder.decode(QByteArrayView(original));
        if (decoded.size() != 1 || decoded.front() == QChar::ReplacementCharacter)
            continue;
        const QByteArray back = encoder.encode(decoded);
        if (back == original)
            units[i] = decoded.front().unicode();
    }
}

} // namespace kpx::detail
