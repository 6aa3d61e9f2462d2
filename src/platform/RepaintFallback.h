#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** Keeps windows repainting where the display sends no vertical blanks.

    On Windows, JUCE holds every repaint until the next vertical blank that
    DXGI reports. Without a DXGI output (Wine on a virtual X server, some
    virtual machines and remote sessions) none arrives, and a window never
    changes after its first frame. While running, this watches every window
    of the process: one that has had no vertical blank for graceMs after it
    appeared gets its pending repaints done about 60 times a second, until
    its first vertical blank arrives.

    On Linux JUCE drives repaints itself, and start() does nothing.
    Message thread only. */
namespace RepaintFallback
{
    inline constexpr int graceMs = 250;
    inline constexpr int driveIntervalMs = 16;   // about 60 Hz
    inline constexpr int watchIntervalMs = 100;  // while no window needs driving

    void start();
    void stop();

    /** How many windows are being driven now. */
    int drivenWindowCount();

    /** Whether the platform needs the fallback at all. */
    bool isAvailable();
}
