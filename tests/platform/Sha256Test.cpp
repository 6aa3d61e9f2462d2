// The system library's SHA-256 against digests published with the algorithm
// and digests from Python's hashlib, fed whole, in odd pieces and from files.

#include "platform/Sha256.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
    /** 1 MB that is neither constant nor periodic at any block length. */
    juce::MemoryBlock patternMegabyte()
    {
        juce::MemoryBlock bytes (1 << 20);

        for (size_t i = 0; i < bytes.getSize(); ++i)
            bytes[i] = (char) ((((i * 31 + 7) >> 3) ^ i) & 0xff);

        return bytes;
    }

    juce::String digestInPieces (const juce::MemoryBlock& bytes, const std::vector<size_t>& pieceSizes)
    {
        Sha256 hasher;
        size_t at = 0;

        for (size_t i = 0; at < bytes.getSize(); ++i)
        {
            const auto piece = juce::jmin (pieceSizes[i % pieceSizes.size()], bytes.getSize() - at);
            hasher.update (static_cast<const char*> (bytes.getData()) + at, piece);
            at += piece;
        }

        EXPECT_EQ (hasher.bytesAdded(), (juce::int64) bytes.getSize());
        return hasher.finishHex();
    }

    const char* const patternDigest = "3a9e866445901766147c7c53191aa9235a2a14c0d22341e51b6a1aac9513f101";
    const char* const patternFirst1000Digest = "54aad39f194c0e3f075e9dfc31b9055f85720340b592f66335acc5043ee185ee";
}

TEST (Sha256, GivesTheKnownDigestsHoweverTheBytesArePieced)
{
    struct Case
    {
        const char* what;
        juce::MemoryBlock bytes;
        std::vector<size_t> pieceSizes;
        const char* digest;
    };

    const auto text = [] (const char* s) { return juce::MemoryBlock (s, std::strlen (s)); };
    const auto pattern = patternMegabyte();
    const auto twoBlocks = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";

    const Case cases[] {
        { "nothing", {}, { 1 }, "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855" },
        { "abc whole", text ("abc"), { 3 }, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad" },
        { "abc a byte at a time", text ("abc"), { 1 }, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad" },
        { "448 bits, padding into a second block", text (twoBlocks), { 55, 1 },
          "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1" },
        { "1 MB pattern in one piece", pattern, { pattern.getSize() }, patternDigest },
        { "1 MB pattern in odd pieces across block edges", pattern, { 1, 63, 65, 4093, 131071, 7 }, patternDigest },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        EXPECT_EQ (digestInPieces (c.bytes, c.pieceSizes), c.digest);
    }
}

TEST (Sha256, ResetAndFinishStartTheHasherOver)
{
    Sha256 hasher;
    hasher.update ("junk", 4);
    hasher.reset();
    EXPECT_EQ (hasher.bytesAdded(), 0);
    hasher.update ("abc", 3);
    EXPECT_EQ (hasher.finishHex(), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");

    // After a digest the same object hashes the next bytes alone.
    EXPECT_EQ (hasher.bytesAdded(), 0);
    hasher.update ("abc", 3);
    EXPECT_EQ (hasher.finishHex(), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

TEST (Sha256, HashesFilesAndTheStartOfFiles)
{
    const ScopedSandbox sandbox;
    const auto pattern = patternMegabyte();
    const auto file = sandbox.root().getChildFile ("pattern.bin");
    ASSERT_TRUE (file.replaceWithData (pattern.getData(), pattern.getSize()));

    EXPECT_EQ (Sha256::ofFile (file), patternDigest);
    EXPECT_EQ (Sha256::ofFile (sandbox.root().getChildFile ("missing.bin")), "");

    // The start of a file, then bytes that follow it from elsewhere: a resumed download.
    Sha256 resumed;
    ASSERT_TRUE (resumed.updateFromFile (file, 1000));
    EXPECT_EQ (resumed.bytesAdded(), 1000);
    resumed.update (static_cast<const char*> (pattern.getData()) + 1000, pattern.getSize() - 1000);
    EXPECT_EQ (resumed.finishHex(), patternDigest);

    Sha256 start;
    ASSERT_TRUE (start.updateFromFile (file, 1000));
    EXPECT_EQ (start.finishHex(), patternFirst1000Digest);
}

TEST (Sha256, AFileThatCannotGiveTheBytesLeavesNoDigestUntilReset)
{
    const ScopedSandbox sandbox;
    const auto file = sandbox.root().getChildFile ("short.bin");
    ASSERT_TRUE (file.replaceWithText ("abc"));

    struct Case
    {
        const char* what;
        juce::File file;
        juce::int64 bytes;
        std::function<bool()> keepGoing;
    };

    const Case cases[] {
        { "more bytes than the file has", file, 4, {} },
        { "a missing file", sandbox.root().getChildFile ("missing.bin"), 1, {} },
        { "stopped by keepGoing", file, 3, [] { return false; } },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        Sha256 hasher;
        EXPECT_FALSE (hasher.updateFromFile (c.file, c.bytes, c.keepGoing));
        hasher.update ("abc", 3);
        EXPECT_EQ (hasher.finishHex(), "");

        // finishHex started it over, failure included.
        hasher.update ("abc", 3);
        EXPECT_EQ (hasher.finishHex(), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    }
}
