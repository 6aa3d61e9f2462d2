// Names and entries from the network that would make an uninstall delete the
// wrong things, and links planted where an uninstall deletes. One table: each
// case runs in a fresh sandbox holding the same set of bystander files, and
// afterwards every bystander must still be there unless the case names it.

#include "install/Uninstall.h"
#include "install/UninstallPlan.h"
#include "platform/LinkSafeDelete.h"
#include "platform/Locations.h"
#include "support/FileLinks.h"
#include "support/LogCapture.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace
{
    /** The places of one case's sandbox. */
    struct Places
    {
        juce::File root, data, programData, formats, outside;
        FormatSettings settings;

        Places()
            : root (Locations::driveRoot()), data (Locations::dataFolder()), programData (data.getParentDirectory()),
              formats (root.getChildFile ("Formats")), outside (root.getChildFile ("Outside"))
        {
            settings.path[PluginFormats::aax] = formats.getChildFile ("AAX").getFullPathName();
            settings.path[PluginFormats::vst2] = formats.getChildFile ("VST2").getFullPathName();
            settings.path[PluginFormats::vst3] = formats.getChildFile ("VST3").getFullPathName();
        }

        /** Every file a hostile name, entry or link could reach, by a short label. */
        std::map<juce::String, juce::File> bystanders() const
        {
            return {
                { "beside VST3",         formats.getChildFile ("Victim.vst3") },
                { "other plugin",        formats.getChildFile ("VST3/Victim.vst3") },
                { "beside data",         programData.getChildFile ("Victim/appdata/x") },
                { "other data",          data.getChildFile ("Victim/appdata/x") },
                { "nested data",         data.getChildFile ("Sub").getChildFile ("Synth").getChildFile ("appdata/x") },
                { "expansion file",      data.getChildFile ("My Synth/Presets/ok.preset") },
                { "aax bundle",          formats.getChildFile ("AAX/MySynth.aaxplugin/Contents/x64/MySynth.aaxplugin") },
                { "outside",             outside.getChildFile ("keep.txt") },
                { "outside appdata",     outside.getChildFile ("appdata/keep.txt") },
            };
        }

        /** A link to a folder or file; false where the system lets us make none. */
        bool link (const juce::File& linkFile, const juce::File& target) const
        {
            linkFile.getParentDirectory().createDirectory();
            return makeLink (linkFile, target) && LinkSafeDelete::isLink (linkFile);
        }
    };

    struct HostileCase
    {
        const char* what;
        std::function<bool (const Places&)> plantLinks;      // null for none; false when links cannot be made
        std::function<void (const Places&)> uninstall;
        std::function<juce::String (const Places&)> logLine; // must appear in the log
        juce::StringArray removed;                           // bystanders meant to go
        std::function<void (const Places&)> alsoCheck;       // null for none
    };

    std::function<void (const Places&)> plugin (const juce::String& name)
    {
        return [name] (const Places& p) { Uninstall::unInstall (name, p.settings, p.data); };
    }

    std::function<void (const Places&)> expansion (const juce::String& parent, juce::StringArray contents)
    {
        return [parent, contents] (const Places& p) { Uninstall::unInstallExtension (parent, contents, p.data); };
    }

    std::function<juce::String (const Places&)> line (const juce::String& text)
    {
        return [text] (const Places&) { return text; };
    }

    std::function<juce::String (const Places&)> refusedLink (std::function<juce::File (const Places&)> path)
    {
        return [path] (const Places& p) { return "   refused, leaves its folder or passes a link: " + path (p).getFullPathName(); };
    }
}

TEST (UninstallHostile, UnsafeNamesEntriesAndLinksDeleteNothingOutsideTheirFolder)
{
    const HostileCase cases[] = {
        // Product names: a separator, a drive or a climbing component refuses the whole uninstall.
        { "name climbs", nullptr, plugin ("../Victim"), line ("unInstall refused, unsafe name <../Victim>"), {}, nullptr },
        { "name with slash", nullptr, plugin ("Sub/Synth"), line ("unInstall refused, unsafe name <Sub/Synth>"), {}, nullptr },
        { "name with backslash", nullptr, plugin ("Sub\\Synth"), line ("unInstall refused, unsafe name <Sub\\Synth>"), {}, nullptr },
        { "name with drive", nullptr, plugin ("C:Victim"), line ("unInstall refused, unsafe name <C:Victim>"), {}, nullptr },
        { "name with drive root", nullptr, plugin ("D:\\Victim"), line ("unInstall refused, unsafe name <D:\\Victim>"), {}, nullptr },
        { "name of dots only", nullptr, plugin ("..."), line ("unInstall refused, unsafe name <...>"), {}, nullptr },
        { "name that Windows trims to ..", nullptr, plugin (".. "), line ("unInstall refused, unsafe name <.. >"), {}, nullptr },

        // Expansion entries: each unsafe one is skipped, the safe one beside it still goes.
        { "entry climbs", nullptr, expansion ("My Synth", { "../Victim/appdata/x", "Presets/ok.preset" }),
          line ("   skipped unsafe entry <../Victim/appdata/x>"), { "expansion file" }, nullptr },
        { "entry climbs midway", nullptr, expansion ("My Synth", { "Presets/../../Victim/appdata/x" }),
          line ("   skipped unsafe entry <Presets/../../Victim/appdata/x>"), {}, nullptr },
        { "entry climbs with backslashes", nullptr, expansion ("My Synth", { "..\\Victim\\appdata\\x" }),
          line ("   skipped unsafe entry <..\\Victim\\appdata\\x>"), {}, nullptr },
        { "entry absolute", nullptr,
          [] (const Places& p) { Uninstall::unInstallExtension ("My Synth", { p.outside.getChildFile ("keep.txt").getFullPathName() }, p.data); },
          [] (const Places& p) { return "   skipped unsafe entry <" + p.outside.getChildFile ("keep.txt").getFullPathName() + ">"; }, {}, nullptr },
        { "entry rooted", nullptr, expansion ("My Synth", { "/Outside/keep.txt" }), line ("   skipped unsafe entry </Outside/keep.txt>"), {}, nullptr },
        { "entry UNC", nullptr, expansion ("My Synth", { "\\\\server\\share\\keep.txt" }),
          line ("   skipped unsafe entry <\\\\server\\share\\keep.txt>"), {}, nullptr },
        { "entry with drive", nullptr, expansion ("My Synth", { "C:\\Outside\\keep.txt" }),
          line ("   skipped unsafe entry <C:\\Outside\\keep.txt>"), {}, nullptr },
        { "entry drive-relative", nullptr, expansion ("My Synth", { "C:keep.txt" }), line ("   skipped unsafe entry <C:keep.txt>"), {}, nullptr },
        { "parent title climbs", nullptr, expansion ("../Victim", { "appdata/x" }),
          line ("unInstallExtension refused, unsafe parent title <../Victim>"), {}, nullptr },
        { "parent title nested", nullptr, expansion ("Sub/Synth", { "appdata/x" }),
          line ("unInstallExtension refused, unsafe parent title <Sub/Synth>"), {}, nullptr },

        // Links: removed as links, never followed out of the folder being deleted.
        { "link inside an AAX bundle",
          [] (const Places& p) { return p.link (p.formats.getChildFile ("AAX/MySynth.aaxplugin/Contents/Resources"), p.outside); },
          plugin ("My Synth"), line ("unInstall My Synth"), { "aax bundle" },
          [] (const Places& p)
          {
              EXPECT_FALSE (p.formats.getChildFile ("AAX/MySynth.aaxplugin").exists()) << "the bundle, link and all, is gone";
              EXPECT_TRUE (p.outside.getChildFile ("EmptyDir").isDirectory());
          } },
        { "the bundle itself is a link",
          [] (const Places& p)
          {
              p.formats.getChildFile ("AAX/MySynth.aaxplugin").deleteRecursively();
              return p.link (p.formats.getChildFile ("AAX/MySynth.aaxplugin"), p.outside);
          },
          plugin ("My Synth"), line ("unInstall My Synth"), { "aax bundle" },
          [] (const Places& p) { EXPECT_FALSE (LinkSafeDelete::isLink (p.formats.getChildFile ("AAX/MySynth.aaxplugin"))); } },
        { "resource folder is a link",
          [] (const Places& p) { return p.link (p.data.getChildFile ("My Synth/appdata"), p.outside.getChildFile ("appdata")); },
          plugin ("My Synth"), line ("unInstall My Synth"), { "aax bundle" },
          [] (const Places& p) { EXPECT_FALSE (LinkSafeDelete::isLink (p.data.getChildFile ("My Synth/appdata"))); } },
        { "product's data folder is a link",
          [] (const Places& p) { return p.link (p.data.getChildFile ("Linked Synth"), p.outside); },
          plugin ("Linked Synth"),
          refusedLink ([] (const Places& p) { return p.data.getChildFile ("Linked Synth").getChildFile ("appdata"); }), {},
          [] (const Places& p) { EXPECT_TRUE (LinkSafeDelete::isLink (p.data.getChildFile ("Linked Synth"))); } },
        { "plugin file is a link",
          [] (const Places& p) { return p.link (p.formats.getChildFile ("VST3/MySynth.vst3"), p.outside.getChildFile ("keep.txt")); },
          plugin ("My Synth"), line ("unInstall My Synth"), { "aax bundle" },
          [] (const Places& p) { EXPECT_FALSE (LinkSafeDelete::isLink (p.formats.getChildFile ("VST3/MySynth.vst3"))); } },
        { "expansion folder is a link",
          [] (const Places& p) { return p.link (p.data.getChildFile ("My Synth/Linked"), p.outside); },
          expansion ("My Synth", { "Linked/keep.txt" }),
          refusedLink ([] (const Places& p) { return p.data.getChildFile ("My Synth/Linked").getChildFile ("keep.txt"); }), {},
          [] (const Places& p)
          {
              EXPECT_TRUE (p.outside.getChildFile ("EmptyDir").isDirectory()) << "the empty-folder passes do not enter links";
              EXPECT_TRUE (LinkSafeDelete::isLink (p.data.getChildFile ("My Synth/Linked")));
          } },
    };

    juce::StringArray skipped;

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        ScopedSandbox sandbox;
        const Places places;

        for (const auto& [label, file] : places.bystanders())
        {
            ASSERT_TRUE (file.getParentDirectory().createDirectory().wasOk()) << label;
            ASSERT_TRUE (file.replaceWithText (label)) << label;
        }

        ASSERT_TRUE (places.outside.getChildFile ("EmptyDir").createDirectory().wasOk());

        if (c.plantLinks != nullptr && ! c.plantLinks (places))
        {
            skipped.add (c.what);
            continue;
        }

        LogCapture log;
        c.uninstall (places);

        EXPECT_TRUE (log.contains (c.logLine (places))) << log.messages().joinIntoString ("\n");

        for (const auto& [label, file] : places.bystanders())
            EXPECT_EQ (file.existsAsFile(), ! c.removed.contains (label)) << label << ": " << file.getFullPathName();

        if (c.alsoCheck != nullptr)
            c.alsoCheck (places);
    }

    if (! skipped.isEmpty())
        GTEST_SKIP() << "this system made no links for: " << skipped.joinIntoString (", ");
}
