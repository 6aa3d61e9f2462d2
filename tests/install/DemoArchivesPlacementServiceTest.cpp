// The demo service's archives, unpacked and placed by the client's own
// code: every product's contents must find its files, with nothing refused.

#include "install/ArchiveUnpack.h"
#include "install/Placement.h"
#include "support/TestArchives.h"
#include "support/TestEnvironment.h"

#include <demoservice/DemoService.h>

#include <gtest/gtest.h>

TEST (DemoArchivesPlacement, EveryProductsArchiveMatchesItsContents)
{
   #if JUCE_WINDOWS
    // Windows 10 and later ship bsdtar as tar.exe; a Wine prefix has none until the build provides one.
    juce::ChildProcess tar;
    if (! tar.start (juce::StringArray { "tar", "--version" }))
        GTEST_SKIP() << "no tar.exe to unpack with in this Wine prefix";
    tar.waitForProcessToFinish (10000);
   #endif

    ScopedSandbox sandbox;
    demoservice::DemoService service;
    const auto catalogue = juce::JSON::parse (juce::String (service.catalogueJson (service.staffAccount().email)));
    ASSERT_TRUE (catalogue.isArray());
    ASSERT_GE (catalogue.size(), 10);

    FormatSettings settings;
    for (PluginFormat format = 0; format < PluginFormats::pluginFormatCount; ++format)
        settings.path[format] = sandbox.root().getChildFile ("plugins").getChildFile (formatLabel (format)).getFullPathName();

    for (const auto& product : *catalogue.getArray())
    {
        const auto name = product["name"].toString();
        SCOPED_TRACE (name);

        juce::StringArray contents;
        for (const auto& entry : *product["contents"].getArray())
            contents.add (entry.toString());

        const auto parentTitle = product["category"].toString() == "extension" ? product["parents"][0]["title"].toString()
                                                                                 : juce::String();
        const auto work = sandbox.root().getChildFile ("work").getChildFile (name);
        const auto archive = work.getChildFile ("vds.zip");
        ASSERT_TRUE (work.createDirectory());
        ASSERT_TRUE (juce::File (juce::String (service.archiveFile (name.toStdString()).string())).copyFileTo (archive));

        InstallJob job;
        ASSERT_TRUE (unzipArchive (job, archive));

        const auto data = sandbox.root().getChildFile ("data");
        const auto plan = planPlacement (contents, parentTitle, settings, work, data);
        ASSERT_EQ ((int) plan.size(), contents.size());

        for (const auto& item : plan)
            EXPECT_TRUE (item.step.has_value()) << item.failure;

        EXPECT_EQ (executePlacement (plan, work), juce::String());

        for (const auto& item : plan)
        {
            if (item.step)
            {
                EXPECT_TRUE (item.step->target.exists()) << item.step->target.getFullPathName();
            }
        }
    }
}
