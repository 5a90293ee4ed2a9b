// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

// Sets or removes one environment variable for the length of a test and puts the old value
// back afterwards.
class EnvironmentGuard {
public:
    explicit EnvironmentGuard(std::string name)
        : name_(std::move(name))
    {
        if (const char *old = std::getenv(name_.c_str()))
            old_ = old;
    }
    ~EnvironmentGuard() { old_ ? set(*old_) : unset(); }
    EnvironmentGuard(const EnvironmentGuard &) = delete;
    EnvironmentGuard &operator=(const EnvironmentGuard &) = delete;

    void set(const std::string &value) const
    {
#ifdef _WIN32
        // Both the C runtime's copy and the process environment that a library reads.
        _putenv_s(name_.c_str(), value.c_str());
        SetEnvironmentVariableA(name_.c_str(), value.c_str());
#else
        ::setenv(name_.c_str(), value.c_str(), 1);
#endif
    }
    void unset() const
    {
#ifdef _WIN32
        _putenv_s(name_.c_str(), "");
        SetEnvironmentVariableA(name_.c_str(), nullptr);
#else
        ::unsetenv(name_.c_str());
#endif
    }

private:
    std::string name_;
    std::optional<std::string> old_;
};
