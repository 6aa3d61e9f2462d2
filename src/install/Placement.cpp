#include "install/Placement.h"

#include "install/FileReplacement.h"
#include "log/DiagnosticLog.h"

namespace
{
    /** The source lies below the work folder and no folder on the way, nor
        the source itself, is a symbolic link. */
    bool isInsideWithoutLinks (const juce::File& source, const juce::File& workFolder)
    {
        if (! source.isAChildOf (workFolder))
            return false;

        for (auto item = source; item != workFolder; item = item.getParentDirectory())
            if (item.isSymbolicLink())
                return false;

        return true;
    }

    juce::String missingMessage (const PlacementStep& step)
    {
        return "   " + step.tag + ".src file doesn't exist: " + step.source.getFullPathName();
    }

    juce::String copyFailedMessage (const PlacementStep& step)
    {
        return "   " + step.tag + ".Could not copy: <" + step.source.getFullPathName()
             + "> --> <" + step.target.getFullPathName() + ">";
    }

    /** The failure message of one step, empty when it was placed. */
    juce::String place (const PlacementStep& step, const juce::File& workFolder)
    {
        if (! step.source.exists() || ! isInsideWithoutLinks (step.source, workFolder))
            return missingMessage (step);

        const auto result = step.kind == PlacementStep::Kind::bundle
                              ? FileReplacement::replaceBundle (step.source, step.target)
                              : FileReplacement::replaceFile (step.source, step.target);

        if (result.wasOk())
            return {};

        writeLog ("extralog, " + result.getErrorMessage());
        return copyFailedMessage (step);
    }
}

juce::String executePlacement (const std::vector<PlannedEntry>& plan, const juce::File& workFolder)
{
    juce::String lastPlacementError;

    for (const auto& item : plan)
    {
        auto message = item.failure;

        if (item.step)
        {
            if (item.step->logLine.isNotEmpty())
                writeLog (item.step->logLine);

            message = place (*item.step, workFolder);
        }

        if (message.isNotEmpty())
        {
            lastPlacementError = message;
            writeLog (message);
        }
    }

    return lastPlacementError;
}

juce::String placeFiles (const juce::StringArray& contents,
                         const juce::String& parentTitle,
                         const FormatSettings& settings,
                         const juce::File& workFolder,
                         const juce::File& dataFolder)
{
    return executePlacement (planPlacement (contents, parentTitle, settings, workFolder, dataFolder), workFolder);
}
