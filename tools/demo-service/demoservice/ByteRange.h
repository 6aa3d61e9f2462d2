#pragma once

#include <cstdint>
#include <string>

namespace demoservice
{
    /** How a file is answered for a request's Range header. */
    struct ByteRangeAnswer
    {
        enum class Kind
        {
            whole,          // 200: no usable range (none, malformed or several ranges)
            partial,        // 206: bytes first .. first + length - 1
            unsatisfiable   // 416: the range starts at or past the end
        };

        Kind kind = Kind::whole;
        std::uint64_t first = 0;
        std::uint64_t length = 0;

        /** "bytes 10-99/100" for a partial answer, "bytes * /100" (without the
            space) for an unsatisfiable one, empty for a whole one. */
        std::string contentRange (std::uint64_t size) const;
    };

    /** Reads one "bytes=a-b", "bytes=a-" or "bytes=-n" range against a file of
        the given size. A header that cannot be read, or that asks for several
        ranges, is ignored, as HTTP allows: the whole file is sent. */
    ByteRangeAnswer answerRange (const std::string& rangeHeader, std::uint64_t size);
}
