#pragma once

#include <juce_core/juce_core.h>

#include <functional>
#include <memory>

/** SHA-256 through the system's own library: OpenSSL's libcrypto on Linux,
    BCrypt on Windows. Both run several times faster than JUCE's SHA256,
    which spent most of a checked download's time.

    Bytes may come in pieces of any size; the digest is that of all of them
    in order. A failure of the system library is kept, not thrown: the
    digest then comes back empty. */
class Sha256
{
public:
    Sha256();
    ~Sha256();

    /** Adds the next bytes. */
    void update (const void* data, size_t size);

    /** Adds the first `bytes` bytes of the file, read in large pieces;
        keepGoing, when given, is asked between pieces. False when the file
        has fewer bytes, cannot be read or keepGoing said no; the hasher is
        then unusable until reset(). */
    bool updateFromFile (const juce::File& file, juce::int64 bytes, const std::function<bool()>& keepGoing = {});

    /** Forgets every byte added, as if new. */
    void reset();

    /** How many bytes have been added since construction or reset(). */
    juce::int64 bytesAdded() const noexcept { return added; }

    /** The digest of every byte added, as 64 lower-case hex digits, or empty
        when the system library failed on the way. Starts the hasher over. */
    juce::String finishHex();

    /** The digest of a whole file; empty when it cannot be read. */
    static juce::String ofFile (const juce::File& file);

private:
    struct Impl;
    std::unique_ptr<Impl> impl;
    juce::int64 added = 0;
    bool failed = false;

    // Done by the system's part, one file per system.
    bool systemStart();
    bool systemUpdate (const void* data, size_t size);
    bool systemFinish (juce::uint8 (&digest)[32]);

    JUCE_DECLARE_NON_COPYABLE (Sha256)
};
