#include "platform/RepaintFallback.h"

// The X11 window peer repaints on a timer of its own, vertical blank or not.
namespace RepaintFallback
{
    void start() {}
    void stop() {}
    int drivenWindowCount() { return 0; }
    bool isAvailable() { return false; }
}
