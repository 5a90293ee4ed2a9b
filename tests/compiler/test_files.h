// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Small file helpers shared by the compiler and tool tests.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#ifdef _WIN32
#include <io.h>
#endif

namespace kpxtest {

namespace fs = std::filesystem;

// A fresh directory under the system's temporary directory, removed with everything in it.
class TempDir {
public:
    TempDir()
    {
        std::string pattern = (fs::temp_directory_path() / "kpx-test-XXXXXX").string();
#ifdef _WIN32
        // Windows has no mkdtemp: _mktemp_s picks a free name and create_directory claims it.
        if (_mktemp_s(pattern.data(), pattern.size() + 1) != 0 || !fs::create_directory(pattern))
            throw std::runtime_error("_mktemp_s failed");
#else
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
#endif
        path_ = pattern;
    }
    ~TempDir()
    {
        std::error_code ignored;
        // Read-only files and directories made by a test must not stop the clean-up.
        for (const auto &entry : fs::recursive_directory_iterator(path_, ignored))
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(path_, ignored);
    }
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    const fs::path &path() const
    {
        return path_;
    }
    std::string operator/(std::string_view name) const
    {
        return (path_ / name).string();
    }

    // Names of the entries in the directory, sorted.
    std::vector<std::string> names() const
    {
        std::vector<std::string> result;
        for (const auto &entry : fs::directory_iterator(path_))
            result.push_back(entry.path().filename().string());
        std::sort(result.begin(), result.end());
        return result;
    }

private:
    fs::path path_;
};

inline std::string readFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFile(const fs::path &path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

// The records of a table, as "key<TAB>output\n" lines; checks the header on the way.
inline std::string tableRecords(std::string_view table)
{
    std::string out;
    if (table.size() < 32)
        return "<short>";
    std::size_t at = 32;
    while (at < table.size()) {
        const std::size_t keyLength = static_cast<unsigned char>(table[at]);
        out.append(table.substr(at + 1, keyLength));
        out += '\t';
        at += 1 + keyLength;
        if (at >= table.size())
            return out + "<cut>";
        const std::size_t outputLength = static_cast<unsigned char>(table[at]);
        out.append(table.substr(at + 1, outputLength));
        out += '\n';
        at += 1 + outputLength;
    }
    return out;
}

// Little-endian 32-bit value at offset.
inline std::uint32_t u32At(std::string_view bytes, std::size_t offset)
{
    std::uint32_t value = 0;
    for (int byte = 3; byte >= 0; --byte)
        value = value << 8 | static_cast<unsigned char>(bytes[offset + static_cast<std::size_t>(byte)]);
    return value;
}

// Header of a table with the given tag, entry count and body size.
inline std::string tableHeader(std::string_view tag, std::uint32_t count, std::uint32_t body)
{
    const auto u32 = [](std::uint32_t value) {
        std::string bytes;
        for (int byte = 0; byte < 4; ++byte)
            bytes += static_cast<char>((value >> (8 * byte)) & 0xFF);
        return bytes;
    };
    return u32(24) + std::string(tag) + std::string("\x02\x00\x01\x00", 4) + u32(count) + u32(body) + u32(1) + u32(0)
        + u32(body);
}

} // namespace kpxtest
