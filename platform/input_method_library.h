// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>

// The input method's own library (hvmrk.dll on Windows, libhvmrk.so elsewhere). The program
// loads it at start, calls its notify entry point with 1 after every table it makes, and
// releases it at close. A missing library or entry point is not an error: the program then
// simply never notifies.
namespace kpx {

class InputMethodLibrary {
public:
    InputMethodLibrary() = default;
    ~InputMethodLibrary();
    InputMethodLibrary(const InputMethodLibrary &) = delete;
    InputMethodLibrary &operator=(const InputMethodLibrary &) = delete;
    InputMethodLibrary(InputMethodLibrary &&other) noexcept;
    InputMethodLibrary &operator=(InputMethodLibrary &&other) noexcept;

    // Windows: "hvmrk.dll" by its full path in the system directory, then in the program's own
    // folder (never the current directory or PATH); the export with ordinal 2, of whatever
    // calling convention. POSIX: "libhvmrk.so" through the loader's search path, the C function
    // hvmrk_notify(int32_t). Returns true when a library was loaded.
    bool load();
    bool isLoaded() const { return handle_ != nullptr; }
    bool hasNotify() const { return notify_ != nullptr; }
    // Calls the notify entry point when there is one.
    void notify(std::int32_t value) const;
    // Unloads the library and forgets the entry point.
    void release();

private:
    // The entry point as a plain code address; each platform's source calls it as the library
    // expects.
    using EntryPoint = void (*)();
    void *handle_ = nullptr;
    EntryPoint notify_ = nullptr;
};

} // namespace kpx
