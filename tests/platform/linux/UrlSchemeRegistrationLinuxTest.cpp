#include "platform/Locations.h"
#include "platform/UrlSchemeRegistration.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace
{
    class UrlSchemeRegistrationLinux : public ::testing::Test
    {
    protected:
        juce::File entry() const   { return sandbox.root().getChildFile ("xdg/data/applications/vamrhelper-url-handler.desktop"); }
        juce::File list() const    { return sandbox.root().getChildFile ("xdg/config/mimeapps.list"); }

        ScopedSandbox sandbox;
        const juce::String executable { "/opt/Vamrelund Helper/Vamrelund Helper" };
    };
}

TEST_F (UrlSchemeRegistrationLinux, WritesTheEntryAndMakesItTheDefaultKeepingTheUsersLines)
{
    const juce::String usersLines = "# kept\n"
                                    "[Added Associations]\n"
                                    "x-scheme-handler/vamrhelper=old-helper.desktop;\n"
                                    "\n"
                                    "[Default Applications]\n"
                                    "text/html=firefox.desktop\n"
                                    "x-scheme-handler/vamrhelper=old-helper.desktop\n"
                                    "x-scheme-handler/mailto=thunderbird.desktop\n";
    ASSERT_TRUE (list().create().wasOk());
    ASSERT_TRUE (list().replaceWithText (usersLines, false, false, "\n"));

    ASSERT_TRUE (UrlSchemeRegistration::registerProtocol ("vamrhelper", executable));

    EXPECT_EQ (entry().loadFileAsString(),
               "[Desktop Entry]\n"
               "Type=Application\n"
               "Name=Vamrelund Helper\n"
               "Exec=\"/opt/Vamrelund Helper/Vamrelund Helper\" %u\n"
               "MimeType=x-scheme-handler/vamrhelper;\n"
               "NoDisplay=true\n");
    EXPECT_EQ (list().loadFileAsString(), usersLines.replace ("text/html=firefox.desktop\nx-scheme-handler/vamrhelper=old-helper.desktop\n",
                                                             "text/html=firefox.desktop\nx-scheme-handler/vamrhelper=vamrhelper-url-handler.desktop;\n"));

    // Every start registers again; nothing changes, and no temporary file stays.
    const auto afterFirst = list().loadFileAsString();
    ASSERT_TRUE (UrlSchemeRegistration::registerProtocol ("vamrhelper", executable));
    EXPECT_EQ (list().loadFileAsString(), afterFirst);
    EXPECT_EQ (list().getParentDirectory().getNumberOfChildFiles (juce::File::findFilesAndDirectories | juce::File::ignoreHiddenFiles, "*"), 1);
    EXPECT_EQ (list().getParentDirectory().getNumberOfChildFiles (juce::File::findFilesAndDirectories, "*"), 1);
    EXPECT_EQ (entry().getParentDirectory().getNumberOfChildFiles (juce::File::findFilesAndDirectories, "*"), 1);
}

TEST_F (UrlSchemeRegistrationLinux, AnotherCopyTakesTheRegistrationOver)
{
    ASSERT_TRUE (UrlSchemeRegistration::registerProtocol ("vamrhelper", executable));
    ASSERT_TRUE (UrlSchemeRegistration::registerProtocol ("vamrhelper", "/home/me/Moved/Vamrelund Helper"));

    EXPECT_TRUE (entry().loadFileAsString().contains ("\nExec=\"/home/me/Moved/Vamrelund Helper\" %u\n")) << entry().loadFileAsString();
    EXPECT_EQ (list().loadFileAsString(), "[Default Applications]\nx-scheme-handler/vamrhelper=vamrhelper-url-handler.desktop;\n");
}

TEST_F (UrlSchemeRegistrationLinux, ALinkedListIsEditedWhereItPoints)
{
    const auto real = sandbox.root().getChildFile ("dotfiles/mimeapps.list");
    ASSERT_TRUE (real.create().wasOk());
    ASSERT_TRUE (real.replaceWithText ("[Default Applications]\ntext/html=firefox.desktop\n", false, false, "\n"));
    ASSERT_TRUE (list().getParentDirectory().createDirectory());
    ASSERT_TRUE (real.createSymbolicLink (list(), true));

    ASSERT_TRUE (UrlSchemeRegistration::registerProtocol ("vamrhelper", executable));

    EXPECT_TRUE (list().isSymbolicLink());
    EXPECT_EQ (real.loadFileAsString(), "[Default Applications]\ntext/html=firefox.desktop\nx-scheme-handler/vamrhelper=vamrhelper-url-handler.desktop;\n");
}

TEST_F (UrlSchemeRegistrationLinux, AFolderInTheWayFailsTheStepItBlocks)
{
    struct Case { const char* blocked; bool entryWritten; };
    const Case cases[] = {
        { "xdg/data/applications", false },   // the entry's folder is a file
        { "xdg/config/mimeapps.list/x", true }, // the list is a folder
    };

    for (const auto& c : cases)
    {
        ScopedSandbox own;
        ASSERT_TRUE (own.root().getChildFile (c.blocked).create().wasOk());

        EXPECT_FALSE (UrlSchemeRegistration::registerProtocol ("vamrhelper", executable)) << c.blocked;
        EXPECT_EQ (own.root().getChildFile ("xdg/data/applications/vamrhelper-url-handler.desktop").existsAsFile(), c.entryWritten) << c.blocked;
    }
}
