// demoservice::Faults for the Windows tests: each setter sets the fault on the
// native service through its control endpoints (RemoteDemoService.cpp).

#include "support/windows/RemoteDemoServiceControl.h"

#include <demoservice/Faults.h>

namespace demoservice
{
namespace rds = remotedemoservice;

namespace
{
    juce::var str (const std::string& value)          { return juce::String (value); }
    juce::var ms (std::chrono::milliseconds value)   { return (juce::int64) value.count(); }
    juce::var count (std::uint64_t value)            { return (juce::int64) value; }
}

void Faults::setLatency (std::chrono::milliseconds delay, const std::string& pathPrefix)
{
    rds::call ("faults/setLatency", rds::object ({ { "ms", ms (delay) }, { "pathPrefix", str (pathPrefix) } }));
}

void Faults::stallAfterBytes (std::uint64_t bytes, std::chrono::milliseconds duration, const std::string& pathPrefix, int times)
{
    rds::call ("faults/stallAfterBytes", rds::object ({ { "bytes", count (bytes) }, { "ms", ms (duration) },
                                                        { "pathPrefix", str (pathPrefix) }, { "times", times } }));
}

void Faults::dropAfterBytes (std::uint64_t bytes, const std::string& pathPrefix, int times)
{
    rds::call ("faults/dropAfterBytes", rds::object ({ { "bytes", count (bytes) }, { "pathPrefix", str (pathPrefix) }, { "times", times } }));
}

void Faults::setIgnoreRange (bool ignore)
{
    rds::call ("faults/setIgnoreRange", rds::object ({ { "ignore", ignore } }));
}

void Faults::forceStatus (const std::string& pathPrefix, int status, std::string body, std::string contentType, int times)
{
    rds::call ("faults/forceStatus", rds::object ({ { "pathPrefix", str (pathPrefix) }, { "status", status }, { "body", str (body) },
                                                    { "contentType", str (contentType) }, { "times", times } }));
}

void Faults::forceUnauthorized (const std::string& pathPrefix, int times)
{
    rds::call ("faults/forceUnauthorized", rds::object ({ { "pathPrefix", str (pathPrefix) }, { "times", times } }));
}

void Faults::forceUpdateRequired (const std::string& pathPrefix, const std::string& url, int times)
{
    rds::call ("faults/forceUpdateRequired", rds::object ({ { "pathPrefix", str (pathPrefix) }, { "url", str (url) }, { "times", times } }));
}

void Faults::forceServerError (const std::string& pathPrefix, int times)
{
    rds::call ("faults/forceServerError", rds::object ({ { "pathPrefix", str (pathPrefix) }, { "times", times } }));
}

void Faults::forceNonJsonBody (const std::string& pathPrefix, int times)
{
    rds::call ("faults/forceNonJsonBody", rds::object ({ { "pathPrefix", str (pathPrefix) }, { "times", times } }));
}

void Faults::clear()
{
    rds::call ("faults/clear");
}
}
