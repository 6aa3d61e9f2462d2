#include "install/WorkFolder.h"

#include "platform/Locations.h"

std::atomic<int> workFolderCounter { 1 };

namespace WorkFolder
{
    int takeNextNumber()
    {
        return workFolderCounter.fetch_add (1) + 1;
    }

    juce::File folderFor (int number)
    {
        return Locations::downloadsFolder().getChildFile (juce::String (number));
    }

    juce::File archiveIn (const juce::File& workFolder)
    {
        return workFolder.getChildFile ("vds.zip");
    }
}
