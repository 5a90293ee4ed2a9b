// SPDX-License-Identifier: GPL-2.0-or-later
// Whatever a peer's file holds, every data line an import writes makes exactly the entry it
// says when the compiler reads it back; the UTF-8 test and the UTF-8 conversion take any bytes.
#include <cstdint>
#include <string>

#include "exchange/exchange.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const kpx::ExchangeFormat formats[] = { kpx::ExchangeFormat::Rime, kpx::ExchangeFormat::Fcitx5,
        kpx::ExchangeFormat::Tsv, kpx::ExchangeFormat::Csv };
    kpx::ExchangeOptions options;
    options.textFirst = data[0] & 4;
    // Keys put into form every way: respelled, blanks dropped, capitals kept; columns chosen.
    options.keys.spelling = static_cast<kpx::KeySpelling>((data[0] >> 3) % 3);
    options.keys.dropBlanks = data[0] & 32;
    options.keys.keepCase = data[0] & 64;
    if (data[0] & 128) {
        options.keyColumn = "2";
        options.textColumn = "k";
    }
    const std::string bytes(reinterpret_cast<const char *>(data) + 1, size - 1);
    const kpx::ImportResult in = kpx::importExchangeFile(bytes, formats[data[0] % 4], options, "f");

    kpx::ExportRequest request;
    request.format = kpx::ExchangeFormat::Big5;
    request.order = kpx::ExportOrder::File;
    const kpx::ExportResult back = kpx::exportDataText(in.big5Lines, request);
    fuzz::check(back.counts.entries + back.counts.duplicates == in.entries, "every imported line makes an entry");
    fuzz::check(back.counts.linesWithoutEntry == 0 && back.counts.commentLines == 0 && back.counts.includeLines == 0,
        "no imported line is a comment, an include or a mistake");
    if (back.counts.duplicates == 0)
        fuzz::check(back.bytes == in.big5Lines, "the entries are the lines as written");

    kpx::checkUtf8(bytes);
    const kpx::ImportResult converted = kpx::utf8DataTextToBig5(bytes, "f");
    fuzz::check(converted.big5Lines.size() <= bytes.size() + 2 * static_cast<std::size_t>(converted.entries),
        "a converted line is never longer than its UTF-8 bytes");
    return 0;
}
