#include "demoservice/VersionQuad.h"

#include <algorithm>
#include <cstdlib>

namespace demoservice
{
pewriter::VersionQuad versionQuad (const std::string& version, const std::string& build)
{
    pewriter::VersionQuad quad { 0, 0, 0, 0 };

    const auto clamp16 = [] (const std::string& text) -> std::uint16_t
    {
        if (text.empty() || ! std::all_of (text.begin(), text.end(), [] (char c) { return c >= '0' && c <= '9'; }))
            return 0;

        const auto value = std::strtoull (text.c_str(), nullptr, 10);
        return static_cast<std::uint16_t> (std::min<unsigned long long> (value, 0xffff));
    };

    std::size_t part = 0, start = 0;
    while (part < 3 && start <= version.size())
    {
        const auto dot = version.find ('.', start);
        quad[part++] = clamp16 (version.substr (start, dot == std::string::npos ? std::string::npos : dot - start));
        if (dot == std::string::npos)
            break;
        start = dot + 1;
    }

    quad[3] = clamp16 (build);
    return quad;
}
}
