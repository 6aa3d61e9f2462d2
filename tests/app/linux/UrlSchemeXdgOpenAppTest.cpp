// The built app registers its URL scheme in the sandbox; a browser sign-in
// link opened with Debian's xdg-open then reaches the running instance,
// which signs in with the link's code at the demo service.
#include "app/settings/SettingsKeys.h"
#include "app/settings/SettingsStore.h"
#include "log/DiagnosticLog.h"
#include "platform/Locations.h"
#include "support/AppProcess.h"
#include "support/DemoServiceFixture.h"

namespace
{
    constexpr int timeoutMs = 30000;

    struct Run
    {
        bool finished = false;
        int exitCode = -1;
        juce::String output;
    };

    /** Runs a command with this process's environment until it ends. Its
        output goes through a file: a program it starts (the app, from
        xdg-open) inherits the streams and may outlive it. */
    Run run (const juce::StringArray& command)
    {
        Run result;
        juce::TemporaryFile outputFile;
        juce::StringArray arguments { "/bin/sh", "-c", "out=\"$1\"; shift; \"$@\" >\"$out\" 2>&1", "sh",
                                      outputFile.getFile().getFullPathName() };
        arguments.addArray (command);
        juce::ChildProcess process;

        if (! process.start (arguments, 0))
            return result;

        result.finished = process.waitForProcessToFinish (timeoutMs);
        result.exitCode = result.finished ? (int) process.getExitCode() : -1;
        result.output = outputFile.getFile().loadFileAsString();
        return result;
    }

    bool onPath (const juce::String& tool)
    {
        return run ({ "/bin/sh", "-c", "command -v \"$1\"", "sh", tool }).exitCode == 0;
    }

    class UrlSchemeXdgOpen : public DemoServiceFixture
    {
    protected:
        void SetUp() override
        {
            if (! displayAvailable())
                GTEST_SKIP() << "no display";

            DemoServiceFixture::SetUp();
            ASSERT_TRUE (AppProcess::executable().existsAsFile()) << AppProcess::executable().getFullPathName();

            // Both come with the README's test command (scripts/common.sh).
            ASSERT_TRUE (onPath ("xdg-open")) << "xdg-utils is not installed";
            ASSERT_TRUE (onPath ("gio")) << "libglib2.0-bin is not installed";
        }

        /** The link the demo service's browser sign-in ends in. */
        juce::String signInLink()
        {
            const auto account = service.demoAccount();
            juce::StringPairArray headers;
            int status = 0;
            const auto form = "email=" + juce::URL::addEscapeChars (account.email, true)
                            + "&password=" + juce::URL::addEscapeChars (account.password, true);
            const auto stream = juce::URL (juce::String (service.origin()) + "/sso")
                                    .withPOSTData (form)
                                    .createInputStream (juce::URL::InputStreamOptions (juce::URL::ParameterHandling::inPostData)
                                                            .withResponseHeaders (&headers)
                                                            .withStatusCode (&status)
                                                            .withNumRedirectsToFollow (0));
            EXPECT_NE (stream, nullptr);
            EXPECT_EQ (status, 302);
            return headers["Location"];
        }

        static juce::String log() { return logFileLocation().loadFileAsString(); }

        // The app and xdg-open both look for the entry and the default here.
        ScopedEnvironmentVariable dataHome { "XDG_DATA_HOME", Locations::userDataHome().getFullPathName() };
        ScopedEnvironmentVariable configHome { "XDG_CONFIG_HOME", Locations::userConfigHome().getFullPathName() };

        // xdg-utils 1.1.3 (Debian 12) without a desktop splits the entry's
        // Exec at spaces and keeps its quotes, so it cannot start an
        // executable named "Vamrelund Helper" from any correctly quoted entry.
        // Under GNOME, as on most desktops, it hands the address to gio,
        // which reads the entry by the desktop-entry rules.
        ScopedEnvironmentVariable desktop { "XDG_CURRENT_DESKTOP", "GNOME" };
    };
}

TEST_F (UrlSchemeXdgOpen, TheRegisteredAppReceivesTheBrowserSignInAndSignsIn)
{
    ScopedEnvironmentVariable serviceOrigin ("VAMRHELPER_SERVICE", juce::String (service.origin()));

    // The terms were accepted at an earlier sign-in, so the code signs in at once.
    {
        FormatSettings formats;
        auto store = createPropertiesFile (formats);
        store->setValue (SettingsKeys::acceptedTerms, "yes");
        ASSERT_TRUE (store->saveIfNeeded());
    }

    AppProcess running;
    ASSERT_TRUE (running.start());
    ASSERT_TRUE (waitWithoutPumping ([&] { return running.output().contains ("Registrering klar") || ! running.isRunning(); }));
    ASSERT_TRUE (running.isRunning()) << running.output();

    // The console lines, with the Swedish letter as its UTF-8 bytes.
    EXPECT_TRUE (running.output().toStdString().find ("Protokollet \"vamrhelper\" registrerades!\n"
                                                      "Registrering klar. Du kan nu anv\xc3\xa4nda vamrhelper:// i webbsidor.\n")
                 != std::string::npos) << running.output();

    // The default that xdg-mime reports is the entry the app wrote.
    const auto query = run ({ "xdg-mime", "query", "default", "x-scheme-handler/vamrhelper" });
    EXPECT_EQ (query.output.trim(), "vamrhelper-url-handler.desktop");

    const auto link = signInLink();
    ASSERT_TRUE (link.startsWith ("vamrhelper://email=")) << link;
    const auto code = link.fromFirstOccurrenceOf ("&code=", false, false);
    ASSERT_TRUE (code.isNotEmpty()) << link;

    const auto opened = run ({ "xdg-open", link });
    ASSERT_TRUE (opened.finished);
    EXPECT_EQ (opened.exitCode, 0) << opened.output;

    EXPECT_TRUE (waitWithoutPumping ([&] { return log().contains ("openWithEmailAndCode, code = <" + code + ">"); })) << log();
    EXPECT_TRUE (waitWithoutPumping ([&] { return log().contains ("extralog, login callback err = 1"); })) << log();
    EXPECT_FALSE (service.requestsTo ("/api/vds/sso_auth").empty());

    // The process that xdg-open started handed the link over and made no window of its own.
    EXPECT_TRUE (log().contains ("sign-in link handed over to the running instance <" + link + ">")) << log();
    EXPECT_TRUE (running.isRunning());

    running.askToQuit();
    EXPECT_TRUE (running.waitForExit (timeoutMs));
}
