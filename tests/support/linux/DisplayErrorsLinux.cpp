// Kept apart from every JUCE include: <X11/Xlib.h> clashes with juce::Font.
#include "support/DisplayErrors.h"

#include <X11/Xlib.h>

namespace
{
    int ignoreDisplayError (Display*, XErrorEvent*) { return 0; }
}

void installQuietDisplayErrorHandler()
{
    XSetErrorHandler (ignoreDisplayError);
}
