// Our PE version reader (used on Linux) must give the text Windows gives
// through GetFileVersionInfo, which readFileVersion uses here.

#include "platform/FileVersion.h"
#include "platform/PeVersionFile.h"
#include "support/PeFiles.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <functional>

TEST (FileVersionWindows, ReaderAgreesWithWindowsOnBuiltFiles)
{
    ScopedSandbox sandbox;

    struct Case { const char* name; PeImageRecipe options; const char* expected; };

    auto make = [] (std::array<std::uint16_t, 4> version, bool pe32, bool withResource, const char* strings)
    {
        auto o = testDll (version, strings);
        o.format = pe32 ? PeImageRecipe::Format::pe32 : PeImageRecipe::Format::pe32plus;
        o.withVersionResource = withResource;
        return o;
    };

    const Case cases[] = {
        { "Synth.dll",     make ({ 1, 2, 3, 4 }, false, true, ""),          "1.2.3.4" },
        { "Synth.vst3",    make ({ 10, 0, 1, 0 }, false, true, ""),         "10.0.1.0" },
        { "Old32.dll",     make ({ 7, 0, 0, 1 }, true, true, ""),           "7.0.0.1" },
        { "Largest.dll",   make ({ 65535, 65535, 65535, 65535 }, false, true, ""), "65535.65535.65535.65535" },
        { "Strings.dll",   make ({ 2, 5, 0, 0 }, false, true, "9.9.9.9"),   "2.5.0.0" },
        { "Plain.dll",     make ({ 1, 0, 0, 0 }, false, false, ""),         "" },
    };

    for (const auto& c : cases)
    {
        const auto file = sandbox.root().getChildFile (c.name);
        ASSERT_TRUE (writePeFile (file, c.options)) << c.name;

        EXPECT_EQ (file.getVersion(), c.expected) << c.name;
        EXPECT_EQ (readFileVersion (file), c.expected) << c.name;
        EXPECT_EQ (readPeFileVersionText (file), file.getVersion()) << c.name;
    }

    const auto text = sandbox.root().getChildFile ("Assets.vra");
    ASSERT_TRUE (text.replaceWithText ("not an image"));
    const auto bundle = sandbox.root().getChildFile ("Bundle.vst3");
    ASSERT_TRUE (bundle.createDirectory());

    for (const auto& file : { text, bundle })
    {
        EXPECT_EQ (file.getVersion(), "") << file.getFileName();
        EXPECT_EQ (readFileVersion (file), "") << file.getFileName();
        EXPECT_EQ (readPeFileVersionText (file), "") << file.getFileName();
    }
}

TEST (FileVersionWindows, DamagedFilesNeverReachTheSystemReader)
{
    ScopedSandbox sandbox;
    PeImageLayout l;
    const auto original = pewriter::buildPeImage (testDll(), &l);

    // Each of these made Wine's GetFileVersionInfo fault or read past the
    // image; readFileVersion must answer "" without calling it.
    struct Case { const char* name; std::function<void (std::vector<std::uint8_t>&)> damage; };
    const Case cases[] = {
        { "DataOutside.dll",  [&] (auto& b) { storeLe32 (b, l.dataEntry, 0xFFFFFFF0u); } },
        { "LoopName.dll",     [&] (auto& b) { storeLe32 (b, l.nameDirectory + 20, 0x80000000u | 24); } },
        { "PastEnd.dll",      [&] (auto& b) { storeLe32 (b, l.sectionTable + 40 + 20, 0xFFFFFE00u); } },
        { "Truncated.dll",    [&] (auto& b) { b.resize (l.fixedFileInfo + 20); } },
    };

    for (const auto& c : cases)
    {
        auto bytes = original;
        c.damage (bytes);
        const auto file = sandbox.root().getChildFile (c.name);
        ASSERT_TRUE (writeBytes (file, bytes));
        EXPECT_EQ (readFileVersion (file), "") << c.name;
    }
}

TEST (FileVersionWindows, ReaderAgreesWithWindowsOnSystemLibraries)
{
    const auto system = juce::File::getSpecialLocation (juce::File::windowsSystemDirectory);
    int compared = 0;

    for (auto name : { "kernel32.dll", "user32.dll", "comctl32.dll", "shell32.dll", "msvcrt.dll", "version.dll", "ntdll.dll" })
    {
        const auto dll = system.getChildFile (name);

        if (! dll.existsAsFile())
            continue;

        const auto windows = dll.getVersion();
        EXPECT_NE (windows, "") << name;
        EXPECT_EQ (readPeFileVersionText (dll), windows) << name;
        ++compared;
    }

    EXPECT_GT (compared, 0) << system.getFullPathName();
}
