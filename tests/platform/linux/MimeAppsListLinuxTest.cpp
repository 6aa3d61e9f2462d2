#include "platform/linux/MimeAppsListLinux.h"

#include <gtest/gtest.h>

TEST (MimeAppsList, SetsTheDefaultAndKeepsEveryOtherLine)
{
    struct Case { const char* what; const char* before; const char* after; };
    const Case cases[] = {
        { "empty file",
          "",
          "[Default Applications]\nx-scheme-handler/vamrhelper=vamrhelper-url-handler.desktop;\n" },
        { "no default section: added after the others, parted by a blank line",
          "[Added Associations]\ntext/plain=gedit.desktop;\n",
          "[Added Associations]\ntext/plain=gedit.desktop;\n\n[Default Applications]\nx-scheme-handler/vamrhelper=vamrhelper-url-handler.desktop;\n" },
        { "no final newline",
          "[Added Associations]\ntext/plain=gedit.desktop;",
          "[Added Associations]\ntext/plain=gedit.desktop;\n\n[Default Applications]\nx-scheme-handler/vamrhelper=vamrhelper-url-handler.desktop;\n" },
        { "added at the end of the section, before the blank line and the next section",
          "# mine\n[Default Applications]\ntext/html=firefox.desktop\n\n[Added Associations]\nx-scheme-handler/vamrhelper=other.desktop;\n",
          "# mine\n[Default Applications]\ntext/html=firefox.desktop\nx-scheme-handler/vamrhelper=vamrhelper-url-handler.desktop;\n\n[Added Associations]\nx-scheme-handler/vamrhelper=other.desktop;\n" },
        { "an older handler is replaced in place",
          "[Default Applications]\ntext/html=firefox.desktop\nx-scheme-handler/vamrhelper=old-helper.desktop\nx-scheme-handler/https=firefox.desktop\n",
          "[Default Applications]\ntext/html=firefox.desktop\nx-scheme-handler/vamrhelper=vamrhelper-url-handler.desktop;\nx-scheme-handler/https=firefox.desktop\n" },
        { "spaces around the key, CRLF endings kept, repeated lines dropped",
          "[Default Applications]\r\nx-scheme-handler/vamrhelper = a.desktop\r\ntext/html=firefox.desktop\r\nx-scheme-handler/vamrhelper=b.desktop\r\n",
          "[Default Applications]\r\nx-scheme-handler/vamrhelper=vamrhelper-url-handler.desktop;\r\ntext/html=firefox.desktop\r\n" },
        { "similar types are not ours",
          "[Default Applications]\nx-scheme-handler/vamrhelper2=x.desktop\nx-scheme-handler/vamr=y.desktop",
          "[Default Applications]\nx-scheme-handler/vamrhelper2=x.desktop\nx-scheme-handler/vamr=y.desktop\nx-scheme-handler/vamrhelper=vamrhelper-url-handler.desktop;\n" },
        { "only the first default section is edited",
          "[Default Applications]\n[Default Applications]\nx-scheme-handler/vamrhelper=old.desktop\n",
          "[Default Applications]\nx-scheme-handler/vamrhelper=vamrhelper-url-handler.desktop;\n[Default Applications]\nx-scheme-handler/vamrhelper=old.desktop\n" },
        { "a header without a newline at the end of the file",
          "[Default Applications]",
          "[Default Applications]\nx-scheme-handler/vamrhelper=vamrhelper-url-handler.desktop;\n" },
    };

    for (const auto& c : cases)
    {
        const auto once = MimeAppsList::withDefaultApplication (c.before, "x-scheme-handler/vamrhelper",
                                                                "vamrhelper-url-handler.desktop");
        EXPECT_EQ (once, juce::String (c.after)) << c.what;

        // A second start finds its own line and changes nothing.
        EXPECT_EQ (MimeAppsList::withDefaultApplication (once, "x-scheme-handler/vamrhelper",
                                                         "vamrhelper-url-handler.desktop"), once) << c.what;
    }
}
