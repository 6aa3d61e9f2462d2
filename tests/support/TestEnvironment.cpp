#include "support/TestEnvironment.h"

#include "platform/Environment.h"
#include "platform/Locations.h"

#include <filesystem>
#include <system_error>

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
    // Test processes run side by side (ctest -j): a name picked because it
    // does not exist yet can be picked by another process too, which then
    // shares and deletes the folder. Only a folder this call itself created
    // is taken.
    juce::File makeSandboxFolder()
    {
        const auto temp = juce::File::getSpecialLocation (juce::File::tempDirectory);
        temp.createDirectory();

        for (;;)
        {
            const auto folder = temp.getChildFile ("vamrhelper-sandbox-"
                                                   + juce::String::toHexString (juce::Random::getSystemRandom().nextInt64()));
            std::error_code error;

            if (std::filesystem::create_directory (std::filesystem::u8path (folder.getFullPathName().toStdString()), error))
                return folder;

            if (error && ! folder.exists())
                return folder;   // cannot create anything there; the tests will say so
        }
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

bool runningUnderWine()
{
   #if JUCE_WINDOWS
    // Wine's ntdll exports its version; Windows' does not.
    juce::DynamicLibrary ntdll ("ntdll.dll");
    return ntdll.getFunction ("wine_get_version") != nullptr;
   #else
    return false;
   #endif
}

bool waitWithoutPumping (std::function<bool()> condition, int timeoutMs)
{
    const auto end = juce::Time::getMillisecondCounterHiRes() + timeoutMs;

    while (! condition())
    {
        if (juce::Time::getMillisecondCounterHiRes() > end)
            return false;

        juce::Thread::sleep (2);
    }

    return true;
}

void runPostedMessages()
{
    // Messages are handled in the order posted: once this marker has run, so
    // have all before it.
    auto reached = std::make_shared<bool> (false);
    juce::MessageManager::callAsync ([reached] { *reached = true; });
    pumpUntil ([reached] { return *reached; });
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
