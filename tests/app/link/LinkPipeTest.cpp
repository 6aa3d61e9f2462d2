// The link pipe within one process: a server and the hand-over that a
// link-started process runs, over a real pipe of this system.
#include "app/link/LinkHandOver.h"
#include "app/link/LinkPipeName.h"
#include "app/link/LinkPipeProtocol.h"
#include "app/link/LinkPipeServer.h"
#include "platform/ExclusiveNameLock.h"
#include "platform/LocalPipe.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

namespace
{
    using Result = LinkHandOverOutcome::Result;

    double millisecondsSince (double start)
    {
        return juce::Time::getMillisecondCounterHiRes() - start;
    }

    class LinkPipe : public ::testing::Test
    {
    protected:
        /** A server that collects what it receives; it owns the pipe on return. */
        std::unique_ptr<LinkPipeServer> startServer (juce::StringArray& received)
        {
            auto server = std::make_unique<LinkPipeServer> (pipeName, [&received] (const juce::String& link)
                                                            {
                                                                received.add (link);
                                                            });
            EXPECT_TRUE (pumpUntil ([&] { return server->ownsPipe(); }, 5000)) << pipeName;
            return server;
        }

        static void expectDelivered (const LinkHandOverOutcome& outcome, const juce::String& link)
        {
            EXPECT_EQ (outcome.result, Result::delivered) << outcome.detail << " for " << link.substring (0, 80);
        }

        ScopedSandbox sandbox;
        const juce::String pipeName = linkPipeName();
    };
}

TEST_F (LinkPipe, LinksArriveIntactAndInOrder)
{
    juce::StringArray received;
    auto server = startServer (received);

    const juce::StringArray links {
        "vamrhelper://email=a@b.com&code=XYZ",
        juce::String::fromUTF8 ("vamrhelper://email=\xc3\xa5sa@ex\xc3\xa4mple.se&code=\xe6\x97\xa5\xe6\x9c\xac-\xc3\x86\xc3\x98"),
        "vamrhelper://email=a%40b.com&code=1%2B2+3%25%26%0A",
        "vamrhelper://email=a@b.com&code=" + juce::String::repeatedString ("0123456789abcdef", 600),   // beyond one atomic pipe write
        "VAMRHELPER://email=caps@b.com&code=C",   // the instance decides what it can use
        "vamrhelper://email=a@b.com&code=XYZ",    // the same link again is still a new link
    };

    for (const auto& link : links)
        expectDelivered (handOverLink (pipeName, link), link);

    ASSERT_TRUE (pumpUntil ([&] { return received.size() >= links.size(); }, 5000)) << received.size();
    EXPECT_EQ (received, links);
}

TEST_F (LinkPipe, SendersAtTheSameTimeAllGetThrough)
{
    juce::StringArray received;
    auto server = startServer (received);

    constexpr int senders = 4;
    std::vector<LinkHandOverOutcome> outcomes (senders);
    std::vector<std::thread> threads;

    for (int i = 0; i < senders; ++i)
        threads.emplace_back ([&, i] { outcomes[(size_t) i] = handOverLink (pipeName, "vamrhelper://email=" + juce::String (i) + "@b.com&code=C"); });

    for (auto& thread : threads)
        thread.join();

    for (const auto& outcome : outcomes)
        EXPECT_EQ (outcome.result, Result::delivered) << outcome.detail;

    ASSERT_TRUE (pumpUntil ([&] { return received.size() >= senders; }, 5000)) << received.size();

    for (int i = 0; i < senders; ++i)
        EXPECT_TRUE (received.contains ("vamrhelper://email=" + juce::String (i) + "@b.com&code=C")) << i;

    EXPECT_EQ (received.size(), senders);
}

TEST_F (LinkPipe, WithoutAServerTheSenderKnowsAtOnce)
{
    const auto start = juce::Time::getMillisecondCounterHiRes();
    const auto outcome = handOverLink (pipeName, "vamrhelper://email=a@b.com&code=C", 10000);

    EXPECT_EQ (outcome.result, Result::noInstance);
    EXPECT_LT (millisecondsSince (start), 2000.0) << "waited for an answer that nobody could give";
}

TEST_F (LinkPipe, AnOwnerThatNeverAnswersIsGivenUpOnWithinTheTimeOut)
{
    // Holds the owner's name and the pipe, but never reads: a hung instance.
    ExclusiveNameLock owner (LinkPipeProtocol::ownerLockName (pipeName));
    ASSERT_TRUE (owner.tryAcquire());
    juce::NamedPipe silent;
    ASSERT_TRUE (silent.createNewPipe (LocalPipe::address (pipeName), false));

    const auto start = juce::Time::getMillisecondCounterHiRes();
    const auto outcome = handOverLink (pipeName, "vamrhelper://email=a@b.com&code=C", 800);

    EXPECT_EQ (outcome.result, Result::noAnswer) << outcome.detail;
    EXPECT_LT (millisecondsSince (start), 800.0 + 1500.0);
}

TEST_F (LinkPipe, SecondServerWaitsAndTakesOverWhenTheOwnerGoes)
{
    juce::StringArray toFirst, toSecond;
    auto first = startServer (toFirst);
    auto second = std::make_unique<LinkPipeServer> (pipeName, [&] (const juce::String& link) { toSecond.add (link); });

    juce::MessageManager::getInstance()->runDispatchLoopUntil (300);
    EXPECT_TRUE (first->ownsPipe());
    EXPECT_FALSE (second->ownsPipe());

    expectDelivered (handOverLink (pipeName, "vamrhelper://email=one@b.com&code=1"), "one");
    ASSERT_TRUE (pumpUntil ([&] { return toFirst.size() == 1; }, 5000));

    first = nullptr;
    ASSERT_TRUE (pumpUntil ([&] { return second->ownsPipe(); }, LinkPipeServer::retryIntervalMs * 3));

    expectDelivered (handOverLink (pipeName, "vamrhelper://email=two@b.com&code=2"), "two");
    ASSERT_TRUE (pumpUntil ([&] { return toSecond.size() == 1; }, 5000));
    EXPECT_EQ (toFirst, juce::StringArray ("vamrhelper://email=one@b.com&code=1"));
    EXPECT_EQ (toSecond, juce::StringArray ("vamrhelper://email=two@b.com&code=2"));
}

TEST_F (LinkPipe, ALinkStillQueuedWhenTheServerGoesReachesNobody)
{
    bool called = false;
    auto server = std::make_unique<LinkPipeServer> (pipeName, [&called] (const juce::String&) { called = true; });
    ASSERT_TRUE (pumpUntil ([&] { return server->ownsPipe(); }, 5000));

    // Acknowledged, so it waits in the message queue; the server goes first.
    expectDelivered (handOverLink (pipeName, "vamrhelper://email=a@b.com&code=C"), "queued");
    server = nullptr;

    juce::MessageManager::getInstance()->runDispatchLoopUntil (200);
    EXPECT_FALSE (called);

    // And the name is free again for the next instance.
    EXPECT_FALSE (ExclusiveNameLock::isTaken (LinkPipeProtocol::ownerLockName (pipeName)));
    EXPECT_EQ (handOverLink (pipeName, "vamrhelper://email=a@b.com&code=C").result, Result::noInstance);
}

TEST_F (LinkPipe, GarbageOnThePipeIsSkippedAndServingGoesOn)
{
    juce::StringArray received;
    auto server = startServer (received);

    auto frame = [] (juce::uint32 length, const juce::MemoryBlock& payload)
    {
        juce::MemoryOutputStream stream;
        stream.writeInt ((int) LinkPipeProtocol::marker);
        stream.writeInt ((int) length);
        stream.write (payload.getData(), payload.getSize());
        return stream.getMemoryBlock();
    };

    const auto text = [] (const char* s) { return juce::MemoryBlock (s, std::strlen (s)); };

    struct Case { const char* what; juce::MemoryBlock bytes; };
    const Case cases[] = {
        { "bytes without a marker",      text ("GET / HTTP/1.1\r\n\r\n") },
        { "an impossible length",        frame (0x7fffffffu, text ("xyz")) },
        { "an answer instead of a link", frame (7, text ("ack\nabc")) },
        { "a request without a link",    frame (6, text ("link\nn")) },
        { "a request of another kind",   frame (9, text ("open\nn\nxy")) },
    };

    int sent = 0;

    for (const auto& c : cases)
    {
        {
            juce::NamedPipe raw;
            ASSERT_TRUE (raw.openExisting (LocalPipe::address (pipeName))) << c.what;
            ASSERT_EQ (raw.write (c.bytes.getData(), (int) c.bytes.getSize(), 1000), (int) c.bytes.getSize()) << c.what;
        }

        const auto link = "vamrhelper://email=after@b.com&code=" + juce::String (++sent);
        expectDelivered (handOverLink (pipeName, link), c.what);
    }

    ASSERT_TRUE (pumpUntil ([&] { return received.size() >= sent; }, 5000)) << received.size();
    EXPECT_EQ (received.size(), sent);
    EXPECT_EQ (received[sent - 1], "vamrhelper://email=after@b.com&code=" + juce::String (sent));
}

TEST_F (LinkPipe, ALinkTooLongToSendIsNotSent)
{
    juce::StringArray received;
    auto server = startServer (received);

    const auto link = "vamrhelper://email=a@b.com&code=" + juce::String::repeatedString ("x", LinkPipeProtocol::maxPayloadBytes);
    const auto outcome = handOverLink (pipeName, link);

    EXPECT_EQ (outcome.result, Result::noAnswer);
    EXPECT_TRUE (outcome.detail.contains ("too long")) << outcome.detail;
    juce::MessageManager::getInstance()->runDispatchLoopUntil (100);
    EXPECT_TRUE (received.isEmpty());
}
