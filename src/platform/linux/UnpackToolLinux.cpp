#include "platform/UnpackTool.h"

#include <unistd.h>

namespace
{
    bool isExecutableFile (const juce::File& file)
    {
        return file.existsAsFile() && ::access (file.getFullPathName().toRawUTF8(), X_OK) == 0;
    }

    /** A program name as execvp would find it: a path as it is, a plain name
        on PATH. */
    bool findsProgram (const juce::String& program)
    {
        if (program.isEmpty())
            return false;

        if (program.containsChar ('/'))
            return isExecutableFile (juce::File::getCurrentWorkingDirectory().getChildFile (program));

        const auto path = juce::SystemStats::getEnvironmentVariable ("PATH", "/usr/local/bin:/usr/bin:/bin");

        for (const auto& folder : juce::StringArray::fromTokens (path, ":", {}))
            if (folder.isNotEmpty() && isExecutableFile (juce::File (folder).getChildFile (program)))
                return true;

        return false;
    }
}

namespace UnpackTool
{
    juce::StringArray systemLauncher()
    {
        return { "env", "LC_ALL=C.UTF-8", "bsdtar" };
    }

    bool launcherIsRunnable (const juce::StringArray& launcher)
    {
        // A forked child that cannot exec only exits with an error, and the
        // start still counts as a success; so look for the programs first:
        // the launcher itself and, behind env and its assignments, the tool.
        if (launcher.isEmpty() || ! findsProgram (launcher[0]))
            return false;

        if (juce::File::createFileWithoutCheckingPath (launcher[0]).getFileName() != "env")
            return true;

        for (int i = 1; i < launcher.size(); ++i)
            if (! launcher[i].containsChar ('=') && ! launcher[i].startsWith ("-"))
                return findsProgram (launcher[i]);

        return false;
    }
}
