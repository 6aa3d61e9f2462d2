#pragma once

#include <juce_core/juce_core.h>

#include <filesystem>
#include <string>

/** The Windows tests' way to the demo service: they run under Wine, the
    service runs natively (started by ctest as a fixture), and every call goes
    to its control endpoints ("/_control/<action>", tools/demo-service's
    ControlApi.h) over loopback. */
namespace remotedemoservice
{
    /** The native service's origin: VAMRHELPER_DEMO_SERVICE_ORIGIN, or the first
        line of the file VAMRHELPER_DEMO_SERVICE_ORIGIN_FILE names; empty when neither. */
    std::string origin();

    /** POSTs the JSON body to the action and returns the parsed answer. A call
        that fails (no service, a status other than 200) fails the running
        test with its reason and returns a void var. */
    juce::var call (const std::string& action, const juce::var& body = juce::var (new juce::DynamicObject()));

    /** Like call(), but reports failures in `error` instead of failing the test. */
    juce::var tryCall (const std::string& action, const juce::var& body, std::string& error);

    /** A JSON object from name/value pairs, for request bodies. */
    juce::var object (std::initializer_list<std::pair<const char*, juce::var>> fields);

    /** A path of the native system as this process names it: Wine shows
        the native root as drive Z:. */
    std::filesystem::path fromNativePath (const std::string& nativePath);

    /** A path of this process as the native system names it (Wine's own mapping). */
    std::string toNativePath (const std::filesystem::path& path);
}
