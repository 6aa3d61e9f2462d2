#pragma once

#include <atomic>

/** The jobs allowed past the wait at one time. A job takes a slot by one
    atomic test-and-increment, so no more than the limit ever run. */
class InstallSlots
{
public:
    static constexpr int defaultLimit = 3;

    explicit InstallSlots (int limit = defaultLimit) : slotLimit (limit) {}

    /** Takes a slot if one is free. Any thread. */
    bool tryTake() noexcept;

    /** Gives back a slot taken by tryTake. */
    void give() noexcept;

    /** activeInstallCount: the jobs past the wait now. */
    int inUse() const noexcept { return taken.load(); }

    /** The most that were ever past the wait at once. */
    int mostInUse() const noexcept { return most.load(); }

private:
    const int slotLimit;
    std::atomic<int> taken { 0 }, most { 0 };
};
