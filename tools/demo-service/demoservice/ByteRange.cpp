#include "demoservice/ByteRange.h"

#include <algorithm>
#include <cctype>

namespace demoservice
{
namespace
{
    std::string trim (const std::string& s)
    {
        const auto begin = s.find_first_not_of (" \t");
        if (begin == std::string::npos)
            return {};
        const auto end = s.find_last_not_of (" \t");
        return s.substr (begin, end - begin + 1);
    }

    bool readNumber (const std::string& s, std::uint64_t& value)
    {
        if (s.empty() || s.size() > 19 || ! std::all_of (s.begin(), s.end(), [] (unsigned char c) { return std::isdigit (c) != 0; }))
            return false;

        value = std::stoull (s);
        return true;
    }
}

std::string ByteRangeAnswer::contentRange (std::uint64_t size) const
{
    switch (kind)
    {
        case Kind::partial:
            return "bytes " + std::to_string (first) + "-" + std::to_string (first + length - 1) + "/" + std::to_string (size);
        case Kind::unsatisfiable:
            return "bytes */" + std::to_string (size);
        case Kind::whole:
            break;
    }

    return {};
}

ByteRangeAnswer answerRange (const std::string& rangeHeader, std::uint64_t size)
{
    ByteRangeAnswer answer;
    const auto header = trim (rangeHeader);
    const std::string unit = "bytes=";

    if (header.size() <= unit.size() || header.compare (0, unit.size(), unit) != 0)
        return answer;

    const auto rangeText = trim (header.substr (unit.size()));
    if (rangeText.find (',') != std::string::npos)
        return answer;

    const auto dash = rangeText.find ('-');
    if (dash == std::string::npos)
        return answer;

    const auto firstText = trim (rangeText.substr (0, dash));
    const auto lastText = trim (rangeText.substr (dash + 1));
    std::uint64_t first = 0, last = 0;

    if (firstText.empty())
    {
        // Suffix range: the last n bytes.
        std::uint64_t count = 0;
        if (! readNumber (lastText, count))
            return answer;

        if (count == 0 || size == 0)
        {
            answer.kind = ByteRangeAnswer::Kind::unsatisfiable;
            return answer;
        }

        answer.kind = ByteRangeAnswer::Kind::partial;
        answer.length = std::min (count, size);
        answer.first = size - answer.length;
        return answer;
    }

    if (! readNumber (firstText, first))
        return answer;

    if (lastText.empty())
        last = size == 0 ? 0 : size - 1;
    else if (! readNumber (lastText, last) || last < first)
        return answer;

    if (first >= size)
    {
        answer.kind = ByteRangeAnswer::Kind::unsatisfiable;
        return answer;
    }

    answer.kind = ByteRangeAnswer::Kind::partial;
    answer.first = first;
    answer.length = std::min (last, size - 1) - first + 1;
    return answer;
}
}
