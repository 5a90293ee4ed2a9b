// SPDX-License-Identifier: GPL-2.0-or-later
#include "compiler/run_inputs.h"

#include <new>

namespace kpx {

bool RunInputs::add(const os::FileIdentity &identity, const std::string &path)
{
    if (includes(identity))
        return true;
    try {
        files_.push_back(Input { identity, true, path });
    } catch (const std::bad_alloc &) {
        return false;
    }
    return true;
}

bool RunInputs::addName(const std::string &path)
{
    try {
        files_.push_back(Input { {}, false, path });
    } catch (const std::bad_alloc &) {
        return false;
    }
    return true;
}

bool RunInputs::includes(const os::FileIdentity &identity) const
{
    for (const Input &input : files_) {
        if (input.identified && input.identity == identity)
            return true;
    }
    return false;
}

const std::string *RunInputs::inputAt(const char *path) const
{
    if (!path || !*path)
        return nullptr;
    os::FileIdentity identity;
    const bool identified = os::pathIdentity(path, identity);
    for (const Input &input : files_) {
        if ((identified && input.identified && input.identity == identity) || input.path == path)
            return &input.path;
    }
    return nullptr;
}

} // namespace kpx
