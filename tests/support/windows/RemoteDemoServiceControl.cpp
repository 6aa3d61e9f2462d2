#include "support/windows/RemoteDemoServiceControl.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace remotedemoservice
{
std::string origin()
{
    const auto direct = juce::SystemStats::getEnvironmentVariable ("VAMRHELPER_DEMO_SERVICE_ORIGIN", {});
    if (direct.isNotEmpty())
        return direct.toStdString();

    const auto file = juce::SystemStats::getEnvironmentVariable ("VAMRHELPER_DEMO_SERVICE_ORIGIN_FILE", {});
    if (file.isEmpty())
        return {};

    return juce::File (file).loadFileAsString().upToFirstOccurrenceOf ("\n", false, false).trim().toStdString();
}

juce::var tryCall (const std::string& action, const juce::var& body, std::string& error)
{
    const auto base = origin();
    if (base.empty())
    {
        error = "no demo service: neither VAMRHELPER_DEMO_SERVICE_ORIGIN nor VAMRHELPER_DEMO_SERVICE_ORIGIN_FILE names it";
        return {};
    }

    // POST for reads too: WinINet may answer a repeated GET from its cache.
    const auto url = juce::URL (juce::String (base) + "/_control/" + juce::String (action))
                         .withPOSTData (juce::JSON::toString (body, true));
    int status = 0;
    auto stream = url.createInputStream (juce::URL::InputStreamOptions (juce::URL::ParameterHandling::inAddress)
                                             .withExtraHeaders ("Content-Type: application/json")
                                             .withConnectionTimeoutMs (10000)
                                             .withStatusCode (&status));
    if (stream == nullptr)
    {
        error = "no answer from the demo service at " + base + " (" + action + ")";
        return {};
    }

    const auto text = stream->readEntireStreamAsString();
    if (status != 200)
    {
        error = "control action " + action + " answered " + std::to_string (status) + ": " + text.toStdString();
        return {};
    }

    return juce::JSON::parse (text);
}

juce::var call (const std::string& action, const juce::var& body)
{
    std::string error;
    auto answer = tryCall (action, body, error);

    if (! error.empty())
        ADD_FAILURE() << error;

    return answer;
}

juce::var object (std::initializer_list<std::pair<const char*, juce::var>> fields)
{
    juce::DynamicObject::Ptr result (new juce::DynamicObject());

    for (const auto& [name, value] : fields)
        result->setProperty (name, value);

    return juce::var (result.get());
}

std::filesystem::path fromNativePath (const std::string& nativePath)
{
    if (nativePath.empty() || nativePath.front() != '/')
        return nativePath;

    return std::filesystem::path ("Z:" + nativePath).make_preferred();
}

std::string toNativePath (const std::filesystem::path& path)
{
    // Wine's kernel32 exports its own mapping; on Windows proper there is none.
    using ToUnix = char* (CDECL*) (const WCHAR*);
    const auto toUnix = reinterpret_cast<ToUnix> (reinterpret_cast<void*> (
        GetProcAddress (GetModuleHandleW (L"kernel32.dll"), "wine_get_unix_file_name")));

    if (toUnix == nullptr)
        return path.string();

    char* unixName = toUnix (path.wstring().c_str());
    if (unixName == nullptr)
        return path.string();

    std::string result (unixName);
    HeapFree (GetProcessHeap(), 0, unixName);
    return result;
}
}
