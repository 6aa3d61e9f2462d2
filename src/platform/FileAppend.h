#pragma once

#include <juce_core/juce_core.h>

/** Appending to a file that other processes append to at the same time.

    Each call adds its bytes in one piece at the end of the file as it is at
    that moment, so lines written by several processes neither overwrite nor
    split each other. (JUCE's FileOutputStream finds the end once, when it
    opens, and writes there: a line that another process adds in between is
    then written over.) Linux opens with O_APPEND; Windows finds the end and
    writes under a lock that every appender takes.
*/
namespace FileAppend
{
    /** Creates the file when missing. True when every byte was written. */
    bool append (const juce::File& file, const void* data, size_t numBytes);
}
