#include "sandbox/DemoSandbox.h"

#include "app/settings/SettingsKeys.h"
#include "app/settings/SettingsStore.h"
#include "cloud/Product.h"
#include "demoservice/ArchiveLayout.h"
#include "localstate/PluginSettings.h"
#include "platform/Locations.h"

#include <vector>

namespace demosandbox
{
namespace
{
    const juce::String commonAppDataPlaceholder ("{commonappdata}/");

    juce::String utf8 (const std::string& text) { return juce::String::fromUTF8 (text.c_str()); }

    /** The plugin format a plugin entry of "contents" installs as. */
    PluginFormat formatOfEntry (const juce::String& entry)
    {
        if (entry.startsWith ("{vst2folder}/"))
            return PluginFormats::vst2;

        return entry.endsWithIgnoreCase (".aaxplugin") ? PluginFormats::aax : PluginFormats::vst3;
    }

    juce::File below (juce::File folder, const juce::String& slashSeparatedPath)
    {
        for (auto& part : juce::StringArray::fromTokens (slashSeparatedPath, "/", {}))
            folder = folder.getChildFile (part);

        return folder;
    }

    /** One file or bundle to take from the archive. */
    struct Placement
    {
        juce::String archivePath;   // a file, or the bundle folder's path
        juce::File target;
        bool bundle = false;
    };

    /** The archive's entries at or below a path, with their path below it
        (empty for the entry itself). Folder entries are left out. */
    std::vector<std::pair<int, juce::String>> entriesFor (juce::ZipFile& zip, const Placement& placement)
    {
        std::vector<std::pair<int, juce::String>> found;
        const auto prefix = placement.archivePath + "/";

        for (int i = 0; i < zip.getNumEntries(); ++i)
        {
            const auto name = zip.getEntry (i)->filename;

            if (name.endsWithChar ('/'))
                continue;

            if (! placement.bundle && name == placement.archivePath)
                found.emplace_back (i, juce::String());
            else if (placement.bundle && name.startsWith (prefix))
                found.emplace_back (i, name.substring (prefix.length()));
        }

        return found;
    }

    bool extract (juce::ZipFile& zip, int index, const juce::File& target)
    {
        std::unique_ptr<juce::InputStream> in (zip.createStreamForEntry (index));

        if (in == nullptr || ! target.getParentDirectory().createDirectory() || ! target.deleteFile())
            return false;

        juce::FileOutputStream out (target);
        return out.openedOk()
            && out.writeFromInputStream (*in, -1) == zip.getEntry (index)->uncompressedSize
            && out.getStatus().wasOk();
    }
}

std::optional<PreinstallRequest> PreinstallRequest::parse (const std::string& text)
{
    const auto at = text.find ('=');
    PreinstallRequest request { text.substr (0, at), at == std::string::npos ? std::string() : text.substr (at + 1) };

    if (request.name.empty() || (at != std::string::npos && request.version.empty()))
        return std::nullopt;

    return request;
}

FormatSettings formatSettingsInUse()
{
    auto options = settingsFileOptions();
    options.doNotSave = true;

    juce::PropertiesFile store (settingsFileLocation(), options);
    FormatSettings settings;
    loadFormatSettings (settings, store);
    return settings;
}

juce::Result preinstall (const demoservice::Manifest& manifest, const std::filesystem::path& dataFolder,
                         const PreinstallRequest& request, const FormatSettings& settings,
                         juce::StringArray& written)
{
    const auto sandbox = Locations::sandboxRoot();

    if (sandbox == juce::File())
        return juce::Result::fail (juce::String ("set ") + Locations::sandboxVariable + " to the sandbox folder: "
                                   "pre-installing writes into plugin folders");

    const auto* product = manifest.findByName (request.name);

    if (product == nullptr)
        return juce::Result::fail ("no product \"" + utf8 (request.name) + "\" in the demo catalogue");

    if (product->expansion)
        return juce::Result::fail ("\"" + utf8 (request.name) + "\" is an expansion; only plugins are pre-installed");

    const demoservice::ProductBuild* build = nullptr;

    for (const auto& candidate : product->builds)
        if (build == nullptr && (request.version.empty() || candidate.version == request.version))
            build = &candidate;

    if (build == nullptr)
        return juce::Result::fail ("the demo catalogue has no version " + utf8 (request.version) + " of \""
                                   + utf8 (request.name) + "\"");

    std::string layoutError;
    const auto layout = demoservice::archiveLayout (product->contents, false, layoutError);

    if (! layoutError.empty())
        return juce::Result::fail (utf8 (product->name + ": " + layoutError));

    const auto archiveFile = juce::File (utf8 ((dataFolder / "archives" / product->archiveFileName (*build)).string()));
    juce::ZipFile zip (archiveFile);

    if (zip.getNumEntries() == 0)
        return juce::Result::fail ("cannot read the archive " + archiveFile.getFullPathName()
                                   + " (build the demo service's data first)");

    const auto catalogueProduct = VRCloud::parseProduct (juce::JSON::parse (utf8 (product->members.dump())));

    // Plan everything first, so that a product the app would not find leaves nothing behind.
    std::vector<Placement> plan;

    for (const auto& entry : layout)
    {
        const auto contentsEntry = utf8 (entry.contentsEntry);
        Placement placement { utf8 (entry.path), {}, entry.kind == demoservice::ArchiveEntry::Kind::pluginBundle };

        if (entry.kind == demoservice::ArchiveEntry::Kind::dataFile)
        {
            placement.target = below (Locations::dataFolder(),
                                      contentsEntry.fromFirstOccurrenceOf (commonAppDataPlaceholder, false, false));
        }
        else
        {
            const auto format = formatOfEntry (contentsEntry);

            // An install skips the formats that are switched off.
            if (! settings.active[format])
                continue;

            placement.target = catalogueProduct.getFormatFile (format, settings);

            // The install copies the entry's file name; the app looks for its own.
            if (placement.target.getFileName() != contentsEntry.fromLastOccurrenceOf ("/", false, false))
                return juce::Result::fail ("the catalogue entry " + contentsEntry + " of \"" + utf8 (product->name)
                                           + "\" is not the file the app looks for: " + placement.target.getFullPathName());
        }

        if (! placement.target.isAChildOf (sandbox))
            return juce::Result::fail (contentsEntry + " would land outside the sandbox: " + placement.target.getFullPathName());

        if (entriesFor (zip, placement).empty())
            return juce::Result::fail (archiveFile.getFileName() + " holds nothing at " + placement.archivePath);

        plan.push_back (placement);
    }

    const auto settingsFile = pluginSettingsFile (catalogueProduct.title, catalogueProduct.local_key_name);

    if (settingsFile == juce::File() || ! settingsFile.isAChildOf (sandbox))
        return juce::Result::fail ("no plugin settings file for \"" + utf8 (product->name) + "\" in the sandbox");

    for (const auto& placement : plan)
    {
        // A bundle is replaced as a whole, so no file of another build stays in it.
        if (placement.bundle && placement.target.exists() && ! placement.target.deleteRecursively())
            return juce::Result::fail ("cannot replace " + placement.target.getFullPathName());

        for (const auto& [index, relative] : entriesFor (zip, placement))
        {
            const auto target = relative.isEmpty() ? placement.target : below (placement.target, relative);

            if (! extract (zip, index, target))
                return juce::Result::fail ("cannot write " + target.getFullPathName());
        }

        written.add (placement.target.getFullPathName());
    }

    juce::PropertiesFile pluginSettings (settingsFile, pluginSettingsOptions (catalogueProduct.title,
                                                                              catalogueProduct.local_key_name));

    // Another program's unreadable file is not ours to overwrite.
    if (! pluginSettings.isValidFile())
        return juce::Result::fail ("the plugin settings file " + settingsFile.getFullPathName() + " cannot be read");

    pluginSettings.setValue ("build", utf8 (build->build));

    if (! settingsFile.getParentDirectory().createDirectory() || ! pluginSettings.save())
        return juce::Result::fail ("cannot write " + settingsFile.getFullPathName());

    written.add (settingsFile.getFullPathName());
    return juce::Result::ok();
}

juce::Result storeSignIn (const juce::String& email, const juce::String& token)
{
    if (Locations::sandboxRoot() == juce::File())
        return juce::Result::fail (juce::String ("set ") + Locations::sandboxVariable + " to the sandbox folder");

    const auto file = settingsFileLocation();
    juce::PropertiesFile store (file, settingsFileOptions());

    if (! store.isValidFile())
        return juce::Result::fail ("the settings file " + file.getFullPathName() + " cannot be read");

    store.setValue (SettingsKeys::email, email);
    store.setValue (SettingsKeys::token, token);
    store.setValue (SettingsKeys::acceptedTerms, "yes");

    if (! file.getParentDirectory().createDirectory() || ! store.save())
        return juce::Result::fail ("cannot write " + file.getFullPathName());

    return juce::Result::ok();
}
}
