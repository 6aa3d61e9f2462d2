#include "platform/FileVersion.h"
#include "platform/PeVersionFile.h"
#include "platform/PeVersionReader.h"
#include "support/PeFiles.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{
    juce::String versionText (const std::vector<std::uint8_t>& bytes)
    {
        const auto version = PeVersionReader::readFixedFileVersion (bytes.data(), bytes.size());

        if (! version)
            return {};

        return juce::String ((*version)[0]) + "." + juce::String ((*version)[1]) + "."
             + juce::String ((*version)[2]) + "." + juce::String ((*version)[3]);
    }

    std::uint32_t load32 (const std::vector<std::uint8_t>& b, std::size_t at)
    {
        return (std::uint32_t) b.at (at) | ((std::uint32_t) b.at (at + 1) << 8)
             | ((std::uint32_t) b.at (at + 2) << 16) | ((std::uint32_t) b.at (at + 3) << 24);
    }

    // Runs a program and returns its standard output, or nothing when it
    // cannot be started or fails.
    std::optional<juce::String> runProgram (const juce::StringArray& arguments)
    {
        juce::ChildProcess process;

        if (! process.start (arguments, juce::ChildProcess::wantStdOut))
            return std::nullopt;

        auto output = process.readAllProcessOutput();

        if (! process.waitForProcessToFinish (60000) || process.getExitCode() != 0)
            return std::nullopt;

        return output;
    }

    // "FILEVERSION 10, 0, 18362, 1350" as windres prints a version resource.
    juce::String windresFileVersion (const juce::String& windres, const juce::File& file)
    {
        auto rc = runProgram ({ windres, "-i", file.getFullPathName(), "-O", "rc" });

        if (! rc)
            return {};

        for (auto& line : juce::StringArray::fromLines (*rc))
            if (line.trim().startsWith ("FILEVERSION "))
                return line.trim().fromFirstOccurrenceOf (" ", false, false).removeCharacters (" ").replaceCharacter (',', '.');

        return {};
    }

    juce::File findProgram (const juce::String& name)
    {
        for (auto& folder : juce::StringArray::fromTokens (juce::SystemStats::getEnvironmentVariable ("PATH", {}), ":", {}))
        {
            const auto candidate = juce::File::isAbsolutePath (folder) ? juce::File (folder).getChildFile (name) : juce::File();

            if (candidate.existsAsFile())
                return candidate;
        }

        return {};
    }
}

TEST (PeVersionReader, ReadsTheFixedFileVersionOfBuiltImages)
{
    struct Case { const char* label; PeImageRecipe options; const char* expected; };

    auto options = [] (std::array<std::uint16_t, 4> version, std::function<void (PeImageRecipe&)> change = {})
    {
        auto o = testDll (version);

        if (change)
            change (o);

        return o;
    };

    const Case cases[] = {
        { "PE32+",                 options ({ 1, 2, 3, 4 }),                                               "1.2.3.4" },
        { "PE32",                  options ({ 7, 0, 0, 1 }, [] (auto& o) { o.format = PeImageRecipe::Format::pe32; }), "7.0.0.1" },
        { "zeros",                 options ({ 0, 0, 0, 0 }),                                               "0.0.0.0" },
        { "largest words",         options ({ 65535, 65535, 65535, 65535 }),                               "65535.65535.65535.65535" },
        { "string table disagrees", options ({ 2, 5, 0, 0 }, [] (auto& o) { o = testDll (o.fileVersion, "9.9.9.9"); }), "2.5.0.0" },
        { "neutral language",      options ({ 10, 0, 1, 0 }, [] (auto& o) { o.language = 0; }),            "10.0.1.0" },
        { "large code section",    options ({ 3, 1, 4, 1 }, [] (auto& o) { o.codeSize = 300000; }),        "3.1.4.1" },
    };

    ScopedSandbox sandbox;

    for (const auto& c : cases)
    {
        const auto bytes = pewriter::buildPeImage (c.options);
        EXPECT_EQ (versionText (bytes), c.expected) << c.label;

        const auto file = sandbox.root().getChildFile (juce::String (c.label).removeCharacters (" ") + ".dll");
        ASSERT_TRUE (writeBytes (file, bytes));
        EXPECT_EQ (readPeFileVersionText (file), c.expected) << c.label;
        EXPECT_EQ (readFileVersion (file), c.expected) << c.label;
    }
}

TEST (PeVersionReader, FilesWithoutAVersionResourceReadAsEmpty)
{
    ScopedSandbox sandbox;
    const auto& root = sandbox.root();

    auto noResource = testDll();
    noResource.withVersionResource = false;
    ASSERT_TRUE (writePeFile (root.getChildFile ("plain.dll"), noResource));
    ASSERT_TRUE (root.getChildFile ("Assets.vra").replaceWithText ("resource data, not an image"));
    ASSERT_TRUE (root.getChildFile ("empty.dll").create());
    ASSERT_TRUE (writeBytes (root.getChildFile ("mz.dll"), { 'M', 'Z' }));
    ASSERT_TRUE (root.getChildFile ("Bundle.vst3/Contents/x86_64-win").createDirectory());

    for (auto name : { "plain.dll", "Assets.vra", "empty.dll", "mz.dll", "Bundle.vst3", "missing.dll" })
    {
        EXPECT_EQ (readFileVersion (root.getChildFile (name)), "") << name;
        EXPECT_EQ (readPeFileVersionText (root.getChildFile (name)), "") << name;
    }

    EXPECT_EQ (readFileVersion (juce::File()), "");
}

TEST (PeVersionReader, EveryTruncationGivesNothingOrTheWholeVersion)
{
    PeImageLayout layout;
    const auto bytes = pewriter::buildPeImage (testDll(), &layout);
    const auto blockEnd = layout.versionBlock + load32 (bytes, layout.dataEntry + 4);
    ASSERT_LT (blockEnd, bytes.size());

    for (std::size_t length = 0; length <= bytes.size(); ++length)
    {
        const std::vector<std::uint8_t> cut (bytes.begin(), bytes.begin() + (std::ptrdiff_t) length);
        EXPECT_EQ (versionText (cut), length >= blockEnd ? "1.2.3.4" : "") << "length " << length;
    }
}

TEST (PeVersionReader, DamagedHeadersAndOffsetsGiveNothing)
{
    PeImageLayout l;
    const auto original = pewriter::buildPeImage (testDll(), &l);
    ASSERT_EQ (versionText (original), "1.2.3.4");

    const auto sectionCount = l.peHeader + 6;
    const auto optionalSize = l.peHeader + 20;
    const auto rvaCount = l.optionalHeader + 108;
    const auto rsrcSection = l.sectionTable + 40;
    const auto typeEntry = l.resourceSection + 16;
    const auto nameEntry = l.nameDirectory + 16;
    const auto languageEntry = l.languageDirectory + 16;

    using Damage = std::function<void (std::vector<std::uint8_t>&)>;
    struct Case { const char* label; Damage damage; };

    const Case cases[] = {
        { "no MZ",                        [&] (auto& b) { b[0] = 'X'; } },
        { "PE header past the end",       [&] (auto& b) { storeLe32 (b, 0x3C, 0xFFFFFFF0u); } },
        { "PE header at the last bytes",  [&] (auto& b) { storeLe32 (b, 0x3C, (std::uint32_t) b.size() - 2); } },
        { "no PE signature",              [&] (auto& b) { b[l.peHeader + 1] = 'X'; } },
        { "no sections",                  [&] (auto& b) { storeLe16 (b, sectionCount, 0); } },
        { "65535 sections",               [&] (auto& b) { storeLe16 (b, sectionCount, 0xFFFF); } },
        { "optional header too small",    [&] (auto& b) { storeLe16 (b, optionalSize, 16); } },
        { "section table past the end",   [&] (auto& b) { storeLe16 (b, optionalSize, 0xFFFF); } },
        { "unknown optional magic",       [&] (auto& b) { storeLe16 (b, l.optionalHeader, 0x1234); } },
        { "two data directories",         [&] (auto& b) { storeLe32 (b, rvaCount, 2); } },
        { "no resource directory",        [&] (auto& b) { storeLe32 (b, l.resourceDirectoryEntry, 0); } },
        { "resources outside sections",   [&] (auto& b) { storeLe32 (b, l.resourceDirectoryEntry, 0xFFFFF000u); } },
        { "resources in unfilled space",  [&] (auto& b) { storeLe32 (b, rsrcSection + 8, 0x10000); storeLe32 (b, l.resourceDirectoryEntry, l.resourceRva + 0x800); } },
        { "raw data past the end",        [&] (auto& b) { storeLe32 (b, rsrcSection + 20, 0xFFFFFE00u); } },
        { "65535 type entries",           [&] (auto& b) { storeLe16 (b, l.resourceSection + 14, 0xFFFF); } },
        { "65535 named type entries",     [&] (auto& b) { storeLe16 (b, l.resourceSection + 12, 0xFFFF); } },
        { "no version type",              [&] (auto& b) { storeLe32 (b, typeEntry, 6); } },
        { "named version type",           [&] (auto& b) { storeLe32 (b, typeEntry, 0x80000000u | 16); } },
        { "type leads to data",           [&] (auto& b) { storeLe32 (b, typeEntry + 4, 72); } },
        { "type directory far away",      [&] (auto& b) { storeLe32 (b, typeEntry + 4, 0xFFFFFFF0u); } },
        { "other resource name",          [&] (auto& b) { storeLe32 (b, nameEntry, 2); } },
        { "loop: type to the root",       [&] (auto& b) { storeLe32 (b, typeEntry + 4, 0x80000000u); } },
        { "loop: name to itself",         [&] (auto& b) { storeLe32 (b, nameEntry + 4, 0x80000000u | 24); } },
        { "loop: language to the root",   [&] (auto& b) { storeLe32 (b, languageEntry + 4, 0x80000000u); } },
        { "no languages",                 [&] (auto& b) { storeLe16 (b, l.languageDirectory + 14, 0); } },
        { "data entry outside resources", [&] (auto& b) { storeLe32 (b, languageEntry + 4, 0x7FFFFFF0u); } },
        { "data outside the image",       [&] (auto& b) { storeLe32 (b, l.dataEntry, 0xFFFFFFF0u); } },
        { "empty data",                   [&] (auto& b) { storeLe32 (b, l.dataEntry + 4, 0); } },
        { "data too short for the value", [&] (auto& b) { storeLe32 (b, l.dataEntry + 4, 60); } },
        { "wrong fixed-info signature",   [&] (auto& b) { storeLe32 (b, l.fixedFileInfo, 0xFEEF04BCu); } },
        { "key without terminator",       [&] (auto& b) { for (auto i = l.versionBlock + 6; i + 1 < b.size(); i += 2) storeLe16 (b, i, 'A'); } },
    };

    for (const auto& c : cases)
    {
        auto bytes = original;
        c.damage (bytes);
        EXPECT_EQ (versionText (bytes), "") << c.label;
    }
}

TEST (PeVersionReader, CorpusSeedsReadWithoutFault)
{
    const juce::File corpus (VAMRHELPER_TEST_FIXTURES "/pe-corpus");
    const auto seeds = corpus.findChildFiles (juce::File::findFiles, false);
    ASSERT_FALSE (seeds.isEmpty()) << corpus.getFullPathName();

    for (const auto& seed : seeds)
    {
        // Seeds named "v<a>.<b>.<c>.<d>-..." hold that version; the rest none.
        const auto name = seed.getFileName();
        const auto expected = name.startsWith ("v") ? name.substring (1).upToFirstOccurrenceOf ("-", false, false) : juce::String();
        EXPECT_EQ (readPeFileVersionText (seed), expected) << name;
    }
}

TEST (PeVersionReader, AgreesWithWindresOnWineLibraries)
{
    juce::File folder;

    for (auto path : { "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows", "/usr/lib/wine/x86_64-windows",
                       "/opt/wine-stable/lib64/wine/x86_64-windows" })
        if (juce::File (path).isDirectory())
            folder = juce::File (path);

    if (folder == juce::File())
        GTEST_SKIP() << "Wine is not installed";

    const auto windres = findProgram ("x86_64-w64-mingw32-windres");
    int compared = 0;

    for (auto name : { "kernel32.dll", "user32.dll", "comctl32.dll", "msvcrt.dll", "version.dll", "shell32.dll" })
    {
        const auto dll = folder.getChildFile (name);

        if (! dll.existsAsFile())
            continue;

        const auto ours = readFileVersion (dll);
        EXPECT_TRUE (ours.matchesWildcard ("*.*.*.*", false) && ours.containsOnly ("0123456789.")) << name << ": " << ours;

        if (windres != juce::File())
        {
            EXPECT_EQ (ours, windresFileVersion (windres.getFullPathName(), dll)) << name;
            ++compared;
        }
    }

    if (windres == juce::File())
        GTEST_SKIP() << "no windres to compare with; read the versions only";

    EXPECT_GT (compared, 0);
}

TEST (PeVersionReader, ReadsALibraryBuiltByMinGW)
{
    const auto gcc = findProgram ("x86_64-w64-mingw32-gcc");
    const auto windres = findProgram ("x86_64-w64-mingw32-windres");

    if (gcc == juce::File() || windres == juce::File())
        GTEST_SKIP() << "MinGW is not installed";

    ScopedSandbox sandbox;
    const auto rc = sandbox.root().getChildFile ("version.rc");
    const auto object = sandbox.root().getChildFile ("version.o");
    const auto source = sandbox.root().getChildFile ("plugin.c");
    const auto dll = sandbox.root().getChildFile ("Plugin.dll");

    ASSERT_TRUE (rc.replaceWithText ("1 VERSIONINFO\n"
                                     "FILEVERSION 3,14,15,926\n"
                                     "PRODUCTVERSION 3,14,0,0\n"
                                     "BEGIN\n"
                                     "  BLOCK \"StringFileInfo\"\n"
                                     "  BEGIN\n"
                                     "    BLOCK \"040904B0\"\n"
                                     "    BEGIN\n"
                                     "      VALUE \"FileVersion\", \"3.14.15.926\"\n"
                                     "    END\n"
                                     "  END\n"
                                     "END\n"));
    ASSERT_TRUE (source.replaceWithText ("__declspec(dllexport) int pluginMain (void) { return 1; }\n"));

    ASSERT_TRUE (runProgram ({ windres.getFullPathName(), rc.getFullPathName(), "-O", "coff", "-o", object.getFullPathName() }));
    ASSERT_TRUE (runProgram ({ gcc.getFullPathName(), "-shared", "-o", dll.getFullPathName(), source.getFullPathName(), object.getFullPathName() }));

    EXPECT_EQ (readFileVersion (dll), "3.14.15.926");
}
