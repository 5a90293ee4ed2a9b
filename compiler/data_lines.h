// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kpx {

// Splits a data file's bytes into lines the way the editor loads them: CR LF, a lone CR and a
// lone LF each end a line, a line break at the very end starts no further line, and a zero byte
// ends the text. Bytes may arrive in pieces of any size.
class DataLineSplitter {
public:
    // Calls onLine(const char *bytes, std::size_t length) for every line completed by bytes.
    template <typename OnLine> void feed(const char *bytes, std::size_t count, OnLine &&onLine)
    {
        const char *at = bytes;
        const char *end = bytes + count;
        if (ended_)
            return;
        if (afterCr_ && at < end && *at == '\n')
            ++at;
        afterCr_ = false;
        const char *lineStart = at;
        for (; at < end; ++at) {
            const char byte = *at;
            if (byte != '\r' && byte != '\n' && byte != 0)
                continue;
            emit(lineStart, at, onLine);
            if (byte == 0) {
                ended_ = true;
                return;
            }
            if (byte == '\r') {
                if (at + 1 == end) {
                    afterCr_ = true;
                } else if (at[1] == '\n') {
                    ++at;
                }
            }
            lineStart = at + 1;
        }
        pending_.append(lineStart, static_cast<std::size_t>(end - lineStart));
    }

    // Delivers the last line when the text does not end with a line break.
    template <typename OnLine> void finish(OnLine &&onLine)
    {
        if (!pending_.empty())
            onLine(pending_.data(), pending_.size());
        pending_.clear();
        ended_ = true;
    }

private:
    template <typename OnLine> void emit(const char *from, const char *to, OnLine &onLine)
    {
        if (pending_.empty()) {
            onLine(from, static_cast<std::size_t>(to - from));
            return;
        }
        pending_.append(from, static_cast<std::size_t>(to - from));
        onLine(pending_.data(), pending_.size());
        pending_.clear();
    }

    std::string pending_;
    bool afterCr_ = false;
    bool ended_ = false;
};

// Where the key of a data line stands, as a table run reads the line: true with the key's first
// byte and length when the line makes an entry; false for comments, include lines, blank lines
// and lines that make none.
bool dataLineKey(std::string_view line, std::size_t &keyAt, std::size_t &keyLength);

} // namespace kpx
