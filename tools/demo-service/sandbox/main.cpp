// Prepares the app's sandbox (VAMRHELPER_ROOT) for the demo, the end-to-end
// test and the benchmarks.
//
//   vamrhelper-demo-sandbox [--data DIR] preinstall NAME[=VERSION]...
//   vamrhelper-demo-sandbox store-sign-in EMAIL TOKEN

#include "demoservice/DemoService.h"
#include "sandbox/DemoSandbox.h"

#include <iostream>

namespace
{
    const char* const usage =
        "usage: vamrhelper-demo-sandbox [--data DIR] preinstall NAME[=VERSION]...\n"
        "       vamrhelper-demo-sandbox store-sign-in EMAIL TOKEN\n"
        "Works inside the folder VAMRHELPER_ROOT names, and nowhere else.\n"
        "  preinstall      makes plugins of the demo catalogue look installed, as an install of that\n"
        "                  build leaves them (NAME alone: the build the catalogue offers; NAME=VERSION:\n"
        "                  an older version the manifest lists), in the app's current format folders\n"
        "  store-sign-in   stores the account and its token in the app's settings, terms accepted,\n"
        "                  as a successful sign-in does\n"
        "  --data DIR      the demo service's generated files (default: the build's)\n";

    int fail (const juce::String& message)
    {
        std::cerr << "vamrhelper-demo-sandbox: " << message << std::endl;
        return 1;
    }
}

int main (int argc, char** argv)
{
    std::vector<std::string> args (argv + 1, argv + argc);
    std::filesystem::path data = demoservice::defaultDataFolder();

    if (args.size() >= 2 && args[0] == "--data")
    {
        data = args[1];
        args.erase (args.begin(), args.begin() + 2);
    }

    if (args.empty() || args[0] == "--help" || args[0] == "-h")
    {
        std::cout << usage;
        return args.empty() ? 2 : 0;
    }

    if (args[0] == "store-sign-in" && args.size() == 3)
    {
        const auto result = demosandbox::storeSignIn (juce::String::fromUTF8 (args[1].c_str()),
                                                      juce::String::fromUTF8 (args[2].c_str()));
        return result.wasOk() ? 0 : fail (result.getErrorMessage());
    }

    if (args[0] != "preinstall" || args.size() < 2)
    {
        std::cerr << usage;
        return 2;
    }

    std::string error;
    const auto manifest = demoservice::loadManifest (data / "catalogue.json", error);

    if (! manifest)
        return fail (error);

    const auto settings = demosandbox::formatSettingsInUse();

    for (std::size_t i = 1; i < args.size(); ++i)
    {
        const auto request = demosandbox::PreinstallRequest::parse (args[i]);

        if (! request)
            return fail ("not a product: \"" + juce::String (args[i]) + "\" (NAME or NAME=VERSION)");

        juce::StringArray written;
        const auto result = demosandbox::preinstall (*manifest, data, *request, settings, written);

        if (result.failed())
            return fail (result.getErrorMessage());

        std::cout << "pre-installed " << args[i] << ":\n";

        for (auto& path : written)
            std::cout << "  " << path << "\n";
    }

    return 0;
}
