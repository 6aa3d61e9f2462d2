#include "demoservice/DemoService.h"

#include "demoservice/ByteRange.h"
#include "demoservice/Manifest.h"
#include "demoservice/Sha256.h"
#include "demoservice/WebPages.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <map>
#include <mutex>
#include <thread>

#ifndef DEMO_SERVICE_DATA_DIR
 #define DEMO_SERVICE_DATA_DIR ""
#endif

namespace demoservice
{
namespace fs = std::filesystem;
using json = nlohmann::json;

std::filesystem::path defaultDataFolder()
{
    return fs::path (DEMO_SERVICE_DATA_DIR);
}

std::string RecordedRequest::header (const std::string& name) const
{
    for (const auto& [key, value] : headers)
        if (key.size() == name.size()
            && std::equal (key.begin(), key.end(), name.begin(), [] (char a, char b) { return std::tolower (static_cast<unsigned char> (a)) == std::tolower (static_cast<unsigned char> (b)); }))
            return value;

    return {};
}

bool RecordedRequest::hasHeader (const std::string& name) const
{
    for (const auto& entry : headers)
        if (entry.first.size() == name.size()
            && std::equal (entry.first.begin(), entry.first.end(), name.begin(), [] (char a, char b) { return std::tolower (static_cast<unsigned char> (a)) == std::tolower (static_cast<unsigned char> (b)); }))
            return true;

    return false;
}

namespace
{
    constexpr std::size_t chunkSize = 1024 * 1024;   // fewer, larger writes: the loopback copy dominates
    const char* const jsonType = "application/json; charset=utf-8";
    const char* const htmlType = "text/html; charset=utf-8";

    std::string lower (std::string text)
    {
        std::transform (text.begin(), text.end(), text.begin(), [] (unsigned char c) { return static_cast<char> (std::tolower (c)); });
        return text;
    }

    std::string replaceAll (std::string text, const std::string& what, const std::string& with)
    {
        for (auto at = text.find (what); at != std::string::npos; at = text.find (what, at + with.size()))
            text.replace (at, what.size(), with);
        return text;
    }

    std::string contentTypeFor (const fs::path& file)
    {
        const auto ext = lower (file.extension().string());
        if (ext == ".zip")  return "application/zip";
        if (ext == ".pdf")  return "application/pdf";
        if (ext == ".png")  return "image/png";
        if (ext == ".json") return jsonType;
        if (ext == ".html") return htmlType;
        return "application/octet-stream";
    }

    /** A plain file name: no folders, nothing hidden. */
    bool isPlainFileName (const std::string& name)
    {
        return ! name.empty() && name.front() != '.' && name.find ('/') == std::string::npos
            && name.find ('\\') == std::string::npos && name.find ('\0') == std::string::npos;
    }

    struct OpenFile
    {
        explicit OpenFile (const fs::path& path) : fd (::open (path.c_str(), O_RDONLY | O_CLOEXEC)) {}
        ~OpenFile() { if (fd >= 0) ::close (fd); }
        OpenFile (const OpenFile&) = delete;
        OpenFile& operator= (const OpenFile&) = delete;

        int fd;
    };

    /** A response body: bytes in memory or a region of an open file. */
    struct BodySource
    {
        std::shared_ptr<const std::string> bytes;
        std::shared_ptr<OpenFile> file;
        std::uint64_t first = 0;
        std::uint64_t length = 0;
    };

    /** Feeds one body to httplib chunk by chunk, applying the stall and drop
        faults that were set when the request arrived. */
    struct Transfer
    {
        BodySource source;
        Faults::BodyFaults bodyFaults;
        const Faults& faults;
        std::uint64_t faultGeneration;
        const std::atomic<bool>& stopping;
        bool stalled = false;
        std::vector<char> buffer;

        Transfer (BodySource s, Faults::BodyFaults f, const Faults& allFaults, const std::atomic<bool>& stop)
            : source (std::move (s)), bodyFaults (f), faults (allFaults),
              faultGeneration (allFaults.generation()), stopping (stop) {}

        bool pump (std::size_t offset, std::size_t length, httplib::DataSink& sink)
        {
            if (stopping)
                return false;

            if (bodyFaults.dropAt && offset >= *bodyFaults.dropAt)
                return false;   // httplib closes the connection short of the announced length

            if (bodyFaults.stallAt && ! stalled && offset >= *bodyFaults.stallAt)
            {
                stalled = true;
                stall();
                if (stopping)
                    return false;
            }

            std::uint64_t count = std::min<std::uint64_t> (length, chunkSize);
            if (bodyFaults.dropAt && offset < *bodyFaults.dropAt)
                count = std::min<std::uint64_t> (count, *bodyFaults.dropAt - offset);
            if (bodyFaults.stallAt && ! stalled && offset < *bodyFaults.stallAt)
                count = std::min<std::uint64_t> (count, *bodyFaults.stallAt - offset);

            if (source.bytes)
                return sink.write (source.bytes->data() + source.first + offset, static_cast<std::size_t> (count));

            buffer.resize (static_cast<std::size_t> (count));
            std::size_t done = 0;
            while (done < count)
            {
                const auto got = ::pread (source.file->fd, buffer.data() + done, count - done,
                                          static_cast<off_t> (source.first + offset + done));
                if (got < 0 && errno == EINTR)
                    continue;
                if (got <= 0)
                    return false;
                done += static_cast<std::size_t> (got);
            }

            return sink.write (buffer.data(), done);
        }

        void stall()
        {
            const auto start = std::chrono::steady_clock::now();
            const auto limit = bodyFaults.stallFor;

            while (! stopping && faults.generation() == faultGeneration
                   && (limit < std::chrono::milliseconds (0) || std::chrono::steady_clock::now() - start < limit))
                std::this_thread::sleep_for (std::chrono::milliseconds (10));
        }
    };
}

struct DemoService::Impl
{
    explicit Impl (fs::path folder)
        : dataFolder (std::move (folder))
    {
        manifest = loadManifest (dataFolder / "catalogue.json", manifestError);
        accounts = std::make_unique<Accounts> (manifest ? manifest->staffDomain : "vamrelund.com");

        if (manifest)
            for (const auto& account : manifest->accounts)
                accounts->add (account.email, account.password);
    }

    // ---- set once
    const fs::path dataFolder;
    std::optional<Manifest> manifest;
    std::string manifestError;
    std::unique_ptr<Accounts> accounts;
    Faults faults;

    // ---- guarded by lock
    mutable std::mutex lock;
    std::vector<RecordedRequest> recorded;
    std::function<void (const RecordedRequest&)> requestCallback;
    std::map<std::string, ProductBuild> offered;
    std::vector<fs::path> extraFolders;
    std::string error;
    DemoService::ControlHandler controlHandler;

    // ---- guarded by digestLock
    mutable std::mutex digestLock;
    mutable std::map<fs::path, std::string> digests;

    // ---- server, guarded by lifecycle
    std::mutex lifecycle;
    std::unique_ptr<httplib::Server> server;
    std::thread serverThread;
    std::atomic<int> boundPort { 0 };
    std::atomic<bool> stopping { false };

    std::string origin() const
    {
        return "http://127.0.0.1:" + std::to_string (boundPort.load());
    }

    void setError (const std::string& text)
    {
        const std::lock_guard<std::mutex> guard (lock);
        error = text;
    }

    // ------------------------------------------------------------------ catalogue

    ProductBuild offeredBuild (const ManifestProduct& product) const
    {
        const std::lock_guard<std::mutex> guard (lock);
        const auto it = offered.find (product.name);
        return it != offered.end() ? it->second : product.builds.front();
    }

    bool visibleTo (const ManifestProduct& product, const std::string& email) const
    {
        return ! product.staffOnly || accounts->isStaff (email);
    }

    fs::path archivePath (const ManifestProduct& product, const ProductBuild& build) const
    {
        return dataFolder / "archives" / product.archiveFileName (build);
    }

    /** The archive's SHA-256, computed once per file. */
    std::string archiveDigest (const fs::path& archive) const
    {
        const std::lock_guard<std::mutex> guard (digestLock);
        auto& digest = digests[archive];

        if (digest.empty())
            digest = sha256HexOfFile (archive);

        return digest;
    }

    json catalogueFor (const std::string& email) const
    {
        auto list = json::array();
        const auto base = origin();

        for (const auto& product : manifest->products)
        {
            if (! visibleTo (product, email))
                continue;

            auto entry = product.members;
            const auto build = offeredBuild (product);
            const bool buildIsNumber = entry.contains ("build") && entry["build"].is_number();

            entry["version"] = build.version;
            entry["build"] = buildIsNumber ? json (std::stoll (build.build)) : json (build.build);

            std::error_code ec;
            const auto size = fs::file_size (archivePath (product, build), ec);
            entry["filesize"] = ec ? 0 : static_cast<std::int64_t> (size);
            const auto digest = archiveDigest (archivePath (product, build));
            entry["sha256"] = product.wrongSha256 ? mismatchedHex (digest) : digest;
            entry["icon"] = product.pictures ? base + "/files/pictures/" + product.iconFileName() : std::string();
            entry["ui_image"] = product.pictures ? base + "/files/pictures/" + product.pictureFileName() : std::string();
            entry["product_page_url"] = base + "/products/" + product.name;
            list.push_back (std::move (entry));
        }

        return list;
    }

    // ------------------------------------------------------------------ answers

    void sendBody (const httplib::Request& req, httplib::Response& res, int status,
                   const std::string& contentType, std::string body)
    {
        res.status = status;

        if (body.empty())
        {
            // httplib announces no length for an empty provider; a plain empty body gets "Content-Length: 0".
            res.set_content (std::string(), "application/octet-stream");
            return;
        }

        BodySource source;
        source.length = body.size();
        source.bytes = std::make_shared<const std::string> (std::move (body));
        provide (req, res, std::move (source), contentType);
    }

    void sendJson (const httplib::Request& req, httplib::Response& res, int status, const json& value)
    {
        sendBody (req, res, status, jsonType, value.dump());
    }

    void sendError (const httplib::Request& req, httplib::Response& res, int status, const std::string& message)
    {
        sendJson (req, res, status, json { { "error", message } });
    }

    void sendPage (const httplib::Request& req, httplib::Response& res, int status, std::string html)
    {
        sendBody (req, res, status, htmlType, std::move (html));
    }

    void provide (const httplib::Request& req, httplib::Response& res, BodySource source, const std::string& contentType)
    {
        auto transfer = std::make_shared<Transfer> (std::move (source), faults.takeBodyFaults (req.path), faults, stopping);
        res.set_content_provider (static_cast<std::size_t> (transfer->source.length), contentType,
                                  [transfer] (std::size_t offset, std::size_t length, httplib::DataSink& sink)
                                  {
                                      return transfer->pump (offset, length, sink);
                                  });
    }

    void sendFile (const httplib::Request& req, httplib::Response& res, const fs::path& file)
    {
        std::error_code ec;
        const auto size = fs::file_size (file, ec);
        auto open = std::make_shared<OpenFile> (file);

        if (ec || ! fs::is_regular_file (file) || open->fd < 0)
        {
            sendPage (req, res, 404, webpages::notFound());
            return;
        }

        res.set_header ("Accept-Ranges", "bytes");

        ByteRangeAnswer range;
        if (req.has_header ("Range") && ! faults.ignoresRange())
            range = answerRange (req.get_header_value ("Range"), size);

        BodySource source;
        source.file = std::move (open);

        switch (range.kind)
        {
            case ByteRangeAnswer::Kind::whole:
                res.status = 200;
                source.length = size;
                break;

            case ByteRangeAnswer::Kind::partial:
                res.status = 206;
                res.set_header ("Content-Range", range.contentRange (size));
                source.first = range.first;
                source.length = range.length;
                break;

            case ByteRangeAnswer::Kind::unsatisfiable:
                res.set_header ("Content-Range", range.contentRange (size));
                sendBody (req, res, 416, "application/octet-stream", {});
                return;
        }

        if (source.length == 0)
        {
            sendBody (req, res, res.status, contentTypeFor (file), {});
            return;
        }

        provide (req, res, std::move (source), contentTypeFor (file));
    }

    // ------------------------------------------------------------------ requests

    std::optional<std::string> signedInEmail (const httplib::Request& req) const
    {
        const auto value = req.get_header_value ("Authorization");
        const std::string scheme = "bearer ";

        if (value.size() <= scheme.size() || lower (value.substr (0, scheme.size())) != scheme)
            return std::nullopt;

        auto token = value.substr (scheme.size());
        token.erase (0, token.find_first_not_of (" \t"));
        token.erase (token.find_last_not_of (" \t") + 1);
        return accounts->emailForToken (token);
    }

    static std::optional<json> jsonObjectBody (const httplib::Request& req)
    {
        auto body = json::parse (req.body, nullptr, false);
        if (body.is_discarded() || ! body.is_object())
            return std::nullopt;
        return body;
    }

    static std::string stringMember (const json& object, const char* key)
    {
        const auto it = object.find (key);
        return it != object.end() && it->is_string() ? it->get<std::string>() : std::string();
    }

    void waitFor (std::chrono::milliseconds delay) const
    {
        const auto until = std::chrono::steady_clock::now() + delay;
        while (! stopping && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for (std::chrono::milliseconds (5));
    }

    RecordedRequest describe (const httplib::Request& req) const
    {
        RecordedRequest record;
        record.method = req.method;
        record.path = req.path;
        record.target = req.target;
        record.body = req.body;

        for (const auto& [key, value] : req.headers)
            if (key != "REMOTE_ADDR" && key != "REMOTE_PORT" && key != "LOCAL_ADDR" && key != "LOCAL_PORT")
                record.headers.emplace_back (key, value);

        return record;
    }

    using Handler = std::function<void (const httplib::Request&, httplib::Response&)>;

    /** Every route goes through here: the request is recorded, latency and
        forced answers are applied, and httplib's own Range handling is turned
        off, because files answer ranges themselves (and may be told to ignore them). */
    Handler wrap (Handler inner)
    {
        return [this, inner] (const httplib::Request& req, httplib::Response& res)
        {
            auto record = describe (req);
            const_cast<httplib::Request&> (req).ranges.clear();

            waitFor (faults.latencyFor (req.path));

            if (auto forced = faults.takeForcedAnswer (req.path))
                sendBody (req, res, forced->status, forced->contentType, replaceAll (forced->body, "{origin}", origin()));
            else
                inner (req, res);

            record.status = res.status;

            std::function<void (const RecordedRequest&)> callback;
            {
                const std::lock_guard<std::mutex> guard (lock);
                recorded.push_back (record);
                callback = requestCallback;
            }

            if (callback)
                callback (record);
        };
    }

    // ---- API

    void signIn (const httplib::Request& req, httplib::Response& res, bool withCode)
    {
        const auto body = jsonObjectBody (req);
        if (! body)
            return sendError (req, res, 400, "the body is not a JSON object");

        const auto email = stringMember (*body, "email");
        const auto secret = stringMember (*body, withCode ? "code" : "password");
        const auto token = withCode ? accounts->exchangeCode (email, secret) : accounts->signIn (email, secret);

        if (! token)
            return sendError (req, res, 401, withCode ? "invalid or expired code" : "invalid credentials");

        sendJson (req, res, 200, json { { "token", *token } });
    }

    void productList (const httplib::Request& req, httplib::Response& res)
    {
        const auto email = signedInEmail (req);
        if (! email)
            return sendError (req, res, 401, "unauthorized");

        sendJson (req, res, 200, catalogueFor (*email));
    }

    void pluginResourceUrl (const httplib::Request& req, httplib::Response& res)
    {
        const auto email = signedInEmail (req);
        if (! email)
            return sendError (req, res, 401, "unauthorized");

        const auto body = jsonObjectBody (req);
        if (! body)
            return sendError (req, res, 400, "the body is not a JSON object");

        const auto name = stringMember (*body, "name");
        const auto version = stringMember (*body, "version");
        const auto platform = stringMember (*body, "platform");
        const auto build = body->contains ("build") ? jsonText ((*body)["build"]) : std::string();

        if (platform != "Windows" && platform != "macOS" && platform != "macOS/Windows")
            return sendError (req, res, 400, "unknown platform");

        const ManifestProduct* found = nullptr;
        ProductBuild foundBuild;

        // An exact build first, then any build of that version.
        for (int pass = 0; pass < 2 && found == nullptr; ++pass)
            for (const auto& product : manifest->products)
                if (found == nullptr && product.requestName == name && visibleTo (product, *email))
                    for (const auto& candidate : product.builds)
                        if (candidate.version == version && (pass == 1 || candidate.build == build))
                        {
                            found = &product;
                            foundBuild = candidate;
                            break;
                        }

        if (found == nullptr || ! fs::exists (archivePath (*found, foundBuild)))
            return sendError (req, res, 404, "no such product or version");

        sendJson (req, res, 200, json { { "url", origin() + "/files/archives/" + found->archiveFileName (foundBuild) } });
    }

    void manualResourceUrl (const httplib::Request& req, httplib::Response& res)
    {
        const auto email = signedInEmail (req);
        if (! email)
            return sendError (req, res, 401, "unauthorized");

        const auto body = jsonObjectBody (req);
        if (! body)
            return sendError (req, res, 400, "the body is not a JSON object");

        const auto* product = manifest->findByName (stringMember (*body, "name"));
        if (product == nullptr || ! visibleTo (*product, *email) || ! product->hasManual
            || ! fs::exists (dataFolder / "manuals" / product->manualFileName()))
            return sendError (req, res, 404, "no manual");

        sendJson (req, res, 200, json { { "url", origin() + "/files/manuals/" + product->manualFileName() } });
    }

    void latestApplication (const httplib::Request& req, httplib::Response& res)
    {
        if (! signedInEmail (req))
            return sendError (req, res, 401, "unauthorized");

        sendJson (req, res, 200, json { { "url", origin() + "/files/app/app.zip" },
                                        { "version", manifest->app.version },
                                        { "build", manifest->app.build } });
    }

    // ---- web pages

    void signInPage (const httplib::Request& req, httplib::Response& res)
    {
        if (req.method == "GET")
            return sendPage (req, res, 200, webpages::signInForm (req.get_param_value ("email"), {}));

        auto fields = webpages::formFields (req.body);
        const auto email = fields["email"];

        if (! accounts->checkPassword (email, fields["password"]))
            return sendPage (req, res, 401, webpages::signInForm (email, "The e-mail address or the password is wrong."));

        const auto link = webpages::signInLink (email, accounts->issueSignInCode (email));
        res.set_header ("Location", link);
        sendPage (req, res, 302, webpages::signInDone (link));
    }

    void signUpPage (const httplib::Request& req, httplib::Response& res)
    {
        if (req.method == "GET")
            return sendPage (req, res, 200, webpages::signUpForm ({}));

        auto fields = webpages::formFields (req.body);
        const auto email = fields["email"];

        if (accounts->exists (email))
            return sendPage (req, res, 409, webpages::signUpForm ("There is already an account for this address."));

        if (email.find ('@') == std::string::npos || email.find ('.') == std::string::npos
            || ! accounts->add (email, fields["password"]))
            return sendPage (req, res, 400, webpages::signUpForm ("Give an e-mail address and a password of at least 4 characters."));

        sendPage (req, res, 200, webpages::signUpDone (email));
    }

    void forgotPasswordPage (const httplib::Request& req, httplib::Response& res)
    {
        if (req.method == "GET")
            return sendPage (req, res, 200, webpages::forgotPasswordForm());

        sendPage (req, res, 200, webpages::forgotPasswordSent (webpages::formFields (req.body)["email"]));
    }

    void productPage (const httplib::Request& req, httplib::Response& res)
    {
        const auto* product = manifest->findByName (req.matches[1]);
        if (product == nullptr)
            return sendPage (req, res, 404, webpages::notFound());

        sendPage (req, res, 200, webpages::product (product->title, jsonText (product->members.value ("subtitle", json())),
                                                    jsonText (product->members.value ("release_notes", json()))));
    }

    void generatedFile (const httplib::Request& req, httplib::Response& res)
    {
        const std::string folder = req.matches[1];
        const std::string name = req.matches[2];

        if (! isPlainFileName (name))
            return sendPage (req, res, 404, webpages::notFound());

        sendFile (req, res, dataFolder / folder / name);
    }

    void extraFile (const httplib::Request& req, httplib::Response& res)
    {
        const std::string name = req.matches[1];
        std::vector<fs::path> folders;
        {
            const std::lock_guard<std::mutex> guard (lock);
            folders = extraFolders;
        }

        if (isPlainFileName (name))
            for (const auto& folder : folders)
                if (fs::is_regular_file (folder / name))
                    return sendFile (req, res, folder / name);

        sendPage (req, res, 404, webpages::notFound());
    }

    /** "/redirect/N" sends the client on to "/redirect/N-1"; "/redirect/0"
        ends the chain with a small JSON body. For redirect limits. */
    void redirectChain (const httplib::Request& req, httplib::Response& res)
    {
        const std::string steps = req.matches[1];

        if (steps.size() > 4)
            return sendError (req, res, 400, "too many steps");

        const auto remaining = std::stoi (steps);

        if (remaining == 0)
            return sendJson (req, res, 200, json { { "redirects", "done" } });

        res.set_header ("Location", "/redirect/" + std::to_string (remaining - 1));
        sendJson (req, res, 302, json { { "next", remaining - 1 } });
    }

    void notFound (const httplib::Request& req, httplib::Response& res)
    {
        if (req.path.compare (0, 5, "/api/") == 0)
            sendError (req, res, 404, "not found");
        else
            sendPage (req, res, 404, webpages::notFound());
    }

    void installRoutes (httplib::Server& s)
    {
        using R = const httplib::Request&;
        using A = httplib::Response&;

        // First, so that no catch-all below takes them; not wrapped, so
        // faults never touch them and they stay out of the recorded traffic.
        DemoService::ControlHandler handler;
        {
            const std::lock_guard<std::mutex> guard (lock);
            handler = controlHandler;
        }

        if (handler)
        {
            const auto control = [handler] (R q, A a)
            {
                auto answer = handler (q.method, q.path, q.body);
                a.status = answer.status;
                a.set_content (answer.body, answer.contentType);
            };
            const auto pattern = std::string (DemoService::controlPrefix) + ".*";
            s.Get (pattern, control);
            s.Post (pattern, control);
        }

        s.Post ("/api/vds/auth",                    wrap ([this] (R q, A a) { signIn (q, a, false); }));
        s.Post ("/api/vds/sso_auth",                wrap ([this] (R q, A a) { signIn (q, a, true); }));
        s.Get  ("/api/vds/resources/(windows|macos)", wrap ([this] (R q, A a) { productList (q, a); }));
        s.Post ("/api/vds/getPluginResourceURL",    wrap ([this] (R q, A a) { pluginResourceUrl (q, a); }));
        s.Post ("/api/vds/getManualResourceURL",    wrap ([this] (R q, A a) { manualResourceUrl (q, a); }));
        s.Get  ("/api/vds/getLatestInternalVDS",    wrap ([this] (R q, A a) { latestApplication (q, a); }));

        s.Get  ("/files/(archives|manuals|pictures|app)/([^/]+)", wrap ([this] (R q, A a) { generatedFile (q, a); }));
        s.Get  ("/extra/([^/]+)",                   wrap ([this] (R q, A a) { extraFile (q, a); }));

        s.Get  ("/",                                wrap ([this] (R q, A a) { sendPage (q, a, 200, webpages::home()); }));
        s.Get  ("/sso",                             wrap ([this] (R q, A a) { signInPage (q, a); }));
        s.Post ("/sso",                             wrap ([this] (R q, A a) { signInPage (q, a); }));
        s.Get  ("/sign-up",                         wrap ([this] (R q, A a) { signUpPage (q, a); }));
        s.Post ("/sign-up",                         wrap ([this] (R q, A a) { signUpPage (q, a); }));
        s.Get  ("/forgot-password",                 wrap ([this] (R q, A a) { forgotPasswordPage (q, a); }));
        s.Post ("/forgot-password",                 wrap ([this] (R q, A a) { forgotPasswordPage (q, a); }));
        s.Get  ("/terms",                           wrap ([this] (R q, A a) { sendPage (q, a, 200, webpages::terms()); }));
        s.Get  ("/products/([^/]+)",                wrap ([this] (R q, A a) { productPage (q, a); }));
        s.Get  ("/redirect/([0-9]+)",               wrap ([this] (R q, A a) { redirectChain (q, a); }));

        // Everything else is recorded too, and answered 404.
        s.Get    (".*", wrap ([this] (R q, A a) { notFound (q, a); }));
        s.Post   (".*", wrap ([this] (R q, A a) { notFound (q, a); }));
        s.Put    (".*", wrap ([this] (R q, A a) { notFound (q, a); }));
        s.Delete (".*", wrap ([this] (R q, A a) { notFound (q, a); }));
        s.Patch  (".*", wrap ([this] (R q, A a) { notFound (q, a); }));
    }
};

// ---------------------------------------------------------------------------

DemoService::DemoService (std::filesystem::path folder)
    : impl (std::make_unique<Impl> (std::move (folder)))
{
}

DemoService::~DemoService()
{
    stop();
}

bool DemoService::start (int port)
{
    const std::lock_guard<std::mutex> guard (impl->lifecycle);

    if (impl->server)
    {
        impl->setError ("already running");
        return false;
    }

    if (! impl->manifest)
    {
        impl->setError (impl->manifestError);
        return false;
    }

    auto server = std::make_unique<httplib::Server>();

    // Stalled downloads hold a worker each; leave room for the client's other requests.
    server->new_task_queue = [] { return new httplib::ThreadPool (32); };
    server->set_keep_alive_timeout (2);
    server->set_read_timeout (10);
    server->set_write_timeout (60);
    server->set_tcp_nodelay (true);

    // SO_REUSEADDR only: httplib's default SO_REUSEPORT would let two services share a port.
    server->set_socket_options ([] (int sock)
    {
        int yes = 1;
        ::setsockopt (sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof (yes));
    });

    impl->installRoutes (*server);

    const int bound = port == 0 ? server->bind_to_any_port ("127.0.0.1")
                                : (server->bind_to_port ("127.0.0.1", port) ? port : -1);
    if (bound <= 0)
    {
        impl->setError ("cannot listen on 127.0.0.1:" + std::to_string (port));
        return false;
    }

    impl->stopping = false;
    impl->boundPort = bound;
    impl->server = std::move (server);
    impl->serverThread = std::thread ([s = impl->server.get()] { s->listen_after_bind(); });

    // stop() only works once the accept loop runs.
    for (int i = 0; i < 5000 && ! impl->server->is_running(); ++i)
        std::this_thread::sleep_for (std::chrono::milliseconds (1));

    return true;
}

void DemoService::stop()
{
    const std::lock_guard<std::mutex> guard (impl->lifecycle);

    if (! impl->server)
        return;

    impl->stopping = true;
    impl->server->stop();

    if (impl->serverThread.joinable())
        impl->serverThread.join();

    impl->server.reset();
    impl->boundPort = 0;
}

bool DemoService::isRunning() const        { return impl->boundPort.load() != 0; }
int DemoService::port() const              { return impl->boundPort.load(); }
std::string DemoService::origin() const    { return impl->origin(); }
std::string DemoService::apiBase() const   { return impl->origin() + "/api"; }

std::string DemoService::lastError() const
{
    const std::lock_guard<std::mutex> guard (impl->lock);
    return impl->error;
}

std::vector<RecordedRequest> DemoService::requests() const
{
    const std::lock_guard<std::mutex> guard (impl->lock);
    return impl->recorded;
}

std::vector<RecordedRequest> DemoService::requestsTo (const std::string& path) const
{
    const std::lock_guard<std::mutex> guard (impl->lock);
    std::vector<RecordedRequest> out;
    std::copy_if (impl->recorded.begin(), impl->recorded.end(), std::back_inserter (out),
                  [&path] (const RecordedRequest& r) { return r.path == path; });
    return out;
}

void DemoService::clearRequests()
{
    const std::lock_guard<std::mutex> guard (impl->lock);
    impl->recorded.clear();
}

void DemoService::onRequest (std::function<void (const RecordedRequest&)> callback)
{
    const std::lock_guard<std::mutex> guard (impl->lock);
    impl->requestCallback = std::move (callback);
}

Faults& DemoService::faults()      { return impl->faults; }
Accounts& DemoService::accounts()  { return *impl->accounts; }

DemoService::Credentials DemoService::demoAccount() const
{
    if (impl->manifest)
        for (const auto& account : impl->manifest->accounts)
            if (! impl->accounts->isStaff (account.email))
                return { account.email, account.password };

    return {};
}

DemoService::Credentials DemoService::staffAccount() const
{
    if (impl->manifest)
        for (const auto& account : impl->manifest->accounts)
            if (impl->accounts->isStaff (account.email))
                return { account.email, account.password };

    return {};
}

bool DemoService::offerBuild (const std::string& productName, const std::string& version, const std::string& build)
{
    const auto* product = impl->manifest ? impl->manifest->findByName (productName) : nullptr;
    if (product == nullptr)
        return false;

    for (const auto& candidate : product->builds)
    {
        if (candidate.version == version && candidate.build == build)
        {
            const std::lock_guard<std::mutex> guard (impl->lock);
            impl->offered[productName] = candidate;
            return true;
        }
    }

    return false;
}

std::vector<std::string> DemoService::contentsOf (const std::string& productName) const
{
    const auto* product = impl->manifest ? impl->manifest->findByName (productName) : nullptr;
    return product != nullptr ? product->contents : std::vector<std::string>();
}

std::string DemoService::catalogueJson (const std::string& email) const
{
    return impl->manifest ? impl->catalogueFor (email).dump() : std::string ("[]");
}

std::filesystem::path DemoService::dataFolder() const { return impl->dataFolder; }

std::filesystem::path DemoService::archiveFile (const std::string& productName) const
{
    const auto* product = impl->manifest ? impl->manifest->findByName (productName) : nullptr;
    return product != nullptr ? impl->archivePath (*product, impl->offeredBuild (*product)) : fs::path();
}

std::filesystem::path DemoService::manualFile (const std::string& productName) const
{
    const auto* product = impl->manifest ? impl->manifest->findByName (productName) : nullptr;
    return product != nullptr && product->hasManual ? impl->dataFolder / "manuals" / product->manualFileName() : fs::path();
}

std::filesystem::path DemoService::appArchiveFile() const   { return impl->dataFolder / "app" / "app.zip"; }
std::string DemoService::appVersion() const                { return impl->manifest ? impl->manifest->app.version : std::string(); }
std::string DemoService::appBuild() const                  { return impl->manifest ? impl->manifest->app.build : std::string(); }

void DemoService::serveExtraFolder (const std::filesystem::path& folder)
{
    const std::lock_guard<std::mutex> guard (impl->lock);
    impl->extraFolders.push_back (folder);
}

void DemoService::setControlHandler (ControlHandler handler)
{
    const std::lock_guard<std::mutex> guard (impl->lock);
    impl->controlHandler = std::move (handler);
}

void DemoService::reset()
{
    impl->faults.clear();

    {
        const std::lock_guard<std::mutex> guard (impl->lock);
        impl->recorded.clear();
        impl->offered.clear();
        impl->extraFolders.clear();
    }

    impl->accounts->revokeAllTokens();
    impl->accounts->setCodeLifetime (std::chrono::seconds (600));

    if (impl->manifest)
        for (const auto& account : impl->manifest->accounts)
            impl->accounts->add (account.email, account.password);
}
}
