#include "ui/look/AppResources.h"

#include <BinaryData.h>

namespace AppResources
{
    Bytes find (const juce::String& fileName)
    {
        for (int i = 0; i < BinaryData::namedResourceListSize; ++i)
        {
            if (fileName != BinaryData::originalFilenames[i])
                continue;

            Bytes bytes;
            bytes.data = BinaryData::getNamedResource (BinaryData::namedResourceList[i], bytes.size);
            return bytes;
        }

        return {};
    }

    juce::Image image (const juce::String& fileName)
    {
        const auto bytes = find (fileName);

        if (bytes.isEmpty())
            return {};

        return juce::ImageCache::getFromMemory (bytes.data, bytes.size);
    }

    bool isHalfSize (const juce::String& fileName)
    {
        const auto stem = fileName.upToLastOccurrenceOf (".", false, false);
        return stem.endsWith ("@2x") || stem.endsWith ("@x2");
    }
}
