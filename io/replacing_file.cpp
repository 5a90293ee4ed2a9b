// SPDX-License-Identifier: GPL-2.0-or-later
#include "io/replacing_file.h"

#include <new>

#include "platform/os_file.h"

namespace kpx {

ReplacingFile::ReplacingFile(const char *targetPath)
    : givenTarget_(targetPath)
{
}

ReplacingFile::~ReplacingFile()
{
    if (file_.isOpen())
        discard();
}

ReplacingFile::Result ReplacingFile::begin()
{
    if (!givenTarget_ || !*givenTarget_) {
        noteFailure();
        return Result::ReadOnly;
    }
    try {
        if (!kpx::os::replacementTarget(givenTarget_, target_)) {
            noteFailure();
            return Result::CannotCreate;
        }
        if (!kpx::os::canReplace(target_.c_str())) {
            noteFailure();
            return Result::ReadOnly;
        }
        temporary_ = kpx::os::temporaryPathBeside(target_.c_str());
    } catch (const std::bad_alloc &) {
        return Result::OutOfMemory;
    }
    if (!file_.create(temporary_.c_str())) {
        noteFailure();
        return Result::CannotCreate;
    }
    return Result::Done;
}

ReplacingFile::Result ReplacingFile::finish(bool everythingWritten)
{
    if (!everythingWritten || !file_.sync()) {
        noteFailure();
        discard();
        return Result::WriteFailed;
    }
    file_.close();
    if (!kpx::os::replaceFile(temporary_.c_str(), target_.c_str())) {
        noteFailure();
        kpx::os::removeFile(temporary_.c_str());
        return Result::CannotReplace;
    }
    return Result::Done;
}

void ReplacingFile::noteFailure()
{
    reasonKind_ = kpx::os::lastErrorKind();
    reason_ = kpx::os::lastErrorText();
}

void ReplacingFile::discard()
{
    file_.close();
    kpx::os::removeFile(temporary_.c_str());
}

} // namespace kpx
