#include "install/FileReplacement.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace
{
    fs::path pathOf (const juce::File& file)
    {
        return fs::u8path (file.getFullPathName().toStdString());
    }

    juce::Result failure (const juce::String& what, const juce::File& file, const std::error_code& error)
    {
        return juce::Result::fail (what + " <" + file.getFullPathName() + ">: " + juce::String (error.message()));
    }

    bool isLink (const fs::path& path)
    {
        std::error_code error;
        return fs::is_symlink (fs::symlink_status (path, error));
    }

    juce::Result makeParent (const juce::File& target)
    {
        std::error_code error;
        fs::create_directories (pathOf (target.getParentDirectory()), error);
        return error ? failure ("cannot create the folder", target.getParentDirectory(), error) : juce::Result::ok();
    }

    void removeQuietly (const juce::File& item)
    {
        std::error_code error;
        fs::remove_all (pathOf (item), error);
    }

    /** Copies a folder tree, leaving out symbolic links. */
    std::error_code copyTree (const fs::path& from, const fs::path& to)
    {
        std::error_code error;
        fs::create_directory (to, error);

        if (error)
            return error;

        for (fs::directory_iterator it (from, error), end; ! error && it != end; it.increment (error))
        {
            const auto& child = it->path();
            const auto status = fs::symlink_status (child, error);

            if (error)
                return error;

            if (fs::is_symlink (status))
                continue;

            if (fs::is_directory (status))
                error = copyTree (child, to / child.filename());
            else if (fs::is_regular_file (status))
                fs::copy_file (child, to / child.filename(), fs::copy_options::overwrite_existing, error);
        }

        return error;
    }
}

namespace FileReplacement
{
    juce::File stagingFor (const juce::File& target)  { return target.getSiblingFile (target.getFileName() + ".vamrnew"); }
    juce::File asideFor (const juce::File& target)    { return target.getSiblingFile (target.getFileName() + ".vamrold"); }

    juce::Result replaceFile (const juce::File& source, const juce::File& target)
    {
        if (isLink (pathOf (source)) || ! source.existsAsFile())
            return juce::Result::fail ("not a file: <" + source.getFullPathName() + ">");

        if (target.isDirectory())
            return juce::Result::fail ("a folder is in the way: <" + target.getFullPathName() + ">");

        if (auto made = makeParent (target); made.failed())
            return made;

        const auto staging = stagingFor (target);
        std::error_code error;
        fs::copy_file (pathOf (source), pathOf (staging), fs::copy_options::overwrite_existing, error);

        if (error)
        {
            removeQuietly (staging);
            return failure ("cannot write", staging, error);
        }

        // Windows refuses to rename over a read-only file.
        if (target.existsAsFile())
            target.setReadOnly (false);

        fs::rename (pathOf (staging), pathOf (target), error);

        if (error)
        {
            removeQuietly (staging);
            return failure ("cannot replace", target, error);
        }

        return juce::Result::ok();
    }

    juce::Result replaceBundle (const juce::File& source, const juce::File& target)
    {
        if (isLink (pathOf (source)) || ! source.isDirectory())
            return juce::Result::fail ("not a folder: <" + source.getFullPathName() + ">");

        const auto staging = stagingFor (target);
        const auto aside = asideFor (target);
        std::error_code error;

        // A run killed between the two renames left the old bundle aside.
        if (! target.exists() && aside.isDirectory())
            fs::rename (pathOf (aside), pathOf (target), error);

        if (target.existsAsFile())
            return juce::Result::fail ("a file is in the way: <" + target.getFullPathName() + ">");

        if (auto made = makeParent (target); made.failed())
            return made;

        removeQuietly (staging);
        error = copyTree (pathOf (source), pathOf (staging));

        if (error)
        {
            removeQuietly (staging);
            return failure ("cannot write", staging, error);
        }

        const bool hadOld = target.isDirectory();

        if (hadOld)
        {
            target.setReadOnly (false, true);
            removeQuietly (aside);
            fs::rename (pathOf (target), pathOf (aside), error);

            if (error)
            {
                removeQuietly (staging);
                return failure ("cannot move aside", target, error);
            }
        }

        fs::rename (pathOf (staging), pathOf (target), error);

        if (error)
        {
            std::error_code restoreError;

            if (hadOld)
                fs::rename (pathOf (aside), pathOf (target), restoreError);

            removeQuietly (staging);
            return failure ("cannot move in", target, error);
        }

        if (hadOld)
            removeQuietly (aside);

        return juce::Result::ok();
    }
}
