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

    // A socket of its own rather than WinINet: the app under test sends its
    // own requests through WinINet in this process at the same time, and the
    // control calls must not share its connections or its state.
    const juce::URL url { juce::String (base) };
    const auto host = url.getDomain();
    const auto port = url.getPort() > 0 ? url.getPort() : 80;
    const auto payload = juce::JSON::toString (body, true).toStdString();
    const auto request = "POST /_control/" + action + " HTTP/1.1\r\nHost: " + host.toStdString() + ":" + std::to_string (port)
                       + "\r\nContent-Type: application/json\r\nContent-Length: " + std::to_string (payload.size())
                       + "\r\nConnection: close\r\n\r\n" + payload;

    juce::StreamingSocket socket;
    if (! socket.connect (host, port, 10000)
        || socket.write (request.data(), (int) request.size()) != (int) request.size())
    {
        error = "no answer from the demo service at " + base + " (" + action + ")";
        return {};
    }

    // The service closes the connection after the answer.
    juce::MemoryOutputStream received;
    char buffer[16384];
    for (;;)
    {
        if (socket.waitUntilReady (true, 30000) != 1)
            break;

        const auto got = socket.read (buffer, (int) sizeof (buffer), false);
        if (got <= 0)
            break;

        received.write (buffer, (size_t) got);
    }

    const auto answer = received.toString();
    const auto head = answer.upToFirstOccurrenceOf ("\r\n\r\n", false, false);
    const auto text = answer.fromFirstOccurrenceOf ("\r\n\r\n", false, false);
    const auto status = head.upToFirstOccurrenceOf ("\r\n", false, false).fromFirstOccurrenceOf (" ", false, false).getIntValue();

    if (head.containsIgnoreCase ("Transfer-Encoding: chunked"))
    {
        error = "control action " + action + " answered in chunks, which this client does not read";
        return {};
    }

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
