#include "platform/ExclusiveNameLock.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace
{
    const char* const childVariable = "VAMRHELPER_NAME_LOCK_CHILD";

    juce::String freshName()
    {
        return "vamrhelper-test-" + juce::String::toHexString (juce::Random::getSystemRandom().nextInt64());
    }
}

TEST (ExclusiveNameLock, OneHolderAtATimeUntilItLetsGo)
{
    const auto name = freshName();
    EXPECT_FALSE (ExclusiveNameLock::isTaken (name));

    auto first = std::make_unique<ExclusiveNameLock> (name);
    ExclusiveNameLock second (name);

    ASSERT_TRUE (first->tryAcquire());
    EXPECT_TRUE (first->tryAcquire()) << "a holder asking again still holds it";
    EXPECT_TRUE (ExclusiveNameLock::isTaken (name));
    EXPECT_FALSE (second.tryAcquire());
    EXPECT_FALSE (second.isHeld());

    // Looking does not take it.
    EXPECT_TRUE (ExclusiveNameLock::isTaken (name));
    EXPECT_TRUE (first->isHeld());

    first->release();
    EXPECT_FALSE (ExclusiveNameLock::isTaken (name));
    ASSERT_TRUE (second.tryAcquire());
    EXPECT_FALSE (first->tryAcquire());

    second.release();
    ASSERT_TRUE (first->tryAcquire());
    first = nullptr;   // the destructor lets go
    EXPECT_FALSE (ExclusiveNameLock::isTaken (name));
    EXPECT_TRUE (second.tryAcquire());
}

TEST (ExclusiveNameLock, NamesAreIndependent)
{
    const auto name = freshName();
    ExclusiveNameLock one (name), other (name + ".other");

    ASSERT_TRUE (one.tryAcquire());
    EXPECT_TRUE (other.tryAcquire());
    EXPECT_FALSE (ExclusiveNameLock::isTaken (name + ".third"));
}

// Runs only inside the child process started below: takes the name and
// waits to be killed.
TEST (ExclusiveNameLockChild, HoldsTheNameUntilKilled)
{
    const auto name = juce::SystemStats::getEnvironmentVariable (childVariable, {});

    if (name.isEmpty())
        GTEST_SKIP() << "runs only as the child of ExclusiveNameLock";

    ExclusiveNameLock lock (name);
    ASSERT_TRUE (lock.tryAcquire());
    juce::Thread::sleep (60000);
}

TEST (ExclusiveNameLock, ACrashedHolderLeavesTheNameFree)
{
    const auto name = freshName();
    ScopedEnvironmentVariable child (childVariable, name);

    // The killed child cannot remove its own sandbox: it makes it in ours.
    ScopedSandbox sandbox;
    ScopedEnvironmentVariable childTemp ("TMPDIR", sandbox.root().getFullPathName());
    ScopedEnvironmentVariable childTempWindows ("TMP", sandbox.root().getFullPathName());
    const auto self = juce::File::getSpecialLocation (juce::File::currentExecutableFile);

    juce::ChildProcess holder;
    ASSERT_TRUE (holder.start (juce::StringArray { self.getFullPathName(), "--gtest_filter=ExclusiveNameLockChild.*" }, 0));

    const auto end = juce::Time::getMillisecondCounter() + 30000;

    while (! ExclusiveNameLock::isTaken (name) && holder.isRunning() && juce::Time::getMillisecondCounter() < end)
        juce::Thread::sleep (10);

    ASSERT_TRUE (ExclusiveNameLock::isTaken (name)) << "the child never took the name";

    ExclusiveNameLock lock (name);
    EXPECT_FALSE (lock.tryAcquire());

    ASSERT_TRUE (holder.kill());
    ASSERT_TRUE (holder.waitForProcessToFinish (10000));

    EXPECT_TRUE (lock.tryAcquire());
}
