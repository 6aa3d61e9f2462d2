#include "platform/ExclusiveNameLock.h"

#include <windows.h>

namespace
{
    juce::String mutexName (const juce::String& name)
    {
        // Global, like the pipe names the lock guards.
        return "Global\\" + name;
    }
}

struct ExclusiveNameLock::Holder
{
    HANDLE mutex = nullptr;
};

ExclusiveNameLock::HeldName ExclusiveNameLock::take (const juce::String& lockName)
{
    // Whoever creates the mutex holds the name; it lives as long as any
    // handle to it, and the system closes a dead process's handles.
    auto* mutex = CreateMutexW (nullptr, FALSE, mutexName (lockName).toWideCharPointer());

    if (mutex == nullptr)
        return {};

    if (GetLastError() == ERROR_ALREADY_EXISTS)
    {
        CloseHandle (mutex);
        return {};
    }

    HeldName held (new Holder());
    held->mutex = mutex;
    return held;
}

void ExclusiveNameLock::GiveBack::operator() (Holder* holder) const noexcept
{
    CloseHandle (holder->mutex);
    delete holder;
}

bool ExclusiveNameLock::isTaken (const juce::String& lockName)
{
    auto* mutex = OpenMutexW (SYNCHRONIZE, FALSE, mutexName (lockName).toWideCharPointer());

    if (mutex == nullptr)
        return GetLastError() == ERROR_ACCESS_DENIED;

    CloseHandle (mutex);
    return true;
}
