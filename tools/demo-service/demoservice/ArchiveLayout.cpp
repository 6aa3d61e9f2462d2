#include "demoservice/ArchiveLayout.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace demoservice
{
namespace
{
    const std::string vst2Placeholder = "{vst2folder}/";
    const std::string commonFilesPlaceholder = "{commonfiles}/";
    const std::string commonAppDataPlaceholder = "{commonappdata}/";

    bool startsWith (const std::string& text, const std::string& prefix)
    {
        return text.compare (0, prefix.size(), prefix) == 0;
    }

    bool endsWithIgnoringCase (const std::string& text, const std::string& suffix)
    {
        if (text.size() < suffix.size())
            return false;

        return std::equal (suffix.rbegin(), suffix.rend(), text.rbegin(), [] (char a, char b)
        {
            return std::tolower (static_cast<unsigned char> (a)) == std::tolower (static_cast<unsigned char> (b));
        });
    }

    /** A relative path that stays inside the folder it is unpacked into. */
    bool staysInside (const std::string& path)
    {
        if (path.empty() || path.front() == '/' || path.find ('\\') != std::string::npos || path.find (':') != std::string::npos)
            return false;

        std::size_t start = 0;
        while (start <= path.size())
        {
            const auto slash = path.find ('/', start);
            const auto part = path.substr (start, slash == std::string::npos ? std::string::npos : slash - start);
            if (part.empty() || part == "." || part == "..")
                return false;
            if (slash == std::string::npos)
                break;
            start = slash + 1;
        }

        return true;
    }
}

std::string bundleBinaryPath (const std::string& bundlePath)
{
    const auto slash = bundlePath.rfind ('/');
    const auto name = slash == std::string::npos ? bundlePath : bundlePath.substr (slash + 1);
    return bundlePath + "/Contents/x64/" + name;
}

std::vector<ArchiveEntry> archiveLayout (const std::vector<std::string>& contents, bool expansion, std::string& error)
{
    std::vector<ArchiveEntry> entries;
    std::set<std::string> taken;

    for (const auto& item : contents)
    {
        ArchiveEntry entry;
        entry.contentsEntry = item;

        if (expansion)
        {
            entry.path = item;
        }
        else if (startsWith (item, vst2Placeholder))
        {
            entry.path = item.substr (vst2Placeholder.size());
            entry.kind = ArchiveEntry::Kind::pluginBinary;

            if (! endsWithIgnoringCase (item, ".dll") && ! endsWithIgnoringCase (item, ".vst"))
            {
                error = "a VST2 entry must end in .dll or .vst: " + item;
                return {};
            }
        }
        else if (startsWith (item, commonFilesPlaceholder))
        {
            entry.path = item.substr (commonFilesPlaceholder.size());

            if (endsWithIgnoringCase (item, ".vst3"))
                entry.kind = ArchiveEntry::Kind::pluginBinary;
            else if (endsWithIgnoringCase (item, ".aaxplugin"))
                entry.kind = ArchiveEntry::Kind::pluginBundle;
            else
            {
                error = "a common-files entry must end in .vst3 or .aaxplugin: " + item;
                return {};
            }
        }
        else if (startsWith (item, commonAppDataPlaceholder))
        {
            const auto afterLast = item.substr (item.rfind (commonAppDataPlaceholder) + commonAppDataPlaceholder.size());
            const auto slash = afterLast.find ('/');

            if (slash == std::string::npos)
            {
                error = "a data entry needs a product folder and a file: " + item;
                return {};
            }

            entry.path = afterLast.substr (slash + 1);
        }
        else
        {
            error = "the client refuses this entry: " + item;
            return {};
        }

        if (! staysInside (entry.path))
        {
            error = "the entry leaves the archive's folder: " + item;
            return {};
        }

        if (! taken.insert (entry.path).second)
        {
            error = "two entries share the archive path " + entry.path;
            return {};
        }

        entries.push_back (entry);
    }

    return entries;
}
}
