// SPDX-License-Identifier: GPL-2.0-or-later
// A stand-in for the input method's library, for the tests: every call of the notify entry
// point appends its value, one line per call, to the file named by KPX_FAKE_HVMRK_LOG.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#ifdef _WIN32
#include <windows.h>
// The .def file decides what is exported, and by which ordinal.
#define KPX_FAKE_EXPORT
// The real library's exports are __stdcall; the program calls it that way.
#define KPX_FAKE_CALL WINAPI
#else
#define KPX_FAKE_EXPORT __attribute__((visibility("default")))
#define KPX_FAKE_CALL
#endif

namespace {

std::string logPath()
{
#ifdef _WIN32
    // The process environment, not a copy kept by this library's own C runtime.
    char path[1024];
    const DWORD length = GetEnvironmentVariableA("KPX_FAKE_HVMRK_LOG", path, sizeof path);
    return length > 0 && length < sizeof path ? std::string(path, length) : std::string();
#else
    const char *path = std::getenv("KPX_FAKE_HVMRK_LOG");
    return path ? std::string(path) : std::string();
#endif
}

} // namespace

extern "C" KPX_FAKE_EXPORT void KPX_FAKE_CALL hvmrk_notify(std::int32_t value)
{
    const std::string path = logPath();
    if (path.empty())
        return;
    if (std::FILE *log = std::fopen(path.c_str(), "ab")) {
        std::fprintf(log, "%ld\n", static_cast<long>(value));
        std::fclose(log);
    }
}
