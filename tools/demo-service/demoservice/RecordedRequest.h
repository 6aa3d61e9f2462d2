#pragma once

#include <string>
#include <utility>
#include <vector>

namespace demoservice
{
    /** One request as the service received it, for tests to check exactly
        what a client sent. */
    struct RecordedRequest
    {
        std::string method;
        std::string path;      // decoded, without the query
        std::string target;    // as sent: path and query, still escaped
        // As received, in httplib's order (grouped by name). httplib undoes
        // percent escapes in header values; the client's headers carry none.
        std::vector<std::pair<std::string, std::string>> headers;
        std::string body;
        int status = 0;        // the status it was answered with

        /** The first header of that name (case-insensitive); empty when absent. */
        std::string header (const std::string& name) const;
        bool hasHeader (const std::string& name) const;
    };
}
