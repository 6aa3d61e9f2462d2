#include "cloud/Product.h"

#include "log/DiagnosticLog.h"
#include "localstate/PlainFileName.h"
#include "platform/FileVersion.h"

namespace VRCloud
{
    juce::File Product::getFormatFile (PluginFormat format, FormatSettings settings) const
    {
        const auto folder = formatFolder (format, settings);

        if (folder == juce::File())
            return {};

        if (format == PluginFormats::resources)
        {
            if (! isPlainFileName (local_key_name))
                return {};

            return folder.getChildFile (local_key_name).getChildFile ("appdata").getChildFile ("Assets.vra");
        }

        const auto aliased = fileNameTitle (title);
        const auto fileName = aliased != title ? aliased : title.removeCharacters (" ");

        // A title that is empty or carries a path separator names no file of
        // ours: checking, replacing or deleting it would reach somewhere else.
        if (! isPlainFileName (fileName))
            return {};

        return folder.getChildFile (fileName + "." + formatStem (format));
    }

    void Product::checkLocalVersions (FormatSettings settings)
    {
        for (PluginFormat format = 0; format < PluginFormats::count; ++format)
        {
            const auto file = getFormatFile (format, settings);

            // Files and bundle folders both count; a folder has no version
            // resource and reads as an invalid 1.0.0.
            if (file.getFullPathName().isEmpty() || ! file.exists())
                continue;

            localVersions[format] = parseVersion (readFileVersion (file));
            writeLog ("local_versions_ " + title + " " + versionToText (localVersions[format]));
        }
    }
}
