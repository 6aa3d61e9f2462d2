#include "support/TestEnvironment.h"

#include "platform/Environment.h"
#include "platform/Locations.h"

ScopedEnvironmentVariable::ScopedEnvironmentVariable (juce::String variableName, const juce::String& value)
    : name (std::move (variableName)),
      previous (juce::SystemStats::getEnvironmentVariable (name, {}))
{
    Environment::setVariable (name, value);
}

ScopedEnvironmentVariable::~ScopedEnvironmentVariable()
{
    Environment::setVariable (name, previous);
}

namespace
{
    juce::File makeSandboxFolder()
    {
        auto folder = juce::File::getSpecialLocation (juce::File::tempDirectory)
                          .getNonexistentChildFile ("vamrhelper-sandbox", {}, false);
        folder.createDirectory();
        return folder;
    }
}

ScopedSandbox::ScopedSandbox()
    : folder (makeSandboxFolder()),
      variable (Locations::sandboxVariable, folder.getFullPathName())
{
}

ScopedSandbox::~ScopedSandbox()
{
    folder.deleteRecursively();
}

bool displayAvailable()
{
    return juce::Desktop::getInstance().getDisplays().getPrimaryDisplay() != nullptr;
}

bool pumpUntil (std::function<bool()> condition, int timeoutMs)
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;

    while (! condition())
    {
        if (juce::Time::getMillisecondCounter() > end)
            return false;

        juce::MessageManager::getInstance()->runDispatchLoopUntil (10);
    }

    return true;
}
