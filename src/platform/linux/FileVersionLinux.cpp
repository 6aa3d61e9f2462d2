#include "platform/FileVersion.h"

#include "platform/PeVersionFile.h"

#include <sys/stat.h>

juce::String readFileVersion (const juce::File& file)
{
    // Only regular files: opening a named pipe or a device that happens to
    // carry a plugin's name could block or never end.
    struct stat info {};

    if (file.getFullPathName().isEmpty()
         || stat (file.getFullPathName().toRawUTF8(), &info) != 0
         || ! S_ISREG (info.st_mode))
        return {};

    return readPeFileVersionText (file);
}
