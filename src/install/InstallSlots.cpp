#include "install/InstallSlots.h"

bool InstallSlots::tryTake() noexcept
{
    auto current = taken.load();

    do
    {
        if (current >= slotLimit)
            return false;
    }
    while (! taken.compare_exchange_weak (current, current + 1));

    auto seen = most.load();

    while (current + 1 > seen && ! most.compare_exchange_weak (seen, current + 1)) {}

    return true;
}

void InstallSlots::give() noexcept
{
    taken.fetch_sub (1);
}
