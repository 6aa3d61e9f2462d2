#include "platform/PeVersionFile.h"

#include "platform/PeVersionReader.h"

#include <cstring>
#include <vector>

namespace
{
    // Headers, section table and, in small images, the resources all lie in
    // the first few kilobytes: one read serves them, and only what lies
    // beyond costs a seek and a read of its own.
    class FileSource : public PeVersionReader::ByteSource
    {
    public:
        explicit FileSource (juce::FileInputStream& s)
            : stream (s), length ((std::uint64_t) juce::jmax ((juce::int64) 0, s.getTotalLength()))
        {
            head.resize ((size_t) juce::jmin ((std::uint64_t) headSize, length));

            if (! head.empty() && stream.read (head.data(), head.size()) != (int) head.size())
                head.clear();
        }

        std::uint64_t size() const override { return length; }

        bool read (std::uint64_t offset, void* dest, std::size_t count) override
        {
            if (offset > length || count > length - offset)
                return false;

            if (count == 0)
                return true;

            if (offset + count <= head.size())
            {
                std::memcpy (dest, head.data() + offset, count);
                return true;
            }

            return stream.setPosition ((juce::int64) offset)
                && stream.read (dest, count) == (int) count;
        }

    private:
        static constexpr size_t headSize = 4096;

        juce::FileInputStream& stream;
        const std::uint64_t length;
        std::vector<std::uint8_t> head;
    };
}

juce::String readPeFileVersionText (const juce::File& file)
{
    juce::FileInputStream stream (file);

    if (! stream.openedOk())
        return {};

    FileSource source (stream);
    const auto version = PeVersionReader::readFixedFileVersion (source);

    if (! version)
        return {};

    return juce::String ((int) (*version)[0]) + "." + juce::String ((int) (*version)[1]) + "."
         + juce::String ((int) (*version)[2]) + "." + juce::String ((int) (*version)[3]);
}
