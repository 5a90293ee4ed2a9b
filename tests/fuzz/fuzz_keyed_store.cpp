// SPDX-License-Identifier: GPL-2.0-or-later
// The keyed store: load, save and load again give the same values, and saving those gives the
// same file again.
#include <cstdint>
#include <cstring>
#include <string>

#include "state/keyed_store.h"
#include "tests/fuzz/fuzz_support.h"

using namespace kpx;

namespace {

std::string describe(const KeyedStore &store)
{
    std::string text;
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        if (store.hasValue(letter)) {
            text += letter;
            text += '=';
            text += store.value(letter);
            text += '\n';
        }
    }
    text += "free " + std::to_string(store.freeLineCount()) + '\n';
    for (int line = 0; line < store.freeLineCount(); ++line) {
        const char *free = store.freeLine(line);
        text += free ? free : "(none)";
        text += '\n';
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string first = fuzz::scratchPath("first.ini");
    const std::string second = fuzz::scratchPath("second.ini");
    const std::string third = fuzz::scratchPath("third.ini");
    fuzz::writeFile(first, std::string(reinterpret_cast<const char *>(data), size));

    KeyedStore store;
    store.load(first.c_str());
    store.save(second.c_str(), "//header");
    KeyedStore again;
    again.load(second.c_str());
    fuzz::check(describe(store) == describe(again), "load, save, load keeps the values");
    again.save(third.c_str(), "//header");
    fuzz::check(fuzz::readFile(second) == fuzz::readFile(third), "saving the same values writes the same file");
    return 0;
}
