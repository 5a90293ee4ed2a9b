// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <vector>

#include "platform/os_file.h"

namespace kpx {

// The files a run reads (its data file and every include file), so that what it writes never
// replaces one of them: a table written over the data file would lose the user's words. Files
// are told apart by the system's identity, so that another spelling of a path is the same file.
class RunInputs {
public:
    void clear() { files_.clear(); }
    // Records a file the run reads, by the identity of its open file, under the name the run
    // gave it. False when memory ran out.
    bool add(const os::FileIdentity &identity, const std::string &path);
    // Records a file by its name only, for an input that does not exist yet (a slot's data file
    // before its first save): an output of that very name would still become it.
    bool addName(const std::string &path);
    // The input that writing to path would replace, by the name the run gave it; null when none.
    const std::string *inputAt(const char *path) const;
    // The identities recorded, for another run that reads the same files.
    bool includes(const os::FileIdentity &identity) const;

private:
    struct Input {
        os::FileIdentity identity;
        bool identified = false;
        std::string path;
    };
    std::vector<Input> files_;
};

} // namespace kpx
