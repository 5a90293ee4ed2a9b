// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include <unistd.h>

// Small helpers shared by the fuzz targets.
namespace fuzz {

// Aborts with a message, so that libFuzzer records the input as a failure.
[[noreturn]] inline void fail(const char *what)
{
    std::fprintf(stderr, "property violated: %s\n", what);
    std::abort();
}

inline void check(bool holds, const char *what)
{
    if (!holds)
        fail(what);
}

// A scratch directory of this process, made once; in memory where the system has such a file
// system, since every table and state file is flushed to the disk.
inline const std::string &scratchDirectory()
{
    static const std::string directory = [] {
        char pattern[] = "/dev/shm/kpx-fuzz-XXXXXX";
        const char *made = ::mkdtemp(pattern);
        if (!made) {
            std::snprintf(pattern, sizeof pattern, "%s", "/tmp/kpx-fuzz-XXXXXX");
            made = ::mkdtemp(pattern);
        }
        if (!made)
            fail("cannot make a scratch directory");
        return std::string(made);
    }();
    return directory;
}

inline std::string scratchPath(const char *name)
{
    return scratchDirectory() + "/" + name;
}

inline void writeFile(const std::string &path, std::string_view bytes)
{
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (!file)
        fail("cannot write a scratch file");
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size())
        fail("short write of a scratch file");
    std::fclose(file);
}

inline std::string readFile(const std::string &path)
{
    std::string bytes;
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (!file)
        return bytes;
    char block[4096];
    std::size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0)
        bytes.append(block, got);
    std::fclose(file);
    return bytes;
}

} // namespace fuzz
