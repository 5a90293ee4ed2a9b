// SPDX-License-Identifier: GPL-2.0-or-later
//
// kpx-bench-baseline [--no-sync] DATAFILE TABLE
//
// The yardstick for kpx-make: the most direct way to turn a data file into a table with the
// same record layout. It reads the whole file, keeps views of the first two columns of every
// data line, sorts them with std::stable_sort by plain key bytes and writes the table in one
// write. It does not follow include lines and knows nothing of the romanisation orders; it
// only skips the lines that never make an entry (too few columns, comments, over-long
// columns), so that both programs write the same number of entries.
//
// kpx-make flushes a table to the disk before it takes the old table's place, so the baseline
// flushes its table too (fsync) unless --no-sync is given.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

namespace {

constexpr std::size_t kMaxKeyBytes = 32;
constexpr std::size_t kMaxOutputBytes = 64;
constexpr std::size_t kMaxBlockBytes = 96; // key, 0x00, output, 0x00
constexpr std::uint32_t kHeaderRecordBytes = 24;
constexpr char kTag[4] = { 'd', 't', 'y', '\0' };

struct Entry {
    std::string_view key;
    std::string_view output;
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && text.substr(0, prefix.size()) == prefix;
}

bool endsWith(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

// memcmp order of the key bytes; a key that is a prefix of the other comes first.
bool keyLess(const Entry &a, const Entry &b)
{
    const std::size_t common = std::min(a.key.size(), b.key.size());
    const int c = common == 0 ? 0 : std::memcmp(a.key.data(), b.key.data(), common);
    return c != 0 ? c < 0 : a.key.size() < b.key.size();
}

// Adds the line's entry when it is a data line.
void addLine(std::string_view line, std::vector<Entry> &entries)
{
    std::size_t pos = 0;
    const auto column = [&]() {
        while (pos < line.size() && isBlank(line[pos])) {
            ++pos;
        }
        const std::size_t start = pos;
        while (pos < line.size() && !isBlank(line[pos])) {
            ++pos;
        }
        return line.substr(start, pos - start);
    };
    const std::string_view key = column();
    const std::string_view output = column();
    if (output.empty()) {
        return; // fewer than two columns
    }
    if (startsWith(key, "#include")) {
        return; // not followed here
    }
    if (startsWith(key, "//") || (key.size() >= 2 && endsWith(key, "//")) || key == "/" || startsWith(output, "//")) {
        return;
    }
    if (key.size() > kMaxKeyBytes || output.size() > kMaxOutputBytes
        || key.size() + output.size() + 2 > kMaxBlockBytes) {
        return;
    }
    entries.push_back({ key, output });
}

void putU16(std::string &out, std::uint16_t v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

void putU32(std::string &out, std::uint32_t v)
{
    for (int shift = 0; shift < 32; shift += 8) {
        out += static_cast<char>((v >> shift) & 0xFF);
    }
}

bool readFile(const char *path, std::string &text)
{
    std::FILE *file = std::fopen(path, "rb");
    if (!file) {
        return false;
    }
    char block[1 << 16];
    std::size_t n = 0;
    while ((n = std::fread(block, 1, sizeof block, file)) > 0) {
        text.append(block, n);
    }
    const bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    const bool sync = !(argc == 4 && std::string_view(argv[1]) == "--no-sync");
    if (argc != (sync ? 3 : 4)) {
        std::fputs("usage: kpx-bench-baseline [--no-sync] DATAFILE TABLE\n", stderr);
        return 1;
    }
    const char *dataPath = argv[argc - 2];
    const char *tablePath = argv[argc - 1];

    std::string text;
    if (!readFile(dataPath, text)) {
        std::fprintf(stderr, "kpx-bench-baseline: cannot read %s\n", dataPath);
        return 1;
    }

    // Lines end in CR LF, CR or LF.
    std::vector<Entry> entries;
    const std::string_view all(text);
    std::size_t start = 0;
    while (start < all.size()) {
        std::size_t end = start;
        while (end < all.size() && all[end] != '\r' && all[end] != '\n') {
            ++end;
        }
        addLine(all.substr(start, end - start), entries);
        if (end < all.size() && all[end] == '\r' && end + 1 < all.size() && all[end + 1] == '\n') {
            ++end;
        }
        start = end + 1;
    }

    std::stable_sort(entries.begin(), entries.end(), keyLess);

    std::uint32_t bodySize = 0;
    for (const Entry &e : entries) {
        bodySize += static_cast<std::uint32_t>(e.key.size() + e.output.size() + 2);
    }
    const auto count = static_cast<std::uint32_t>(entries.size());

    std::string table;
    putU32(table, kHeaderRecordBytes);
    table.append(kTag, sizeof kTag);
    putU16(table, 2);
    putU16(table, 1);
    putU32(table, count);
    putU32(table, bodySize);
    putU32(table, 1);
    putU32(table, 0);
    putU32(table, bodySize);
    for (const Entry &e : entries) {
        table += static_cast<char>(e.key.size());
        table += e.key;
        table += static_cast<char>(e.output.size());
        table += e.output;
    }

    std::FILE *file = std::fopen(tablePath, "wb");
    if (!file) {
        std::fprintf(stderr, "kpx-bench-baseline: cannot create %s\n", tablePath);
        return 1;
    }
    bool written = std::fwrite(table.data(), 1, table.size(), file) == table.size();
    if (sync)
        written = std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0 && written;
    if (std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "kpx-bench-baseline: cannot write %s\n", tablePath);
        return 1;
    }
    std::printf("%u entries: %s\n", count, tablePath);
    return 0;
}
