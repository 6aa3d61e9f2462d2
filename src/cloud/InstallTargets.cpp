#include "cloud/InstallTargets.h"

std::vector<InstallTarget> makeInstallTargets (const VRCloud::Product& product, const FormatSettings& settings)
{
    std::vector<InstallTarget> targets;

    for (PluginFormat format = 0; format < PluginFormats::pluginFormatCount; ++format)
    {
        if (! settings.active[format])
            continue;

        InstallTarget target;
        target.format = format;

        // This product ships no VST2 build.
        if (! (format == PluginFormats::vst2 && product.name == "lumo"))
        {
            target.file = product.getFormatFile (format, settings);
            target.version = product.localVersions[format];
        }

        targets.push_back (target);
    }

    InstallTarget resources;
    resources.format = PluginFormats::resources;
    resources.file = product.getFormatFile (PluginFormats::resources, settings);
    resources.version = product.localVersions[PluginFormats::resources];
    targets.push_back (resources);

    return targets;
}
