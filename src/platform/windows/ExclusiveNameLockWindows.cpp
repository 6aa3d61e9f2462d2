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

ExclusiveNameLock::ExclusiveNameLock (juce::String lockName)
    : name (std::move (lockName))
{
}

ExclusiveNameLock::~ExclusiveNameLock()
{
    release();
}

bool ExclusiveNameLock::tryAcquire()
{
    if (holder != nullptr)
        return true;

    // Whoever creates the mutex holds the name; it lives as long as any
    // handle to it, and the system closes a dead process's handles.
    auto* mutex = CreateMutexW (nullptr, FALSE, mutexName (name).toWideCharPointer());

    if (mutex == nullptr)
        return false;

    if (GetLastError() == ERROR_ALREADY_EXISTS)
    {
        CloseHandle (mutex);
        return false;
    }

    holder = std::make_unique<Holder>();
    holder->mutex = mutex;
    return true;
}

void ExclusiveNameLock::release()
{
    if (holder == nullptr)
        return;

    CloseHandle (holder->mutex);
    holder = nullptr;
}

bool ExclusiveNameLock::isHeld() const noexcept
{
    return holder != nullptr;
}

bool ExclusiveNameLock::isTaken (const juce::String& lockName)
{
    auto* mutex = OpenMutexW (SYNCHRONIZE, FALSE, mutexName (lockName).toWideCharPointer());

    if (mutex == nullptr)
        return GetLastError() == ERROR_ACCESS_DENIED;

    CloseHandle (mutex);
    return true;
}
