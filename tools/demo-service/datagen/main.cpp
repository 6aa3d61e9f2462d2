// Generates the demo service's files from its manifest: one zip archive per
// product build, laid out the way the client's placement expects, with PE
// plugin binaries that carry version resources; manual PDFs; product
// pictures; and the application archive. Run by the build, never committed.
//
//   demo-service-datagen <catalogue.json> <output folder>

#include "demoservice/ArchiveLayout.h"
#include "demoservice/Manifest.h"
#include "demoservice/SmallFiles.h"
#include "demoservice/VersionQuad.h"
#include "pewriter/PeImage.h"

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iostream>
#include <set>

extern char** environ;

namespace fs = std::filesystem;
using namespace demoservice;
using pewriter::buildPeImage;
using pewriter::PeImageRecipe;

namespace
{
    std::uint64_t hashOf (const std::string& text)
    {
        std::uint64_t hash = 1469598103934665603ull;
        for (auto c : text)
            hash = (hash ^ static_cast<unsigned char> (c)) * 1099511628211ull;
        return hash;
    }

    bool writeFile (const fs::path& file, const void* data, std::size_t size)
    {
        fs::create_directories (file.parent_path());
        std::ofstream out (file, std::ios::binary | std::ios::trunc);
        out.write (static_cast<const char*> (data), static_cast<std::streamsize> (size));
        return static_cast<bool> (out);
    }

    bool writeFile (const fs::path& file, const std::vector<std::uint8_t>& bytes) { return writeFile (file, bytes.data(), bytes.size()); }
    bool writeFile (const fs::path& file, const std::string& text)               { return writeFile (file, text.data(), text.size()); }

    /** Zips the top-level items of a folder with bsdtar, under a UTF-8 locale
        so that non-ASCII names are stored as UTF-8. */
    bool zipFolder (const fs::path& folder, const fs::path& zip)
    {
        std::vector<std::string> items;
        for (const auto& child : fs::directory_iterator (folder))
            items.push_back (child.path().filename().string());
        std::sort (items.begin(), items.end());

        std::vector<std::string> args { "bsdtar", "--format", "zip", "-cf", zip.string(), "-C", folder.string() };
        args.insert (args.end(), items.begin(), items.end());

        std::vector<char*> argv;
        for (auto& arg : args)
            argv.push_back (arg.data());
        argv.push_back (nullptr);

        std::vector<std::string> envText { "LC_ALL=C.UTF-8" };
        for (char** e = environ; *e != nullptr; ++e)
            if (std::strncmp (*e, "LC_ALL=", 7) != 0)
                envText.emplace_back (*e);

        std::vector<char*> envp;
        for (auto& entry : envText)
            envp.push_back (entry.data());
        envp.push_back (nullptr);

        fs::remove (zip);
        pid_t pid = 0;
        if (posix_spawnp (&pid, "bsdtar", nullptr, nullptr, argv.data(), envp.data()) != 0)
        {
            std::cerr << "cannot start bsdtar\n";
            return false;
        }

        int status = 0;
        waitpid (pid, &status, 0);
        return WIFEXITED (status) && WEXITSTATUS (status) == 0;
    }

    std::vector<std::uint8_t> pluginBinary (const ManifestProduct& product, const ProductBuild& build, const std::string& fileName)
    {
        PeImageRecipe recipe;
        recipe.fileVersion = versionQuad (build.version, build.build);
        recipe.productVersion = recipe.fileVersion;

        const auto quad = pewriter::versionText (recipe.fileVersion);

        recipe.strings = { { "CompanyName", "Vamrelund" },
                         { "FileDescription", product.title },
                         { "FileVersion", quad },
                         { "InternalName", product.localKeyName },
                         { "LegalCopyright", "Vamrelund" },
                         { "OriginalFilename", fileName },
                         { "ProductName", product.title },
                         { "ProductVersion", build.version } };
        return buildPeImage (recipe);
    }

    std::string fileNameOf (const std::string& path)
    {
        const auto slash = path.rfind ('/');
        return slash == std::string::npos ? path : path.substr (slash + 1);
    }

    bool buildArchive (const ManifestProduct& product, const ProductBuild& build, const fs::path& staging, const fs::path& zip)
    {
        std::string error;
        const auto layout = archiveLayout (product.contents, product.expansion, error);
        if (! error.empty())
        {
            std::cerr << product.name << ": " << error << "\n";
            return false;
        }

        fs::remove_all (staging);
        fs::create_directories (staging);

        for (const auto& entry : layout)
        {
            bool ok = true;

            switch (entry.kind)
            {
                case ArchiveEntry::Kind::pluginBinary:
                    ok = writeFile (staging / entry.path, pluginBinary (product, build, fileNameOf (entry.path)));
                    break;

                case ArchiveEntry::Kind::pluginBundle:
                    ok = writeFile (staging / bundleBinaryPath (entry.path), pluginBinary (product, build, fileNameOf (entry.path)));
                    break;

                case ArchiveEntry::Kind::dataFile:
                {
                    const auto payload = product.payloadSizes.find (entry.contentsEntry);
                    if (payload != product.payloadSizes.end())
                        ok = writeFile (staging / entry.path, pseudoRandomBytes (payload->second, hashOf (entry.contentsEntry)));
                    else
                        ok = writeFile (staging / entry.path, "Vamrelund demo content\nproduct: " + product.title
                                                              + "\nversion: " + build.version + " (build " + build.build + ")"
                                                              + "\nentry: " + entry.contentsEntry + "\n");
                    break;
                }
            }

            if (! ok)
            {
                std::cerr << "cannot write " << (staging / entry.path) << "\n";
                return false;
            }
        }

        return zipFolder (staging, zip);
    }
}

int main (int argc, char** argv)
{
    if (argc != 3)
    {
        std::cerr << "usage: demo-service-datagen <catalogue.json> <output folder>\n";
        return 2;
    }

    const fs::path manifestFile = argv[1];
    const fs::path out = argv[2];

    std::string error;
    const auto manifest = loadManifest (manifestFile, error);
    if (! manifest)
    {
        std::cerr << error << "\n";
        return 1;
    }

    for (const char* folder : { "archives", "manuals", "pictures", "app", "staging" })
    {
        fs::remove_all (out / folder);
        fs::create_directories (out / folder);
    }

    for (const auto& product : manifest->products)
    {
        for (const auto& build : product.builds)
            if (! buildArchive (product, build, out / "staging" / product.archiveFileName (build),
                                out / "archives" / product.archiveFileName (build)))
                return 1;

        if (product.hasManual)
            writeFile (out / "manuals" / product.manualFileName(),
                       buildPdf (product.title + " - User manual",
                                 { "This is the user manual of " + product.title + ".",
                                   "Version " + product.builds.front().version + ".",
                                   "Install the plug-in with Vamrelund Helper, then rescan plug-ins in your host." }));

        if (product.pictures)
        {
            const auto hash = hashOf (product.name);
            const auto from = static_cast<std::uint32_t> (hash & 0xffffff);
            const auto to = static_cast<std::uint32_t> ((hash >> 24) & 0xffffff);
            writeFile (out / "pictures" / product.iconFileName(), buildPng (60, 60, from, to));
            writeFile (out / "pictures" / product.pictureFileName(), buildPng (160, 100, to, from));
        }
    }

    PeImageRecipe app;
    app.kind = PeImageRecipe::Kind::exe;
    app.fileVersion = versionQuad (manifest->app.version, manifest->app.build);
    app.productVersion = app.fileVersion;
    app.strings = { { "CompanyName", "Vamrelund" },
                    { "FileDescription", "Vamrelund Helper" },
                    { "FileVersion", manifest->app.version },
                    { "OriginalFilename", "Vamrelund Helper.exe" },
                    { "ProductName", "Vamrelund Helper" },
                    { "ProductVersion", manifest->app.version } };

    const auto appStaging = out / "staging" / "app";
    if (! writeFile (appStaging / "Vamrelund Helper.exe", buildPeImage (app))
        || ! zipFolder (appStaging, out / "app" / "app.zip"))
        return 1;

    fs::copy_file (manifestFile, out / "catalogue.json", fs::copy_options::overwrite_existing);
    fs::remove_all (out / "staging");
    return 0;
}
