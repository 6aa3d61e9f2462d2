#include "platform/ExclusiveNameLock.h"

// What both systems share; taking and giving back live in linux/ and windows/.

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
    if (holder == nullptr)
        holder = take (name);

    return holder != nullptr;
}

void ExclusiveNameLock::release()
{
    holder = nullptr;
}

bool ExclusiveNameLock::isHeld() const noexcept
{
    return holder != nullptr;
}
