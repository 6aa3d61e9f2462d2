// Checks the built "Vamrelund Helper.exe" as Windows reads it: its version
// resource and the manifest that asks for administrator rights.
#include <juce_core/juce_core.h>

#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

namespace
{
    juce::File appExecutable()
    {
        return juce::File::getSpecialLocation (juce::File::currentExecutableFile)
                   .getParentDirectory()
                   .getChildFile (VAMRHELPER_APP_FROM_TESTS);
    }

    juce::String versionString (const std::vector<char>& info, const wchar_t* key)
    {
        void* value = nullptr;
        UINT length = 0;

        if (! VerQueryValueW (info.data(), key, &value, &length) || length == 0)
            return "<missing>";

        return juce::String (static_cast<const wchar_t*> (value));
    }
}

TEST (AppExecutable, CarriesTheApplicationVersion)
{
    const auto exe = appExecutable();
    ASSERT_TRUE (exe.existsAsFile()) << exe.getFullPathName();
    const auto path = exe.getFullPathName();

    DWORD ignored = 0;
    const auto size = GetFileVersionInfoSizeW (path.toWideCharPointer(), &ignored);
    ASSERT_GT (size, 0u);
    std::vector<char> info (size);
    ASSERT_TRUE (GetFileVersionInfoW (path.toWideCharPointer(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedLength = 0;
    ASSERT_TRUE (VerQueryValueW (info.data(), L"\\", reinterpret_cast<void**> (&fixed), &fixedLength));
    ASSERT_EQ (fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ (fixed->dwFileVersionMS, (DWORD) MAKELONG (0, 1));  // 1.0
    EXPECT_EQ (fixed->dwFileVersionLS, (DWORD) MAKELONG (0, 14)); // .14.0
    EXPECT_EQ (fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ (fixed->dwProductVersionLS, fixed->dwFileVersionLS);
    EXPECT_EQ (fixed->dwFileType, (DWORD) VFT_APP);

    EXPECT_EQ (versionString (info, L"\\StringFileInfo\\040904B0\\ProductName"), "Vamrelund Helper");
    EXPECT_EQ (versionString (info, L"\\StringFileInfo\\040904B0\\ProductVersion"), VAMRHELPER_VERSION_STRING);
    EXPECT_EQ (versionString (info, L"\\StringFileInfo\\040904B0\\FileVersion"), VAMRHELPER_VERSION_STRING);
    EXPECT_EQ (versionString (info, L"\\StringFileInfo\\040904B0\\OriginalFilename"), "Vamrelund Helper.exe");

    // What the self-update and the installed-build detection read.
    EXPECT_EQ (exe.getVersion(), juce::String (VAMRHELPER_VERSION_STRING) + ".0");
}

TEST (AppExecutable, ManifestAsksForAdministratorRights)
{
    const auto exe = appExecutable();
    auto* module = LoadLibraryExW (exe.getFullPathName().toWideCharPointer(), nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE (module, nullptr) << exe.getFullPathName();

    juce::String manifest;

    if (auto* resource = FindResourceW (module, MAKEINTRESOURCEW (1), MAKEINTRESOURCEW (24))) // RT_MANIFEST
        if (auto* loaded = LoadResource (module, resource))
            manifest = juce::String::fromUTF8 (static_cast<const char*> (LockResource (loaded)),
                                               (int) SizeofResource (module, resource));

    FreeLibrary (module);
    ASSERT_TRUE (manifest.isNotEmpty()) << "no manifest with the process resource ID";

    auto xml = juce::parseXML (manifest);
    ASSERT_NE (xml, nullptr) << manifest;

    const juce::XmlElement* level = nullptr;

    if (auto* trust = xml->getChildByName ("trustInfo"))
        if (auto* security = trust->getChildByName ("security"))
            if (auto* privileges = security->getChildByName ("requestedPrivileges"))
                level = privileges->getChildByName ("requestedExecutionLevel");

    ASSERT_NE (level, nullptr) << manifest;
    EXPECT_EQ (level->getStringAttribute ("level"), "requireAdministrator");
    EXPECT_EQ (level->getStringAttribute ("uiAccess"), "false");
}
