#include "platform/linux/AtomicTextFileLinux.h"

#include <cstdio>

namespace AtomicTextFile
{
    bool replace (const juce::File& target, const juce::String& text)
    {
        const auto file = target.isSymbolicLink() ? target.getLinkedTarget() : target;

        if (! file.getParentDirectory().createDirectory())
            return false;

        // Same folder, so the rename stays on one file system and is atomic.
        const auto temporary = file.getSiblingFile ("." + file.getFileName() + "."
                                                    + juce::String::toHexString (juce::Random::getSystemRandom().nextInt64())
                                                    + ".tmp");
        bool written = false;

        {
            juce::FileOutputStream out (temporary);

            if (out.openedOk())
            {
                written = out.writeText (text, false, false, nullptr);
                out.flush();
                written = written && out.getStatus().wasOk();
            }
        }

        if (written && std::rename (temporary.getFullPathName().toRawUTF8(), file.getFullPathName().toRawUTF8()) == 0)
            return true;

        temporary.deleteFile();
        return false;
    }
}
