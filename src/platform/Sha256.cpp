#include "platform/Sha256.h"

void Sha256::update (const void* data, size_t size)
{
    if (size == 0)
        return;

    failed = failed || ! systemUpdate (data, size);
    added += (juce::int64) size;
}

bool Sha256::updateFromFile (const juce::File& file, juce::int64 bytes, const std::function<bool()>& keepGoing)
{
    juce::FileInputStream in (file);
    failed = failed || ! in.openedOk();

    // Large reads: the file is read once, straight into the library.
    juce::HeapBlock<char> buffer (1 << 20);
    auto left = bytes;

    while (! failed && left > 0)
    {
        if (keepGoing && ! keepGoing())
        {
            failed = true;
            break;
        }

        const auto got = in.read (buffer, (int) juce::jmin (left, (juce::int64) (1 << 20)));

        if (got <= 0)
        {
            failed = true;   // the file ended before `bytes`, or a read failed
            break;
        }

        update (buffer, (size_t) got);
        left -= got;
    }

    return ! failed;
}

void Sha256::reset()
{
    failed = ! systemStart();
    added = 0;
}

juce::String Sha256::finishHex()
{
    juce::uint8 digest[32] {};
    const auto ok = ! failed && systemFinish (digest);
    reset();
    return ok ? juce::String::toHexString (digest, (int) sizeof (digest), 0) : juce::String();
}

juce::String Sha256::ofFile (const juce::File& file)
{
    Sha256 hasher;

    if (! file.existsAsFile() || ! hasher.updateFromFile (file, file.getSize()))
        return {};

    return hasher.finishHex();
}
