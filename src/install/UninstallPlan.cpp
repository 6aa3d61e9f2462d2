#include "install/UninstallPlan.h"

#include "install/PlacementPlan.h"
#include "localstate/PlainFileName.h"
#include "platform/LinkSafeDelete.h"

namespace
{
    juce::File formatFolderFor (PluginFormat format, const FormatSettings& settings)
    {
        const auto& path = settings.path[format];
        return juce::File::isAbsolutePath (path) ? juce::File (path) : juce::File();
    }

    /** One folder or file name we may join to a folder: plain, and not one
        that Windows would trim into a climbing "..". */
    bool isSafeSingleName (const juce::String& name)
    {
        return isPlainFileName (name) && isContainedRelativePath (name);
    }

    void addStep (UninstallPlan& plan, UninstallStep::Kind kind, const juce::File& root, const juce::String& childName)
    {
        if (root == juce::File())
            return;

        plan.steps.push_back ({ kind, root.getChildFile (childName), root });
    }
}

const juce::StringArray& resourceSubFolders()
{
    static const juce::StringArray names { "appdata", "Factory Slots", "Factory Presets", "Factory Models" };
    return names;
}

UninstallPlan planPluginUninstall (const juce::String& name, const FormatSettings& settings, const juce::File& dataFolder)
{
    UninstallPlan plan;

    if (name.isEmpty())
        return plan;

    const auto stem = name.removeCharacters (" ");

    if (name.length() <= 2)
        return plan;

    if (! isSafeSingleName (name) || ! isSafeSingleName (stem))
    {
        plan.refusals.add ("unInstall refused, unsafe name <" + name + ">");
        return plan;
    }

    using Kind = UninstallStep::Kind;
    addStep (plan, Kind::file, formatFolderFor (PluginFormats::vst3, settings), stem + ".vst3");
    addStep (plan, Kind::file, formatFolderFor (PluginFormats::vst2, settings), stem + ".dll");
    addStep (plan, Kind::tree, formatFolderFor (PluginFormats::aax, settings), stem + ".aaxplugin");

    if (dataFolder != juce::File())
        for (const auto& sub : resourceSubFolders())
            plan.steps.push_back ({ Kind::tree, dataFolder.getChildFile (name).getChildFile (sub), dataFolder });

    return plan;
}

juce::File expansionParentFolder (const juce::String& parentTitle, const juce::File& dataFolder)
{
    if (dataFolder == juce::File() || ! isSafeSingleName (parentTitle))
        return {};

    return dataFolder.getChildFile (parentTitle);
}

juce::File expansionEntryFile (const juce::File& parentFolder, const juce::String& entry)
{
    if (parentFolder == juce::File() || ! isContainedRelativePath (entry))
        return {};

    auto path = parentFolder;

    for (const auto& piece : juce::StringArray::fromTokens (entry.replaceCharacter ('\\', '/'), "/", {}))
        if (piece.isNotEmpty())
            path = path.getChildFile (piece);

    return path;
}

UninstallPlan planExpansionUninstall (const juce::String& parentTitle, const juce::StringArray& contents,
                                      const juce::File& dataFolder)
{
    UninstallPlan plan;
    const auto parentFolder = expansionParentFolder (parentTitle, dataFolder);

    if (parentFolder == juce::File())
    {
        plan.refusals.add ("unInstallExtension refused, unsafe parent title <" + parentTitle + ">");
        return plan;
    }

    for (const auto& entry : contents)
    {
        const auto file = expansionEntryFile (parentFolder, entry);

        if (file == juce::File() || ! file.isAChildOf (parentFolder))
        {
            plan.refusals.add ("   skipped unsafe entry <" + entry + ">");
            continue;
        }

        plan.steps.push_back ({ UninstallStep::Kind::file, file, dataFolder });
    }

    return plan;
}

bool isConfinedDelete (const juce::File& target, const juce::File& root)
{
    if (root == juce::File() || ! target.isAChildOf (root))
        return false;

    for (auto folder = target.getParentDirectory(); folder != root; folder = folder.getParentDirectory())
    {
        // isAChildOf held, so the walk reaches root; the guard keeps a
        // surprise from looping at the file system's top.
        if (folder == folder.getParentDirectory() || LinkSafeDelete::isLink (folder))
            return false;
    }

    return true;
}
