#include "support/TestArchives.h"

TestArchiveEntry textEntry (const juce::String& path, const juce::String& text)
{
    return { path, juce::MemoryBlock (text.toRawUTF8(), text.getNumBytesAsUTF8()) };
}

bool writeTestZip (const juce::File& zip, const std::vector<TestArchiveEntry>& entries)
{
    juce::ZipFile::Builder builder;

    for (const auto& entry : entries)
        builder.addEntry (new juce::MemoryInputStream (entry.bytes, true), 6, entry.path, juce::Time::getCurrentTime());

    zip.getParentDirectory().createDirectory();
    zip.deleteFile();
    juce::FileOutputStream out (zip);

    return out.openedOk() && builder.writeToStream (out, nullptr) && (out.flush(), out.getStatus().wasOk());
}

bool writeBytes (const juce::File& file, const juce::MemoryBlock& bytes)
{
    return file.getParentDirectory().createDirectory().wasOk() && file.replaceWithData (bytes.getData(), bytes.getSize());
}

juce::MemoryBlock noiseBytes (size_t size, juce::int64 seed)
{
    juce::MemoryBlock block (size);
    juce::Random random (seed);
    random.fillBitsRandomly (block.getData(), block.getSize());
    return block;
}

juce::StringArray filesBelow (const juce::File& folder)
{
    juce::StringArray found;

    for (const auto& entry : juce::RangedDirectoryIterator (folder, true, "*", juce::File::findFiles))
        found.add (entry.getFile().getRelativePathFrom (folder).replaceCharacter ('\\', '/'));

    found.sort (false);
    return found;
}
