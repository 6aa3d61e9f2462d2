#pragma once

#include <juce_core/juce_core.h>

#include <memory>

/** A name that one holder at a time may own on this computer, whether the
    other contenders live in other processes or in this one.

    The system itself drops the hold when the holding process ends, a crash
    included, so a name is never left taken by a process that is gone.
    On Linux the name is an advisory lock (flock) on a file in a folder only
    this user can enter (so names are per user there), removed on release; on Windows it is a named mutex in the global
    namespace, owned by whoever created it.

    Names are plain: letters, digits, '-', '_' and '.'.
*/
class ExclusiveNameLock
{
public:
    explicit ExclusiveNameLock (juce::String name);

    /** Releases the name if it is held. */
    ~ExclusiveNameLock();

    /** Takes the name if nobody holds it; never waits. True when this object
        holds it afterwards (also when it held it already). */
    bool tryAcquire();

    /** Gives the name back; does nothing when it is not held. */
    void release();

    bool isHeld() const noexcept;

    const juce::String& getName() const noexcept { return name; }

    /** True when some holder has the name right now. Takes nothing that
        outlives the call. */
    static bool isTaken (const juce::String& name);

    struct Holder;

private:
    /** Gives a held name back and deletes its holder; one per system. */
    struct GiveBack
    {
        void operator() (Holder* holder) const noexcept;
    };

    using HeldName = std::unique_ptr<Holder, GiveBack>;

    /** Takes the name if nobody holds it, without waiting; one per system. */
    static HeldName take (const juce::String& name);

    const juce::String name;
    HeldName holder;

    JUCE_DECLARE_NON_COPYABLE (ExclusiveNameLock)
};
