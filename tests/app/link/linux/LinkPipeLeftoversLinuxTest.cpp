// On Linux the link pipe is a pair of FIFOs in the user's private folder,
// which outlive an instance that crashes; the owner's name is a lock file
// beside them.
#include "app/link/LinkHandOver.h"
#include "app/link/LinkPipeName.h"
#include "app/link/LinkPipeServer.h"
#include "platform/LocalPipe.h"
#include "platform/linux/PrivateRuntimeFolderLinux.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace
{
    struct PipeFiles
    {
        explicit PipeFiles (const juce::String& pipeName)
            : base (LocalPipe::address (pipeName)),
              ownerLockFile (privateRuntimeFolder().getChildFile (pipeName + ".owner.lock")) {}

        juce::File input() const      { return juce::File (base + "_in"); }
        juce::File output() const     { return juce::File (base + "_out"); }
        juce::File ownerLock() const  { return ownerLockFile; }

        juce::String base;
        juce::File ownerLockFile;
    };
}

TEST (LinkPipeLeftovers, WhatACrashedOwnerLeftNeitherDelaysASenderNorBlocksTheNextOwner)
{
    ScopedSandbox sandbox;
    const auto pipeName = linkPipeName();
    const PipeFiles files (pipeName);
    ASSERT_TRUE (files.base.startsWith (privateRuntimeFolder().getFullPathName() + "/")) << files.base;

    // Both FIFOs and the owner's lock file, with no process on any of them.
    ASSERT_EQ (mkfifo (files.input().getFullPathName().toRawUTF8(), 0600), 0);
    ASSERT_EQ (mkfifo (files.output().getFullPathName().toRawUTF8(), 0600), 0);
    ASSERT_TRUE (files.ownerLock().create());

    const auto start = juce::Time::getMillisecondCounterHiRes();
    const auto outcome = handOverLink (pipeName, "vamrhelper://email=a@b.com&code=C", 10000);
    EXPECT_EQ (outcome.result, LinkHandOverOutcome::Result::noInstance) << outcome.detail;
    EXPECT_LT (juce::Time::getMillisecondCounterHiRes() - start, 2000.0);

    {
        juce::StringArray received;
        LinkPipeServer server (pipeName, [&] (const juce::String& link) { received.add (link); });
        ASSERT_TRUE (pumpUntil ([&] { return server.ownsPipe(); }, 5000));

        EXPECT_TRUE (handOverLink (pipeName, "vamrhelper://email=a@b.com&code=C").wasDelivered());
        ASSERT_TRUE (pumpUntil ([&] { return received.size() == 1; }, 5000));
    }

    // An owner that ends normally leaves nothing behind.
    EXPECT_FALSE (files.input().exists());
    EXPECT_FALSE (files.output().exists());
    EXPECT_FALSE (files.ownerLock().exists());
}
