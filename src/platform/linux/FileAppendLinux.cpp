#include "platform/FileAppend.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace FileAppend
{
    bool append (const juce::File& file, const void* data, size_t numBytes)
    {
        const int descriptor = open (file.getFullPathName().toRawUTF8(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);

        if (descriptor < 0)
            return false;

        // One write for a local file; the loop only guards against a short one.
        const auto* bytes = static_cast<const char*> (data);
        size_t done = 0;

        while (done < numBytes)
        {
            const auto written = write (descriptor, bytes + done, numBytes - done);

            if (written < 0 && errno == EINTR)
                continue;

            if (written <= 0)
                break;

            done += (size_t) written;
        }

        close (descriptor);
        return done == numBytes;
    }
}
