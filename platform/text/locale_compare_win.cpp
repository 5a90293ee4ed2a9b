// SPDX-License-Identifier: GPL-2.0-or-later
// The user locale's order as Windows has it. The comparison is CompareStringEx on the UTF-16
// text with NORM_IGNORECASE rather than CompareStringA on the Big5 bytes: CompareStringA only
// converts its bytes through the ANSI code page and compares the result the same way, so the
// order is the same on a Big5 (code page 950) system, while the UTF-16 call also holds on systems
// with another ANSI code page and for the escape characters of undecodable bytes.
// CompareStringEx is a Vista-era call.
#if !defined(_WIN32_WINNT) || _WIN32_WINNT < 0x0600
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <climits>
#include <mutex>
#include <string>

#include "platform/text/locale_compare.h"
#include <windows.h>

namespace kpx {
namespace {

struct LocaleChoice {
    std::mutex mutex;
    std::wstring name; // empty: the user's default
};

LocaleChoice &localeChoice()
{
    static LocaleChoice choice;
    return choice;
}

int clampedLength(std::u16string_view text)
{
    return text.size() > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(text.size());
}

} // namespace

int compareLocaleIgnoringCase(std::u16string_view a, std::u16string_view b)
{
    LocaleChoice &choice = localeChoice();
    const std::lock_guard lock(choice.mutex);
    const wchar_t *const locale = choice.name.empty() ? LOCALE_NAME_USER_DEFAULT : choice.name.c_str();
    // wchar_t is a UTF-16 unit on Windows.
    const int result = CompareStringEx(locale, NORM_IGNORECASE, reinterpret_cast<const wchar_t *>(a.data()),
        clampedLength(a), reinterpret_cast<const wchar_t *>(b.data()), clampedLength(b), nullptr, nullptr, 0);
    if (result == 0) {
        // Only an unknown locale name fails; an order of code units still lets Sort finish.
        const int plain = a.compare(b);
        return plain < 0 ? -1 : (plain > 0 ? 1 : 0);
    }
    return result - CSTR_EQUAL;
}

void setCollationLocaleForTesting(std::string_view localeName)
{
    LocaleChoice &choice = localeChoice();
    const std::lock_guard lock(choice.mutex);
    // Windows names locales "en-US" where ICU and POSIX write "en_US".
    choice.name.clear();
    for (const char c : localeName) {
        const auto wide = static_cast<wchar_t>(static_cast<unsigned char>(c));
        choice.name.push_back(c == '_' ? L'-' : wide);
    }
}

} // namespace kpx
