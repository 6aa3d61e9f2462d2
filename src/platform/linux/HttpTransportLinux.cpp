#include "platform/HttpTransport.h"

#include <curl/curl.h>

#include <sys/socket.h>
#include <unistd.h>

#include <memory>
#include <mutex>

namespace HttpTransport
{
    namespace
    {
        bool curlReady()
        {
            // curl_global_init is not itself thread-safe; a function-local
            // static runs it exactly once.
            static const bool ready = curl_global_init (CURL_GLOBAL_DEFAULT) == CURLE_OK;
            return ready;
        }

        struct EasyDeleter { void operator() (CURL* curl) const { curl_easy_cleanup (curl); } };
        struct ListDeleter { void operator() (curl_slist* list) const { curl_slist_free_all (list); } };

        /** The state one transfer's callbacks share with the stop object. */
        struct Transfer
        {
            Transfer (const Receiver& r, const AnswerCheck& c, HttpTransferStop* s, Result& out)
                : receiver (r), acceptAnswer (c), stop (s), result (out) {}

            const Receiver& receiver;
            const AnswerCheck& acceptAnswer;
            HttpTransferStop* stop;
            Result& result;
            CURL* curl = nullptr;
            bool answerChecked = false;
            bool receiverStopped = false;

            // The socket curl is using, so a stop from another thread can
            // shut it down and wake curl out of its wait at once.
            std::mutex socketLock;
            curl_socket_t socket = CURL_SOCKET_BAD;
            bool brokenOff = false;

            void breakOff()
            {
                const std::lock_guard<std::mutex> guard (socketLock);
                brokenOff = true;

                if (socket != CURL_SOCKET_BAD)
                    ::shutdown (socket, SHUT_RDWR);
            }
        };

        curl_socket_t openSocket (void* context, curlsocktype, curl_sockaddr* address)
        {
            auto& transfer = *static_cast<Transfer*> (context);
            const std::lock_guard<std::mutex> guard (transfer.socketLock);

            if (transfer.brokenOff)
                return CURL_SOCKET_BAD;

            // Close-on-exec: the app starts child processes, which must not keep our connections.
            const auto fd = ::socket (address->family, address->socktype | SOCK_CLOEXEC, address->protocol);
            transfer.socket = fd < 0 ? CURL_SOCKET_BAD : fd;
            return transfer.socket;
        }

        int closeSocket (void* context, curl_socket_t fd)
        {
            auto& transfer = *static_cast<Transfer*> (context);
            const std::lock_guard<std::mutex> guard (transfer.socketLock);

            if (transfer.socket == fd)
                transfer.socket = CURL_SOCKET_BAD;

            return ::close (fd);
        }

        size_t receiveHeader (char* data, size_t size, size_t count, void* context)
        {
            auto& result = static_cast<Transfer*> (context)->result;
            const auto bytes = size * count;
            const auto line = juce::String::fromUTF8 (data, (int) bytes).trim();

            // Each status line starts an answer (interim, redirect or final):
            // only the last one's headers are kept.
            if (line.startsWith ("HTTP/"))
            {
                result.headers.clear();
                return bytes;
            }

            const auto colon = line.indexOfChar (':');

            if (colon > 0)
            {
                const auto name = line.substring (0, colon).trim();
                const auto value = line.substring (colon + 1).trim();
                const auto earlier = result.headers.getValue (name, {});
                result.headers.set (name, earlier.isEmpty() ? value : earlier + ", " + value);
            }

            return bytes;
        }

        size_t receiveBody (char* data, size_t size, size_t count, void* context)
        {
            auto& transfer = *static_cast<Transfer*> (context);
            const auto bytes = size * count;

            // curl skips the bodies of redirects it follows, so the first
            // piece here belongs to the final answer, whose headers are complete.
            if (! transfer.answerChecked)
            {
                transfer.answerChecked = true;
                long status = 0;
                curl_easy_getinfo (transfer.curl, CURLINFO_RESPONSE_CODE, &status);

                if (transfer.acceptAnswer && ! transfer.acceptAnswer ((int) status, transfer.result.headers))
                {
                    transfer.receiverStopped = true;
                    return 0;
                }
            }

            if (transfer.receiver && ! transfer.receiver (data, bytes))
            {
                transfer.receiverStopped = true;
                return 0;   // curl ends the transfer with a write error
            }

            transfer.result.bodyBytes += (juce::int64) bytes;
            return bytes;
        }

        int checkStop (void* context, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
        {
            // Called while waiting too, which ends a stop that came during connect.
            auto* stop = static_cast<Transfer*> (context)->stop;
            return stop != nullptr && stop->isStopped() ? 1 : 0;
        }

        long wholeSecondsUp (int ms)
        {
            return (long) ((ms + 999) / 1000);
        }

        void setOptions (CURL* curl, const Request& request, curl_slist* headers, Transfer& transfer, char* errorText)
        {
            curl_easy_setopt (curl, CURLOPT_URL, request.address.toRawUTF8());
            curl_easy_setopt (curl, CURLOPT_NOSIGNAL, 1L);
            curl_easy_setopt (curl, CURLOPT_ERRORBUFFER, errorText);
            curl_easy_setopt (curl, CURLOPT_PROTOCOLS_STR, "http,https");
            curl_easy_setopt (curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
            curl_easy_setopt (curl, CURLOPT_HTTPHEADER, headers);

            if (request.method == Method::post)
            {
                // Copied, so the body needs to outlive nothing but this call.
                curl_easy_setopt (curl, CURLOPT_POSTFIELDSIZE_LARGE, (curl_off_t) request.body.getSize());
                curl_easy_setopt (curl, CURLOPT_COPYPOSTFIELDS, request.body.isEmpty() ? "" : static_cast<const char*> (request.body.getData()));
            }
            else
            {
                curl_easy_setopt (curl, CURLOPT_HTTPGET, 1L);
            }

            if (request.rangeFrom >= 0)
                curl_easy_setopt (curl, CURLOPT_RANGE, (juce::String (request.rangeFrom) + "-").toRawUTF8());

            // Following with a limit of 0 turns a redirect into the limit's error, as on Windows.
            curl_easy_setopt (curl, CURLOPT_FOLLOWLOCATION, 1L);
            curl_easy_setopt (curl, CURLOPT_MAXREDIRS, (long) juce::jmax (0, request.maxRedirects));

            if (request.connectTimeoutMs > 0)
                curl_easy_setopt (curl, CURLOPT_CONNECTTIMEOUT_MS, (long) request.connectTimeoutMs);

            if (request.readTimeoutMs > 0)
            {
                // Not one byte in that time: a stall, not a slow line.
                curl_easy_setopt (curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
                curl_easy_setopt (curl, CURLOPT_LOW_SPEED_TIME, wholeSecondsUp (request.readTimeoutMs));
            }

            curl_easy_setopt (curl, CURLOPT_OPENSOCKETFUNCTION, openSocket);
            curl_easy_setopt (curl, CURLOPT_OPENSOCKETDATA, &transfer);
            curl_easy_setopt (curl, CURLOPT_CLOSESOCKETFUNCTION, closeSocket);
            curl_easy_setopt (curl, CURLOPT_CLOSESOCKETDATA, &transfer);
            curl_easy_setopt (curl, CURLOPT_HEADERFUNCTION, receiveHeader);
            curl_easy_setopt (curl, CURLOPT_HEADERDATA, &transfer);
            curl_easy_setopt (curl, CURLOPT_WRITEFUNCTION, receiveBody);
            // 128 KB reads instead of libcurl's 16 KB: a fast download makes
            // an eighth of the system calls (the curl tool reads 100 KB).
            curl_easy_setopt (curl, CURLOPT_BUFFERSIZE, 524288L);
            curl_easy_setopt (curl, CURLOPT_WRITEDATA, &transfer);
            curl_easy_setopt (curl, CURLOPT_XFERINFOFUNCTION, checkStop);
            curl_easy_setopt (curl, CURLOPT_XFERINFODATA, &transfer);
            curl_easy_setopt (curl, CURLOPT_NOPROGRESS, 0L);
        }

        std::unique_ptr<curl_slist, ListDeleter> headerList (const Request& request)
        {
            curl_slist* list = nullptr;

            for (const auto& header : request.headers)
                if (header.trim().isNotEmpty())
                    list = curl_slist_append (list, header.toRawUTF8());

            // No "Expect: 100-continue" round trip before a larger POST body.
            list = curl_slist_append (list, "Expect:");
            return std::unique_ptr<curl_slist, ListDeleter> (list);
        }

        Failure failureFor (CURLcode code, long status)
        {
            switch (code)
            {
                case CURLE_OK:                  return Failure::none;
                case CURLE_TOO_MANY_REDIRECTS:  return Failure::tooManyRedirects;
                case CURLE_OPERATION_TIMEDOUT:  return Failure::timedOut;
                default:                        return status > 0 ? Failure::brokenOff : Failure::noAnswer;
            }
        }

        juce::String failureText (CURLcode code, const Request& request, const char* errorText)
        {
            if (code == CURLE_TOO_MANY_REDIRECTS)
                return "more than " + juce::String (request.maxRedirects) + " redirects";

            const juce::String detail (errorText);
            return detail.isNotEmpty() ? detail : juce::String (curl_easy_strerror (code));
        }
    }

    Result perform (const Request& request, const Receiver& receiver, HttpTransferStop* stop)
    {
        Result result;

        if (! curlReady())
        {
            result.error = "libcurl could not be initialised";
            return result;
        }

        std::unique_ptr<CURL, EasyDeleter> curl (curl_easy_init());

        if (curl == nullptr)
        {
            result.error = "libcurl could not start a transfer";
            return result;
        }

        Transfer transfer { receiver, request.acceptAnswer, stop, result };
        transfer.curl = curl.get();
        const auto headers = headerList (request);
        char errorText[CURL_ERROR_SIZE] = {};
        setOptions (curl.get(), request, headers.get(), transfer, errorText);

        const auto attached = stop != nullptr ? stop->attach ([&transfer] { transfer.breakOff(); }) : 0;

        if (stop != nullptr && attached == 0)
        {
            result.failure = Failure::stopped;
            result.error = "stopped";
            return result;
        }

        const auto code = curl_easy_perform (curl.get());

        if (stop != nullptr)
            stop->detach (attached);

        long status = 0;
        curl_easy_getinfo (curl.get(), CURLINFO_RESPONSE_CODE, &status);
        result.status = (int) status;
        result.contentLength = result.headers.containsKey ("Content-Length")
                                   ? result.headers["Content-Length"].getLargeIntValue() : -1;
        result.contentRange = result.headers["Content-Range"];

        // A stop that came after the last byte changes nothing.
        if (transfer.receiverStopped || (code != CURLE_OK && stop != nullptr && stop->isStopped()))
        {
            result.failure = Failure::stopped;
            result.error = "stopped";
        }
        else if (code != CURLE_OK)
        {
            result.failure = failureFor (code, status);
            result.error = failureText (code, request, errorText);
        }
        else
        {
            result.failure = status > 0 ? Failure::none : Failure::noAnswer;
        }

        rejectShortBody (result);
        return result;
    }
}
