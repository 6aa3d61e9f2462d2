// A link-started process that gives up closes its end of the FIFOs. The
// server's answer then meets a pipe without a reader: EPIPE, which must
// come back as a failed write at once, not as a signal or a wait.
#include "app/link/LinkPipeName.h"
#include "app/link/LinkPipeProtocol.h"
#include "platform/LocalPipe.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

TEST (LinkPipeLinux, AnAnswerToASenderThatLeftFailsAtOnce)
{
    using Status = LinkPipeProtocol::Incoming::Status;

    ScopedSandbox sandbox;
    const auto address = LocalPipe::address (linkPipeName());
    ASSERT_TRUE (address.isNotEmpty());

    juce::NamedPipe server;
    ASSERT_TRUE (server.createNewPipe (address, false));

    {
        juce::NamedPipe sender;
        ASSERT_TRUE (sender.openExisting (address));

        // While the sender is there, an answer reaches it.
        ASSERT_TRUE (LinkPipeProtocol::writeMessage (server, LinkPipeProtocol::acknowledgement ("first"), 2000));
        const auto incoming = LinkPipeProtocol::readMessage (sender, 2000, 2000);
        ASSERT_EQ (incoming.status, Status::received);
        EXPECT_EQ (LinkPipeProtocol::parseAcknowledgement (incoming.payload), juce::String ("first"));
    }

    const auto start = juce::Time::getMillisecondCounterHiRes();
    EXPECT_FALSE (LinkPipeProtocol::writeMessage (server, LinkPipeProtocol::acknowledgement ("second"), 20000));
    EXPECT_LT (juce::Time::getMillisecondCounterHiRes() - start, 10000.0) << "waited out the time-out instead of failing";
}
