// SPDX-License-Identifier: GPL-2.0-or-later
#include "io/replacing_file.h"

#include <new>

#include "platform/os_file.h"

namespace kpx {

namespace {

// Pauses between attempts to move the new file in place: about a second in all.
constexpr int kRetryPauses[] = { 50, 100, 150, 200, 250, 250 };

} // namespace

ReplacingFile::ReplacingFile(const char *targetPath, const ReplaceSteps &steps)
    : givenTarget_(targetPath)
    , steps_(steps)
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
    if (!replaceTarget()) {
        noteFailure();
        kpx::os::removeFile(temporary_.c_str());
        return Result::CannotReplace;
    }
    return Result::Done;
}

bool ReplacingFile::replaceTarget()
{
    os::ReplaceOutcome outcome = steps_.replace(temporary_.c_str(), target_.c_str());
    for (const int pause : kRetryPauses) {
        if (outcome != os::ReplaceOutcome::Busy)
            break;
        steps_.pause(pause);
        outcome = steps_.replace(temporary_.c_str(), target_.c_str());
    }
    if (outcome == os::ReplaceOutcome::Replaced)
        return true;
    if (outcome == os::ReplaceOutcome::Failed)
        return false;
    // Still held open: the new bytes go into the old file, which the temporary one then leaves.
    if (!steps_.overwriteInPlace(temporary_.c_str(), target_.c_str()))
        return false;
    kpx::os::removeFile(temporary_.c_str());
    return true;
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
