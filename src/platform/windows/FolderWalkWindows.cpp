#include "platform/windows/FolderWalkWindows.h"

#include <windows.h>

namespace FolderWalk
{
    EntryKind classify (std::uint32_t attributes)
    {
        if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
            return EntryKind::link;

        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? EntryKind::folder : EntryKind::file;
    }

    namespace
    {
        void visitBelow (const juce::File& folder, const std::function<void (const juce::File&)>& visit)
        {
            visit (folder);

            const auto pattern = folder.getFullPathName() + "\\*";
            WIN32_FIND_DATAW found {};
            auto handle = FindFirstFileW (pattern.toWideCharPointer(), &found);

            if (handle == INVALID_HANDLE_VALUE)
                return;

            do
            {
                const juce::String name (found.cFileName);

                if (name == "." || name == "..")
                    continue;

                const auto child = folder.getChildFile (name);

                switch (classify (found.dwFileAttributes))
                {
                    case EntryKind::folder: visitBelow (child, visit); break;
                    case EntryKind::file:   visit (child); break;
                    case EntryKind::link:   break;
                }
            }
            while (FindNextFileW (handle, &found));

            FindClose (handle);
        }
    }

    void visitRecursively (const juce::File& folder, const std::function<void (const juce::File&)>& visit)
    {
        const auto attributes = GetFileAttributesW (folder.getFullPathName().toWideCharPointer());

        if (attributes == INVALID_FILE_ATTRIBUTES || classify (attributes) != EntryKind::folder)
            return;

        visitBelow (folder, visit);
    }
}
