#pragma once

#include <string>
#include <vector>

namespace demoservice
{
    /** One file of a product archive, derived from one "contents" entry. */
    struct ArchiveEntry
    {
        enum class Kind
        {
            pluginBinary,   // a PE file with a version resource (.dll, .vst, single-file .vst3)
            pluginBundle,   // a bundle folder (.aaxplugin) holding Contents/x64/<same name>, a PE file
            dataFile        // presets, samples and other resources
        };

        std::string contentsEntry;   // the catalogue entry it comes from
        std::string path;            // path inside the archive, "/" separated
        Kind kind = Kind::dataFile;
    };

    /** Where each "contents" entry must lie in the archive so that the
        client's placement finds it after unpacking into its work folder:

        - "{vst2folder}/X.dll" and "{commonfiles}/X.vst3": X at the top level;
        - "{commonfiles}/X.aaxplugin": the bundle folder X at the top level;
        - "{commonappdata}/<Folder>/rest": rest at the top level; the product's
          own folder exists only on the installed side (the part after the last
          placeholder, then after its first "/");
        - an expansion's entries: at their own relative path.

        Entries the client would refuse (an unknown or miswritten placeholder,
        a plugin file with the wrong ending), entries that would leave the
        work folder and two entries landing on the same archive path make the
        layout fail, with the reason in error. */
    std::vector<ArchiveEntry> archiveLayout (const std::vector<std::string>& contents, bool expansion, std::string& error);

    /** The PE file inside a bundle entry: "X.aaxplugin" gives "X.aaxplugin/Contents/x64/X.aaxplugin". */
    std::string bundleBinaryPath (const std::string& bundlePath);
}
