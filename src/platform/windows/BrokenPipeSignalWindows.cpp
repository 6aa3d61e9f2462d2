#include "platform/BrokenPipeSignal.h"

namespace BrokenPipeSignal
{
    // A write to a closed pipe or socket fails with an error here; there is no signal to catch.
    void ignore() {}
}
