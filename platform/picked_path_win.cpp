// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/picked_path.h"
#include "platform/text/big5_codec.h"

namespace kpx::os {

// The file calls read the program's paths with its own code page 950 table, whatever the
// system's code page: a picked name goes through the same table, and a character the table
// lacks would name another file, so it is refused.
bool programPathFromText(std::u16string_view text, std::string &path)
{
    path.clear();
    if (text.empty() || text.find(u'\0') != std::u16string_view::npos)
        return false;
    Big5EncodeResult encoded = encodeBig5(text);
    if (!encoded.ok())
        return false;
    path = std::move(encoded.bytes);
    return true;
}

} // namespace kpx::os
