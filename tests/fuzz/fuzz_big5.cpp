// SPDX-License-Identifier: GPL-2.0-or-later
// The Big5 conversion is lossless for every byte string.
#include <cstdint>
#include <string>

#include "platform/text/big5_codec.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    const std::u16string text = kpx::decodeBig5(bytes);
    const kpx::Big5EncodeResult encoded = kpx::encodeBig5(text);
    fuzz::check(encoded.ok(), "decoded text always encodes");
    fuzz::check(encoded.bytes == bytes, "encode(decode(b)) == b");
    fuzz::check(kpx::decodeBig5(encoded.bytes) == text, "decoding is a function of the bytes");
    return 0;
}
