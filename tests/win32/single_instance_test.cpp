// SPDX-License-Identifier: GPL-2.0-or-later
// One copy per machine: the claim against mutexes that another copy, another user's copy or an
// elevated copy would leave (Wine checks a mutex's security as Windows does).
#include <string>

#include "win32/single_instance.h"
#include <gtest/gtest.h>
#include <sddl.h>

namespace {

using kpx::win32::SingleInstance;

bool mutexExists(const std::wstring &name)
{
    const HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, name.c_str());
    if (mutex)
        CloseHandle(mutex);
    return mutex || GetLastError() == ERROR_ACCESS_DENIED;
}

TEST(SingleInstance, TheFirstCopyClaimsAMachineWideMutexAndTheSecondFindsIt)
{
    SingleInstance first(L"C:\\vokelu-test-a\\");
    ASSERT_EQ(first.claim(), SingleInstance::Claim::Claimed);
    EXPECT_TRUE(mutexExists(L"Global\\" + first.name()));
    EXPECT_FALSE(mutexExists(L"Local\\" + first.name()));
    EXPECT_TRUE(mutexExists(SingleInstance::kProgramMutex));

    // The same directory in other letters is the same directory.
    SingleInstance second(L"c:\\VOKELU-TEST-A\\");
    EXPECT_EQ(second.claim(), SingleInstance::Claim::Taken);
    SingleInstance other(L"C:\\vokelu-test-b\\");
    EXPECT_EQ(other.claim(), SingleInstance::Claim::Claimed);
}

TEST(SingleInstance, AMutexThisUserMayNotOpenIsARunningCopy)
{
    // What another user's or an elevated copy's mutex looks like from here: no access at all.
    const SingleInstance probe(L"C:\\vokelu-test-c\\");
    SECURITY_ATTRIBUTES security { sizeof security, nullptr, FALSE };
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
        L"D:", SDDL_REVISION_1, &security.lpSecurityDescriptor, nullptr));
    const HANDLE foreign = CreateMutexW(&security, FALSE, (L"Global\\" + probe.name()).c_str());
    LocalFree(security.lpSecurityDescriptor);
    ASSERT_NE(foreign, nullptr);

    SingleInstance instance(L"C:\\vokelu-test-c\\");
    EXPECT_EQ(instance.claim(), SingleInstance::Claim::TakenByOther);
    CloseHandle(foreign);
}

TEST(SingleInstance, WhenNoMutexCanBeMadeTheClaimSaysWhy)
{
    // An object of another kind under the name: Windows refuses the mutex.
    const SingleInstance probe(L"C:\\vokelu-test-d\\");
    const HANDLE squatter = CreateEventW(nullptr, FALSE, FALSE, (L"Global\\" + probe.name()).c_str());
    ASSERT_NE(squatter, nullptr);
    SingleInstance instance(L"C:\\vokelu-test-d\\");
    EXPECT_EQ(instance.claim(), SingleInstance::Claim::Unknown);
    EXPECT_FALSE(instance.systemWords().empty());
    CloseHandle(squatter);
}

} // namespace
