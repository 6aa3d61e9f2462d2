#include "platform/PeVersionFile.h"

#include "platform/PeVersionReader.h"

namespace
{
    class FileSource : public PeVersionReader::ByteSource
    {
    public:
        explicit FileSource (juce::FileInputStream& s) : stream (s), length ((std::uint64_t) juce::jmax ((juce::int64) 0, s.getTotalLength())) {}

        std::uint64_t size() const override { return length; }

        bool read (std::uint64_t offset, void* dest, std::size_t count) override
        {
            if (offset > length || count > length - offset)
                return false;

            if (count == 0)
                return true;

            return stream.setPosition ((juce::int64) offset)
                && stream.read (dest, count) == (int) count;
        }

    private:
        juce::FileInputStream& stream;
        const std::uint64_t length;
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
