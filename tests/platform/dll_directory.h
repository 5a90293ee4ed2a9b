// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#ifdef _WIN32
#include <cstdlib>
#include <cstring>
#include <string>

#include <gtest/gtest.h>
#include <windows.h>

namespace kpxtest {

// The program looks for the input method's library by its bare name only where its own
// libraries may be, never on PATH. A test program adds the directory CTest names in
// KPX_TEST_DLL_DIRECTORY, as a program's own directory would be.
class DllDirectory : public testing::Environment {
public:
    void SetUp() override
    {
        if (const char *directory = std::getenv("KPX_TEST_DLL_DIRECTORY")) {
            std::wstring wide(directory, directory + std::strlen(directory));
            for (wchar_t &c : wide)
                c = c == L'/' ? L'\\' : c;
            // A directory that does not exist holds no library either.
            if (GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES) {
                ASSERT_NE(AddDllDirectory(wide.c_str()), nullptr) << directory;
            }
        }
    }
};

} // namespace kpxtest
#endif
