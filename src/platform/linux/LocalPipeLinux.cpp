#include "platform/LocalPipe.h"

#include "platform/linux/PrivateRuntimeFolderLinux.h"

namespace LocalPipe
{
    juce::String address (const juce::String& name)
    {
        const auto folder = privateRuntimeFolder();

        if (folder == juce::File())
            return {};

        // JUCE adds "_in" and "_out" for the two FIFOs.
        return folder.getChildFile (juce::File::createLegalFileName (name)).getFullPathName();
    }
}
